#include "forms/gas/GasMcnStep.h"

#include <algorithm>
#include <string>

#include "forms/Program.h"
#include "forms/gas/GasReplyBoxes.h"
#include "gas/McnGasExchange.h"
#include "link/MctcNetFrame.h"
#include "link/Senders.h"
#include "platform/core/Error.h"
#include "platform/text/Numbers.h"

namespace vs {

namespace {

McnGasWords Words(ANGAS& f) {
  return {f.Stato,          f.StatoRichiesto, f.PrevState,    f.GasPhase, f.AutoZeroCount,
          f.StandbyAfterEt, f.FuelIndex,      f.StrokesIndex, f.GasMode};
}

void Put(plat::Label& label, const McnLabelText& t) {
  label.setCaption(t.text);
  if (t.back) label.setBackColor(*t.back);
}

void ShowReadings(Program& p, ANGAS& f) {
  const LinkState& l = p.link;
  const plat::RegionalSettings& r = p.rt.regional;
  const auto text = [&r](double v) { return plat::FormatDouble(v, r); };
  f.Label12.setCaption(text(l.GasO2));
  f.Label11.setCaption(text(l.GasHC));
  f.Label8.setCaption(text(l.GasCO));
  f.Label10.setCaption(text(l.GasCO2));
  f.Label9.setCaption(text(l.GasCOcorr));
  f.Label13.setCaption(l.GasOilTemp == 888.0F ? "Out" : plat::FormatSingle(l.GasOilTemp, r));
  f.Label15.setCaption(text(l.GasRpm));
  f.Label26.setCaption(text(l.GasLambda));
  f.Label33.setCaption(text(l.GasNOx));
}

void Sweep(ANGAS& f) {
  if (!f.PBar1.Visible()) f.PBar1.setVisible(true);
  if (f.PBar1.Value() == f.PBar1.Max()) f.GasWindowStart = f.GasTickCount;
  plat::RunIgnoringErrors(
      {[&f] { f.PBar1.setValue(static_cast<float>(f.GasTickCount - f.GasWindowStart)); }});
}

void Apply(Program& p, ANGAS& f, const McnGasScreen& s) {
  if (s.hidePressureIfShown && f.Label38.Visible()) {
    for (plat::Label* l : {&f.Label37, &f.Label38, &f.Label39}) l->setVisible(false);
  }
  if (s.progress == McnProgress::Hide ||
      (s.progress == McnProgress::HideIfShown && f.PBar1.Visible()))
    f.PBar1.setVisible(false);
  if (s.progress == McnProgress::Sweep) Sweep(f);
  if (s.listsEnabled) {
    f.Combo1.setEnabled(*s.listsEnabled);
    f.Combo3.setEnabled(*s.listsEnabled);
  }
  if (s.leakTestEnabled) f.Command6.setEnabled(*s.leakTestEnabled);
  if (s.startAndStandbyEnabled) {
    f.Command4.setEnabled(true);
    f.Command1.setEnabled(true);
  }
  if (s.status) Put(f.Label5, *s.status);
  if (s.message) Put(f.Label27, *s.message);
  if (s.messageBack) f.Label27.setBackColor(*s.messageBack);
  if (s.verdict) Put(f.Label28, *s.verdict);
  if (s.pressure) f.Label38.setCaption(*s.pressure);
  if (s.pef) f.Label7.setCaption(*s.pef);
  if (s.blankReadings) {
    for (plat::Label* l : {&f.Label8, &f.Label9, &f.Label10, &f.Label11, &f.Label12, &f.Label13,
                           &f.Label15, &f.Label26, &f.Label33})
      l->setCaption("- - -");
  }
  if (s.fuelShown) {
    // Only the texts: the lists' handlers would ask the analyser for "@SA".
    f.Combo1.setText(f.Combo1.List(f.FuelIndex));
    f.Combo3.setText(f.Combo3.List(f.StrokesIndex));
  }
  if (s.hint) p.ShowPortHint(s.hint);
  if (s.measurement) {
    ShowReadings(p, f);
    f.AfterMeasurementReply();
    f.PrevState = "ACQ";
  }
}

}  // namespace

void SendMcnGasRequest(ANGAS& f) {
  Program& p = f.program();
  LinkState& l = p.link;
  const std::optional<McnGasRequest> r = NextMcnGasRequest(Words(f), l, p.rt.loop.localTime());
  if (!r) return;
  if (r->whiteMessageLine) f.Label27.setBackColor(plat::colors::kWhite);
  l.McnCommand = r->command;
  l.McnCommandLen = static_cast<std::int16_t>(r->command.size());
  SendMctcNetFrameToTestForms(l, p.TestPorts(), l.McnAddress, l.McnCommand, l.McnDevNumber,
                              r->data);
}

GasReplyOutcome HandleMcnGasReply(ANGAS& f) {
  Program& p = f.program();
  if (f.GasRxBuffer.empty() || f.GasRxBuffer.back() != kEtx) return GasReplyOutcome::Incomplete;
  const McnCollected got = CollectTestFormReply(p.link, f.GasRxBuffer);
  if (got.status != McnCollected::Status::Accepted) return GasReplyOutcome::Rejected;
  const McnGasScreen screen =
      DecideMcnGasReply(Words(f), p.link, p.gas, p.shell, got, p.rt.loop.localTime());
  Apply(p, f, screen);
  PostGasReplyBoxes(f, screen.boxes);
  return GasReplyOutcome::Handled;
}

}  // namespace vs
