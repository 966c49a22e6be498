#include "forms/gas/GasTestSequence.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/Program.h"
#include "forms/gas/GasReplyBoxes.h"
#include "gas/GasSequence.h"
#include "shell/LanguageKeys.h"

namespace vs {

namespace {

// The phase words the exchange and the form keep, in the sequence's order.
constexpr std::array<std::pair<GasTestPhase, std::string_view>, 6> kPhaseWords{{
    {GasTestPhase::Minimo, "MINIMO"},
    {GasTestPhase::Uno, "UNO"},
    {GasTestPhase::Due, "DUE"},
    {GasTestPhase::Tre, "TRE"},
    {GasTestPhase::Quattro, "QUATTRO"},
    {GasTestPhase::Out, "OUT"},
}};

GasTestPhase PhaseOf(std::string_view word) {
  for (const auto& [phase, text] : kPhaseWords)
    if (text == word) return phase;
  return GasTestPhase::None;
}

std::string_view WordOf(GasTestPhase phase, std::string_view unchanged) {
  for (const auto& [p, text] : kPhaseWords)
    if (p == phase) return text;
  return unchanged;  // a word no phase has stays as it was
}

GasGate GateOf(const ANGAS& f, const Program& p) {
  GasGate g;
  g.protocol = f.OpenedComMode == 2 ? GasProtocol::MctcNet : GasProtocol::Own;
  g.GasMode = f.GasMode;
  g.FuelIndex = f.FuelIndex;
  g.GasTickCount = f.GasTickCount;
  g.GasInstrumentState = p.gas.GasInstrumentState;
  g.RedoFlag = static_cast<std::int16_t>(f.RedoFlag);
  g.GasMcnStatus = p.gas.GasMcnStatus;
  g.McnRsStatus1 = p.link.McnRsStatus1;
  g.McnEtFlag = p.link.McnEtFlag;
  g.McnEhField1 = p.link.McnEhField1;
  return g;
}

std::string ListItem(const plat::ComboBox& list, int index) {
  return index >= 0 && index < list.ListCount() ? list.List(index) : std::string();
}

}  // namespace

GasTestInput GasTestInputOf(ANGAS& f) {
  Program& p = f.program();
  GasTestInput in;
  const LinkState& l = p.link;
  in.readings = {.GasRpm = l.GasRpm,
                 .GasCOcorr = l.GasCOcorr,
                 .GasLambda = l.GasLambda,
                 .GasO2 = l.GasO2,
                 .GasCO2 = l.GasCO2};
  in.limits = GasLimitsFrom(p.shell);
  in.shown = {.CO = f.Label8.Caption(),
              .COcorr = f.Label9.Caption(),
              .CO2 = f.Label10.Caption(),
              .HC = f.Label11.Caption(),
              .O2 = f.Label12.Caption(),
              .OilTemp = f.Label13.Caption(),
              .Rpm = f.Label15.Caption(),
              .Lambda = f.Label26.Caption(),
              .NOx = f.Label33.Caption(),
              .Model = f.Label1.Caption(),
              .Fuel = ListItem(f.Combo1, f.FuelIndex),
              .Strokes = ListItem(f.Combo3, f.StrokesIndex)};
  in.print = GasPrintDataFrom(p.shell, p.link);
  in.texts = GasTextsFrom(p.shell.LangText);
  in.regional = p.rt.regional;
  in.now = p.rt.loop.localTime();
  // Start/Stop never pressed leaves the start of measurement empty.
  if (f.StartMeasTime != plat::DateTime{}) in.StartMeasTime = f.StartMeasTime;
  return in;
}

void AvanzaProva(ANGAS& f) {
  Program& p = f.program();
  GasSequenceState state{.GasPhase = PhaseOf(f.GasPhase),
                         .GasWindowStart = f.GasWindowStart,
                         .GasWindowEnd = f.GasWindowEnd,
                         .IdlePassed = f.IdlePassed};
  GasWindowChanges w;
  GasCertificate& cert = p.prtKYMRACERT.Certificate;
  vs::AvanzaProva(GateOf(f, p), GasTestInputOf(f), state, w, cert);

  f.GasPhase = std::string(WordOf(state.GasPhase, f.GasPhase));
  f.GasWindowStart = state.GasWindowStart;
  f.GasWindowEnd = state.GasWindowEnd;
  f.IdlePassed = state.IdlePassed;

  if (w.Label27Caption) f.Label27.setCaption(*w.Label27Caption);
  if (w.Label28Caption) f.Label28.setCaption(*w.Label28Caption);
  if (w.Label28BackColor) f.Label28.setBackColor(*w.Label28BackColor);
  if (w.Label9BackColor) f.Label9.setBackColor(*w.Label9BackColor);
  if (w.Label26BackColor) f.Label26.setBackColor(*w.Label26BackColor);
  if (w.PBar1Min) f.PBar1.setMin(*w.PBar1Min);
  if (w.PBar1Max) f.PBar1.setMax(*w.PBar1Max);
  // A window opened before the duration was shortened can run past the new maximum.
  if (w.PBar1Value) f.PBar1.setValue(std::clamp(*w.PBar1Value, f.PBar1.Min(), f.PBar1.Max()));
  if (w.PBar1Visible) f.PBar1.setVisible(*w.PBar1Visible);
  if (w.Command2Enabled) f.Command2.setEnabled(*w.Command2Enabled);
  // The only box a step raises: the progress bar refused the window length.
  PostGasReplyBoxes(f, std::vector<std::size_t>(w.Exclamations.size(), lang::MsgBox1));
  // A certificate on screen shows what the step wrote, as its boxes would.
  IfLoaded(p.prtKYMRACERT, [](PrtKYMRACERT& page) { page.ShowCertificate(); });
}

}  // namespace vs
