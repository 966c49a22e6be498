#include "forms/smoke/SmokeSeriesSteps.h"

#include "forms/Program.h"
#include "platform/text/Numbers.h"
#include "smoke/PhaseMachine.h"

namespace vs {

namespace {

smoke::SeriesSettings SettingsOf(Program& p) {
  const ShellState& s = p.shell;
  return {s.LangText,    p.rt.regional, s.SmokeRpmMin, s.SmokeRpmMax, s.SmokeOpacityThreshold,
          s.SmokeKLimit, s.OpaUnitIndex};
}

smoke::RowCells CellsOf(ANFUMO& f) {
  smoke::RowCells cells;
  for (int r = 0; r < smoke::kAccelerationRows; ++r) {
    cells.k[static_cast<std::size_t>(r)] = f.Label36(r).Caption();
    cells.rpm[static_cast<std::size_t>(r)] = f.Label18(r).Caption();
  }
  return cells;
}

smoke::ValueReply ReplyOf(ANFUMO& f, smoke::Protocol protocol) {
  Program& p = f.program();
  const LinkState& l = p.link;
  smoke::ValueReply r;
  r.protocol = protocol;
  r.testMode = f.TestMode;
  r.tick = f.SmokeTickCount;
  r.rpm = l.OpaRpm;
  r.k = l.OpaK;
  r.cellTemp = l.OpaCellTemp;
  r.valuesInvalid = f.ValuesInvalid != 0;
  r.mcnStatus = p.smoke.OpaMcnStatus;
  r.luStatus1 = l.OpaLuStatus1;
  r.luStatus2 = l.OpaLuStatus2;
  r.modelIndex = p.shell.OpaModelIndex;
  r.status0 = p.smoke.OpaStatus0;
  r.status1 = p.smoke.OpaStatus1;
  return r;
}

void Apply(plat::Label& l, const smoke::LabelChange& c) {
  if (c.caption) l.setCaption(*c.caption);
  if (c.backColor) l.setBackColor(*c.backColor);
}

// A capture's effects on the form: the result of a decided series, the trackers of the
// next acceleration.
void Apply(ANFUMO& f, const smoke::CaptureOutcome& c) {
  if (c.result) {
    f.Label35.setCaption(c.result->meanK);
    f.Label55.setCaption(c.result->opacity);
    f.Label33.setCaption(c.result->verdict);
    f.Label33.setBackColor(c.result->verdictColour);
  }
  if (c.peakTrackersReset) {
    SmokeState& m = f.program().smoke;
    m.AccPeakK = 0;
    m.AccMaxRpm = 0;
    m.AccMinRpm = 10000.0;
  }
}

}  // namespace

void StepTestPhase(ANFUMO& f, smoke::Protocol protocol) {
  Program& p = f.program();
  const smoke::ValueReply reply = ReplyOf(f, protocol);
  // Mode 6 runs the chart in place of a phase table, under the phase step's own condition.
  const bool chartRuns = reply.testMode == 6 && protocol == smoke::Protocol::MctcNet &&
                         p.smoke.AccIndex < smoke::kSeriesClosed && !reply.valuesInvalid;
  smoke::PhaseMachine phases(f, p.smoke, f);
  const smoke::ReplyOutcome out =
      phases.OnValueReply(reply, CellsOf(f), SettingsOf(p), p.shell.ExclamPending);

  Apply(f.Label39, out.label39);
  if (out.label24Back) f.Label24.setBackColor(*out.label24Back);
  if (out.captured) Apply(f, out.capture);
  if (out.showChart) p.grafic.ShowAcceleration(*out.showChart);
  if (chartRuns) {
    // The chart window follows the instruction line and the engine speed; it is loaded,
    // hidden, for that when it is not open.
    if (!p.grafic.IsLoaded()) p.grafic.Load();
    p.grafic.Label39.setCaption(f.Label39.Caption());
    p.grafic.Label39.setBackColor(f.Label39.BackColor());
    p.grafic.Label3.setCaption(plat::FormatDouble(p.link.OpaRpm, p.rt.regional));
  }
  if (out.closingBox) {
    p.shell.ExclamStampaMessage = out.closingBox->exclamStampaMessage;
    p.shell.ExclamMessage = out.closingBox->exclamMessage;
    p.exclam.Open(plat::ShowMode::Modal);
  }
}

void CaptureAccelerationByHand(ANFUMO& f) {
  Program& p = f.program();
  const smoke::ManualCaptureOutcome out =
      smoke::ManualCapture(p.smoke, CellsOf(f), f.TestMode, p.link.OpaCellTemp, SettingsOf(p));
  if (!out.captured) return;
  f.Label24.setBackColor(plat::colors::kWhite);
  Apply(f, out.capture);
  if (out.buttonCaption) f.Command1.setCaption(*out.buttonCaption);
  if (out.buttonDisabled) f.Command1.setEnabled(false);
}

}  // namespace vs
