#include "smoke/PhaseMachine.h"

#include <cstddef>

#include "shell/LimitRule.h"

namespace vs::smoke {

namespace {

constexpr std::int32_t kHoldAtFullSpeed = 120;  // ticks of 25 ms: 3 s
constexpr std::int32_t kHoldAtIdle = 200;       // 5 s

const std::string& Text(const SeriesSettings& s, std::size_t index) { return s.texts[index]; }

bool Expired(std::int32_t deadline, std::int32_t tick) { return tick > deadline; }

// The warm-up text may replace the link's own status display.
bool WarmUpTextShown(const ValueReply& reply) {
  if (reply.protocol == Protocol::MctcNet) return reply.mcnStatus != 1;
  if (reply.modelIndex == 0) return reply.status0 != 0;
  if (reply.modelIndex >= 1 && reply.modelIndex <= 4) {
    return reply.status1 >= 64 && reply.status1 <= 127;
  }
  return false;
}

void ShowCold(const ValueReply& reply, const SeriesSettings& s, ReplyOutcome& out) {
  if (WarmUpTextShown(reply)) out.label39.Show(Text(s, lang::ANFUMOAttRisc), colour::kWhite);
  out.label24Back = colour::kCold;
}

// Mode 3: the ticks each phase lasts, set on entering it. Entering UNO again from QUATTRO
// always gives 50.
struct TimedDeadlines {
  std::int32_t intoAvvio, intoUno, intoDue, intoTre, intoQuattro;
};
TimedDeadlines DeadlinesOf(Protocol protocol) {
  if (protocol == Protocol::MctcNet) return {250, 50, kHoldAtFullSpeed, 50, 200};
  return {200, 54, kHoldAtFullSpeed, 50, 120};
}

}  // namespace

std::optional<std::string> PhaseMachine::FirstPhase(std::int16_t testMode) {
  switch (testMode) {
    case 0:
      return "CONTINUA";
    case 1:
    case 2:
    case 3:
    case 6:
      return "AVVIOALTO";
    case 4:
    case 5:
      return "DUE";
    default:
      return std::nullopt;
  }
}

void PhaseMachine::Start(std::int16_t testMode) {
  StartSeries(table_);
  if (auto first = FirstPhase(testMode)) f_.TestPhase = *first;
}

ReplyOutcome PhaseMachine::OnValueReply(const ValueReply& reply, const RowCells& cells,
                                        const SeriesSettings& settings,
                                        std::int16_t& exclamPending) {
  ReplyOutcome out;
  if (table_.AccIndex < kSeriesClosed && !reply.valuesInvalid) Step(reply, cells, settings, out);
  if (table_.AccIndex >= kSeriesClosed) {
    f_.TestPhase = " ";
    out.label39.Show(Text(settings, lang::ANFUMOConcl), colour::kComplete);
    if (reply.protocol == Protocol::MctcNet && exclamPending != 0) {
      exclamPending = 0;
      out.closingBox = ReplyOutcome::ClosingBox{Text(settings, lang::ANFUMOExclStamp1),
                                                Text(settings, lang::ANFUMOExclStamp4)};
    }
  }
  return out;
}

void PhaseMachine::Step(const ValueReply& reply, const RowCells& cells,
                        const SeriesSettings& settings, ReplyOutcome& out) {
  const bool warm = IsWarm(reply.cellTemp);
  switch (reply.testMode) {
    case 0:
      if (reply.protocol == Protocol::MctcNet) return;
      out.label39.backColor = colour::kWhite;
      out.label24Back = warm ? colour::kWhite : colour::kCold;
      out.label39.caption = Text(settings, warm ? lang::ANFUMOFase : lang::ANFUMOAttRisc);
      return;
    case 1:
    case 2:
      StepByLimit(reply, cells, settings, out);
      return;
    case 3:
      StepTimed(reply, cells, settings, out);
      return;
    case 4:
    case 5:
      out.label24Back = warm ? colour::kWhite : colour::kCold;
      if (reply.protocol == Protocol::MctcNet) {
        out.label39.Show(Text(settings, warm ? lang::ANFUMOFase : lang::ANFUMOAttRisc),
                         colour::kWhite);
      } else if (!warm) {
        out.label39.Show(Text(settings, lang::ANFUMOAttRisc), colour::kWhite);
      }
      return;
    case 6:
      if (reply.protocol != Protocol::MctcNet) return;
      {
        ChartOutcome chart = ChartRunStep(f_, chart_, reply, settings);
        out.label39 = chart.label39;
        out.label24Back = chart.label24Back;
        out.showChart = std::move(chart.showChart);
      }
      return;
    default:
      return;
  }
}

// Modes 1 and 2: the phases follow the engine speed (mode 1) or k (mode 2) across the limits.
void PhaseMachine::StepByLimit(const ValueReply& reply, const RowCells& cells,
                               const SeriesSettings& s, ReplyOutcome& out) {
  const bool bySpeed = reply.testMode == 1;
  // Mode 1 watches the engine speed between its two limits, mode 2 k about its threshold.
  const double value = bySpeed ? static_cast<float>(reply.rpm) : reply.k;
  const double low = bySpeed ? s.rpmMin : s.opacityThreshold;
  const double high = bySpeed ? s.rpmMax : s.opacityThreshold;
  const bool aboveLow = Above(value, low);
  const bool belowLow = Below(value, low);
  const bool aboveHigh = Above(value, high);
  const bool warm = IsWarm(reply.cellTemp);
  const std::int32_t t = reply.tick;
  std::string& phase = f_.TestPhase;

  if (phase == "AVVIOALTO") {
    if (aboveLow) {
      out.label39.Show(Text(s, lang::ANFUMODec), colour::kRelease);
    } else if (!warm) {
      ShowCold(reply, s, out);
    } else if (reply.protocol == Protocol::Binary || StartGateOpen(reply)) {
      out.label39.Show(Text(s, lang::ANFUMOAcc), colour::kAccelerate);
      out.label24Back = colour::kWhite;
      phase = bySpeed ? "AVVIO" : "UNO";
    }
  }
  if (bySpeed && phase == "AVVIO" && aboveLow) phase = "UNO";
  if (phase == "UNO") {
    if (!warm) {
      ShowCold(reply, s, out);
    } else {
      out.label24Back = colour::kWhite;
      if (aboveHigh) {
        out.label39.Show(Text(s, lang::ANFUMOManMax), colour::kHoldMax);
        f_.MaxHoldDeadline = t + kHoldAtFullSpeed;
        phase = "DUE";
      }
    }
  }
  if (phase == "DUE" && Expired(f_.MaxHoldDeadline, t)) {
    out.label39.Show(Text(s, lang::ANFUMODec), colour::kRelease);
    phase = "TRE";
    Capture(reply, cells, s, out);
  }
  if (phase == "TRE" && belowLow) {
    out.label39.Show(Text(s, lang::ANFUMOManMin), colour::kHoldIdle);
    f_.PhaseDeadline = t + kHoldAtIdle;
    phase = "QUATTRO";
  }
  if (phase == "QUATTRO") {
    if (aboveLow) {
      out.label39.Show(Text(s, lang::ANFUMODec), colour::kRelease);
      phase = "TRE";
    } else if (Expired(f_.PhaseDeadline, t)) {
      out.label39.Show(Text(s, lang::ANFUMOAcc), colour::kAccelerate);
      phase = "UNO";
    }
  }
}

// Mode 3: a purely timed cycle.
void PhaseMachine::StepTimed(const ValueReply& reply, const RowCells& cells,
                             const SeriesSettings& s, ReplyOutcome& out) {
  const TimedDeadlines d = DeadlinesOf(reply.protocol);
  const bool warm = IsWarm(reply.cellTemp);
  const std::int32_t t = reply.tick;
  std::string& phase = f_.TestPhase;
  std::int32_t& deadline = f_.PhaseDeadline;

  if (phase == "AVVIOALTO") {
    if (!warm) {
      ShowCold(reply, s, out);
    } else {
      out.label39.Show(Text(s, lang::ANFUMOManMin), colour::kHoldIdle);
      out.label24Back = colour::kWhite;
      deadline = t + d.intoAvvio;
      phase = "AVVIO";
    }
  }
  if (phase == "AVVIO" && Expired(deadline, t)) {
    out.label39.Show(Text(s, lang::ANFUMOAcc), colour::kAccelerate);
    deadline = t + d.intoUno;
    phase = "UNO";
  }
  if (phase == "UNO") {
    if (!warm) {
      ShowCold(reply, s, out);
    } else {
      out.label24Back = colour::kWhite;
      if (Expired(deadline, t)) {
        out.label39.Show(Text(s, lang::ANFUMOManMax), colour::kHoldMax);
        deadline = t + d.intoDue;
        phase = "DUE";
      }
    }
  }
  if (phase == "DUE" && Expired(deadline, t)) {
    out.label39.Show(Text(s, lang::ANFUMODec), colour::kRelease);
    deadline = t + d.intoTre;
    phase = "TRE";
    Capture(reply, cells, s, out);
  }
  if (phase == "TRE" && Expired(deadline, t)) {
    out.label39.Show(Text(s, lang::ANFUMOManMin), colour::kHoldIdle);
    deadline = t + d.intoQuattro;
    phase = "QUATTRO";
  }
  if (phase == "QUATTRO" && Expired(deadline, t)) {
    out.label39.Show(Text(s, lang::ANFUMOAcc), colour::kAccelerate);
    deadline = t + 50;
    phase = "UNO";
  }
}

void PhaseMachine::Capture(const ValueReply& reply, const RowCells& cells, const SeriesSettings& s,
                           ReplyOutcome& out) {
  out.capture = CaptureAcceleration(table_, cells, reply.testMode, s);
  out.captured = true;
}

}  // namespace vs::smoke
