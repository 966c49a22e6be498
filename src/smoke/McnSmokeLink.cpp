#include "smoke/McnSmokeLink.h"

#include <initializer_list>
#include <utility>

#include "link/LinkState.h"
#include "link/ReplyFields.h"
#include "shell/LanguageKeys.h"
#include "shell/LimitRule.h"
#include "shell/ShellState.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"

namespace vs::smoke {
namespace {

constexpr char kEtb = 23;
constexpr plat::Color kWhite = plat::colors::kWhite;
constexpr plat::Color kRed = plat::colors::kRed;
constexpr plat::Color kOrange = 0x0080FF;
constexpr int kSlideStuck = 20;  // "@RS" code: the instruction line says so in every state

bool Is(std::string_view s, std::initializer_list<std::string_view> words) {
  for (const auto w : words) {
    if (s == w) return true;
  }
  return false;
}

bool ManualMode(std::int16_t mode) { return mode == 4 || mode == 5; }

McnRequest Request(LinkState& link, std::string command, std::string data = {}) {
  link.McnCommand = command;
  link.McnCommandLen = static_cast<std::int16_t>(command.size());
  return {std::move(command), std::move(data)};
}

// The third field of an "@RS" reply: the opacimeter's error code ("000": none).
std::string RsErrorCode(std::string_view data) {
  for (int field = 0; field < 2; ++field) {
    const auto etb = data.find(kEtb);
    if (etb == std::string_view::npos) return {};
    data.remove_prefix(etb + 1);
  }
  data = data.substr(0, data.find(kEtb));
  return data == "000" ? std::string() : FieldText(data);
}

void WarmUp(LinkDisplay& d, const LinkState& link, const ShellState& shell, const LinkView& view) {
  const auto& t = shell.LangText;
  if (ManualMode(view.testMode)) d.command1Enabled = false;
  d.selectModeZero = true;
  d.label2.Show(t[lang::ANFUMORiscal], kWhite);
  d.label33.Show(t[lang::ANFUMOEsito], kWhite);
  d.blankSeries = true;
  const bool warm = IsWarm(link.OpaCellTemp);
  d.label24.backColor = warm ? kWhite : kRed;
  d.label39.Show(t[warm ? lang::ANFUMOFase : lang::ANFUMOAttRisc], kWhite);
}

void StandBy(LinkDisplay& d, const LinkState& link, const ShellState& shell) {
  const auto& t = shell.LangText;
  d.label2.Show("StandBy", kWhite);
  d.command2Enabled = false;
  if (AtMost(link.OpaCellTemp, 1.0) && AtLeast(link.OpaSmokeTemp, 20.0)) {
    d.critic = OpaErrorAlarm{"ERROR 10", t[lang::CRITICTcam]};
  }
  switch (link.McnRsStatus1) {
    case kSlideStuck:
      d.label39.Show(t[lang::ANFUMOESLITTA], kRed);
      break;
    case 24:
      d.label39.Show(t[lang::ANFUMOTAlta], kRed);
      break;
    case 25:
      d.label39.Show(t[lang::ANFUMOEnnO], kRed);
      break;
    case 26:
      d.label39.Show(t[lang::ANFUMOPPOtt], kRed);
      break;
    default:
      d.label39.Show(t[lang::ANFUMOFase], kWhite);
  }
}

void AutoZero(LinkDisplay& d, SmokeFormFields& f, const LinkState& link, const ShellState& shell,
              const LinkView& view) {
  const auto& t = shell.LangText;
  ++f.AutoZeroStatusCount;
  d.label2.Show(t[lang::ANFUMOAutzer], kWhite);
  const std::int16_t m = view.testMode;
  if (m == 1 || m == 2 || m == 3 || m == 6) d.testPhase = "AVVIOALTO";
  if (ManualMode(view.testMode)) {
    d.command1Enabled = false;
    d.testPhase = "DUE";
  }
  if (f.AutoZeroStatusCount == 4) {
    f.LinkState = "RSECXAZE";
    f.AutoZeroStatusCount = 0;
  }
  if (link.McnRsStatus1 == kSlideStuck) {
    d.label39.Show(t[lang::ANFUMOESLITTA], kRed);
  } else {
    d.label39.Show(t[lang::ANFUMOAutzer], kWhite);
  }
}

void Measuring(LinkDisplay& d, const SmokeFormFields& f, const LinkState& link, ShellState& shell,
               const LinkView& view) {
  const auto& t = shell.LangText;
  const bool afterAutoZero = f.LastStatusWord == "RSTAZE";
  if (afterAutoZero && ManualMode(view.testMode)) d.command1Enabled = true;
  d.label2.Show(t[lang::ANFUMOMisura], kWhite);
  d.command2Enabled = true;
  if (afterAutoZero) {
    shell.ExclamStampaMessage = t[lang::ANFUMOExclStamp5];
    if (link.OpaLuStatus1 == "00000") d.lockNotice = shell.ExclamStampaMessage;
  }
  if (link.McnRsStatus1 == kSlideStuck) {
    d.label39.Show(t[lang::ANFUMOESLITTA], kRed);
  } else if (view.testMode == 0) {
    d.label39.Show(t[lang::ANFUMOFase], kWhite);
  } else if (view.label39 != t[lang::ANFUMOConcl] && view.accIndex >= 8) {
    d.label39.Show(t[lang::ANFUMOFase], kWhite);
  }
}

}  // namespace

std::optional<McnRequest> NextMcnSmokeRequest(SmokeFormFields& f, LinkState& link,
                                              ShellState& shell) {
  const std::string& s = f.LinkState;
  if (s == "INIZIO") return Request(link, "ID");
  if (Is(s, {"IDE", "ACQ", "RSTAZE"})) {
    if (s == "ACQ" && f.VoltagePollCounter < 9 && f.ParamPollCounter < 8) {
      f.LinkState = "RSTMIS";  // values go on: "@RS" below
    } else if (f.VoltagePollCounter >= 9) {
      return Request(link, "@RD");
    } else {
      auto r = Request(link, "@LU", link.McnLuParam);
      link.McnLuParam = link.McnLuParam == "21" ? "20" : "21";
      return r;
    }
  }
  if (Is(s, {"RAD", "LPAR", "SBY", "AZE", "ACQXAZE"})) {
    shell.ExclamStampaPending = 0;
    return Request(link, link.InstrVersionX1000 < 4005 ? "ST" : "@ST");
  }
  if (s == "STARTMIS") {
    f.RequestedLinkState.clear();
    return Request(link, "AZ");
  }
  if (s == "STANDBY") {
    f.RequestedLinkState.clear();
    return Request(link, "SB");
  }
  if (Is(s, {"RSTMIS", "RSTRI", "RSTSB", "RSECXAZE"})) return Request(link, "@RS");
  if (s == "RSEC") return Request(link, "@VA");
  return std::nullopt;
}

LinkDisplay DecodeMcnStatus(SmokeFormFields& f, const LinkState& link, SmokeState& smoke,
                            ShellState& shell, const LinkView& view, std::string_view data) {
  smoke.OpaMcnStatus = data.empty()
                           ? std::int16_t{0}
                           : static_cast<std::int16_t>(static_cast<unsigned char>(data[0]) & 31);
  LinkDisplay d;
  switch (smoke.OpaMcnStatus) {
    case 1:
      f.LinkState = "RSTRI";
      WarmUp(d, link, shell, view);
      f.LastStatusWord = "RSTRI";
      break;
    case 2:
      f.LinkState = "RSTSB";
      StandBy(d, link, shell);
      f.LastStatusWord = "RSTSB";
      break;
    case 4:
      f.LinkState = "RSTAZE";
      AutoZero(d, f, link, shell, view);
      f.LastStatusWord = "RSTAZE";
      break;
    case 8:
    case 16:
      f.LinkState = "RSTMIS";
      Measuring(d, f, link, shell, view);
      f.LastStatusWord = "RSTMIS";
      break;
    default:
      f.LinkState = "RSTMIS";
  }
  return d;
}

LinkDisplay TakeLockParameter(LinkState& link, const ShellState& shell, std::string_view data) {
  const std::string value = FieldText(data.substr(0, data.find(kEtb)));
  std::string_view number = data.size() > 6 ? data.substr(6, 3) : std::string_view();
  number = number.substr(0, number.find(kEtb));
  if (number == "020") link.OpaLuStatus1 = value;
  if (number == "021") link.OpaLuStatus2 = value;

  const auto& t = shell.LangText;
  LinkDisplay d;
  const std::string& s1 = link.OpaLuStatus1;
  const std::string& s2 = link.OpaLuStatus2;
  if (s2 == "00000") {
    d.label29.Show(t[lang::ANFUMOBlkAss], kRed);
  } else if (s2 == "00001") {
    d.label29.Show(t[lang::ANFUMOEV], plat::colors::kCyan);
  } else if (s2 == "00002" && s1 == "00016") {
    d.label29.Show(t[lang::ANFUMOSlAperta], plat::colors::kGreen);
  } else if (s2 == "00002" && s1 == "00032") {
    d.label29.Show(t[lang::ANFUMOSlChiusa], kOrange);
  }
  return d;
}

LinkDisplay SupplyVoltageWarning(SmokeFormFields& f, double volts, const LinkView& view,
                                 const ShellState& shell) {
  LinkDisplay d;
  if (!Below(volts, 10.7)) {
    f.VoltageBlinkCount = 0;
    d.label30.backColor = kWhite;
    d.label30Visible = false;
    return d;
  }
  d.label30.caption = shell.LangText[lang::ANFUMOValim];
  if (++f.VoltageBlinkCount == 1) {
    if (view.label30Back == kRed) {
      d.label30.backColor = plat::colors::kCyan;
    } else if (view.label30Back == plat::colors::kCyan || view.label30Back == kWhite) {
      d.label30.backColor = kRed;
    }
    f.VoltageBlinkCount = 0;
  }
  d.label30Visible = true;
  return d;
}

McnSmokeOutcome HandleMcnSmokeFrame(SmokeFormFields& f, LinkState& link, SmokeState& smoke,
                                    ShellState& shell, const LinkView& view, std::string_view frame,
                                    std::string_view echo, std::string_view data) {
  McnSmokeOutcome out;
  const auto errorCodeHook = [&] {
    if (link.ShowParseWarning != 0)
      out.errorAlarm = ShowOpaErrorCode(link, shell, smoke.OpaErrorCode);
  };
  if (echo == "AZ") {
    f.LinkState = "AZE";
    errorCodeHook();
  } else if (echo == "ID") {
    f.LinkState = "IDE";
    ParseIdReply(link, frame, link.McnCommandLen, static_cast<int>(link.McnDevNumberLen));
  } else if (echo == "@RS") {
    f.LinkState = f.LastStatusWord == "RSTAZE" ? "ACQXAZE" : "RSEC";
    ParseRsReply(link, frame, link.McnCommandLen, static_cast<int>(link.McnDevNumberLen));
    link.McnRsStatus1 = static_cast<std::int16_t>(link.McnRsStatus1 & 127);
    smoke.OpaErrorCode = RsErrorCode(data);
    if (f.LastStatusWord != "RSTAZE") f.LastStatusWord = "RSEC";
  } else if (echo == "@LU") {
    f.LinkState = "LPAR";
    f.ParamPollCounter = 0;
    out.display = TakeLockParameter(link, shell, data);
  } else if (echo == "@RD") {
    f.LinkState = "RAD";
    f.VoltagePollCounter = 0;
    out.portHint = ParseOpaRdReply(link, shell, frame);
    out.display = SupplyVoltageWarning(f, link.OpaSupplyVoltage, view, shell);
  } else if (echo == "@VA") {
    f.LinkState = "ACQ";
    f.ParamPollCounter += 2;
    f.VoltagePollCounter += 1;
    errorCodeHook();
    out.portHint = ParseOpaMeasureReply(link, shell, frame);
    out.valueReply = true;
  } else if (echo == "SB") {
    f.LinkState = "SBY";
    errorCodeHook();
  } else if (echo == "ST" || echo == "@ST") {
    out.display = DecodeMcnStatus(f, link, smoke, shell, view, data);
  } else {
    f.LinkState = "RSTMIS";
  }
  return out;
}

}  // namespace vs::smoke
