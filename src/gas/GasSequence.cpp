#include "gas/GasSequence.h"

#include "gas/GasVerdicts.h"

namespace vs {

namespace {

constexpr std::int64_t kEscapeTicks = 600;          // a window's end to its escape
constexpr std::int32_t kRaisedIdleWaitTicks = 140;  // passed idle verdict to raised idle
// MCTC-NET holds the window while the probe draws air: O2 above, CO2 below these (%vol).
constexpr double kHoldO2 = 15.0;
constexpr double kHoldCO2 = 3.0;

class SequenceStep {
 public:
  SequenceStep(const GasGate& gate, const GasTestInput& in, GasSequenceState& state,
               GasWindowChanges& window, GasCertificate& cert)
      : gate_(gate), in_(in), s_(state), w_(window), cert_(cert) {}

  void Run() {
    if (!GateOpen()) return;
    switch (gate_.FuelIndex) {
      case 0:
      case 2:
      case 4:
        NonCatalysed();
        break;
      case 1:
      case 3:
      case 5:
        Catalysed();
        break;
      default:
        break;
    }
  }

 private:
  using Phase = GasTestPhase;

  bool Own() const { return gate_.protocol == GasProtocol::Own; }
  bool RpmChecked() const { return in_.limits.GasRpmCheckEnabled == 1; }
  const GasReadingValues& R() const { return in_.readings; }
  const GasLimitValues& L() const { return in_.limits; }
  std::int64_t Tick() const { return gate_.GasTickCount; }

  bool GateOpen() const {
    if (gate_.GasMode != 0) return false;
    if (Own()) return gate_.GasInstrumentState == 129 && gate_.RedoFlag != 1;
    return gate_.McnRsStatus1 != 30 && gate_.McnEtFlag == "R" && gate_.GasMcnStatus == 8 &&
           gate_.McnEhField1 == "R";
  }

  bool WindowEnded() const { return Tick() > s_.GasWindowEnd; }
  bool EscapeReached() const { return Tick() > s_.GasWindowEnd + kEscapeTicks; }
  bool Holding() const {
    return !Own() && Above(R().GasO2, kHoldO2) && Below(R().GasCO2, kHoldCO2);
  }

  void OpenWindow() {
    s_.GasWindowStart = gate_.GasTickCount;
    s_.GasWindowEnd = static_cast<std::int32_t>(Tick() + L().GasTestDuration);
  }
  void SetBarMax() {
    if (L().GasTestDuration > 0) {
      w_.PBar1Max = static_cast<float>(L().GasTestDuration);
    } else {
      w_.Exclamations.push_back(in_.texts.DurationBad);
    }
  }
  float Elapsed() const { return static_cast<float>(Tick() - s_.GasWindowStart); }

  // MCTC-NET shows the bar from zero whenever a window opens.
  void ShowOpenedBar() {
    SetBarMax();
    w_.PBar1Value = 0.0f;
    w_.PBar1Visible = true;
  }
  // The bar while a window runs; the own protocol sets its range every time.
  void ShowRunningBar(bool ownShows) {
    if (Own()) {
      SetBarMax();
      w_.PBar1Min = 0.0f;
      w_.PBar1Value = Elapsed();
      if (ownShows) w_.PBar1Visible = true;
    } else {
      w_.PBar1Visible = true;
      w_.PBar1Value = Elapsed();
    }
  }
  // MCTC-NET at a running step with the hold condition: the window starts again from now.
  void RestartWindow() {
    w_.PBar1Visible = false;
    OpenWindow();
    SetBarMax();
    w_.PBar1Value = 0.0f;
  }

  // One pass of a window whose readings must meet the limits (`met`) by its end: met at
  // once on `escape`; at the end, met or the operator told to go on; while it runs, the bar
  // moves. Holding the test leaves the step (and starts a running window again).
  enum class WindowPass { Met, Unmet, Running, Held };
  template <class Met>
  WindowPass JudgeWindow(bool escape, bool ownShowsBar, const Met& met) {
    if (escape) return WindowPass::Met;
    if (WindowEnded()) {
      w_.PBar1Visible = false;
      if (Holding()) return WindowPass::Held;
      if (met()) return WindowPass::Met;
      w_.Label27Caption = in_.texts.ConPro;
      return WindowPass::Unmet;
    }
    if (Holding()) {
      RestartWindow();
      return WindowPass::Held;
    }
    ShowRunningBar(ownShowsBar);
    return WindowPass::Running;
  }

  void IdleInstruction() {
    const bool tooFast = RpmChecked() && !Below(R().GasRpm, L().GasLimitRpmIdle);
    w_.Label27Caption = tooFast ? in_.texts.Dec : in_.texts.ManMin;
  }
  // Returns whether the engine speed suits the raised-idle window.
  bool RaisedIdleInstruction() {
    if (RpmChecked() && Below(R().GasRpm, L().GasLimitRpmRaisedLow)) {
      w_.Label27Caption = in_.texts.Acc;
      return false;
    }
    if (RpmChecked() && Above(R().GasRpm, L().GasLimitRpmRaisedHigh)) {
      w_.Label27Caption = in_.texts.Dec;
      return false;
    }
    w_.Label27Caption = in_.texts.ManMinAcc;
    return true;
  }
  void ColourCOcorr(double limit) {
    w_.Label9BackColor = AtMost(R().GasCOcorr, limit) ? plat::colors::kWhite : plat::colors::kRed;
  }
  void ColourLambda() {
    w_.Label26BackColor = Within(R().GasLambda, L().GasLimitLambdaLow, L().GasLimitLambdaHigh)
                              ? plat::colors::kWhite
                              : plat::colors::kRed;
  }

  // "MINIMO": a new test; the idle window opens once the engine speed suits.
  void StartIdle(bool ownShowsBar) {
    s_.IdlePassed = 0;
    ClearRaisedIdleResult(cert_);
    w_.Command2Enabled = false;
    if (RpmChecked() && !Below(R().GasRpm, L().GasLimitRpmIdle)) {
      w_.Label27Caption = in_.texts.Dec;
      return;
    }
    s_.GasPhase = Phase::Uno;
    w_.Label27Caption = in_.texts.ManMin;
    OpenWindow();
    if (!Own()) {
      ShowOpenedBar();
    } else if (ownShowsBar) {
      w_.PBar1Visible = true;
    }
  }

  void NonCatalysed() {
    if (s_.GasPhase == Phase::Minimo) StartIdle(true);
    if (s_.GasPhase == Phase::Uno) {
      const WindowPass pass = JudgeWindow(Own() && EscapeReached(), false, [this] {
        return AtMost(R().GasCOcorr, L().GasLimitCOcorrIdle) &&
               (!RpmChecked() || Below(R().GasRpm, L().GasLimitRpmIdle));
      });
      if (pass == WindowPass::Held) return;
      if (pass == WindowPass::Met) s_.GasPhase = Phase::Due;
      if (pass == WindowPass::Running) {
        IdleInstruction();
        ColourCOcorr(L().GasLimitCOcorrIdle);
      }
    }
    if (s_.GasPhase == Phase::Due) {
      w_.Label27Caption = in_.texts.Concl;
      const bool passed = ProvaMin(in_, s_.IdlePassed, w_, cert_);
      cert_.Label79.Caption = *w_.Label28Caption;
      cert_.Label79.BackColor = passed ? plat::colors::kYellow : plat::colors::kRed;
      w_.Command2Enabled = true;
      s_.GasPhase = Phase::Out;
    }
  }

  void Catalysed() {
    if (s_.GasPhase == Phase::Minimo) StartIdle(false);
    if (s_.GasPhase == Phase::Uno) {
      IdleInstruction();
      ColourCOcorr(L().GasLimitCOcorrIdle);
      if (WindowEnded()) {
        w_.PBar1Visible = false;
        if (Holding()) return;
        w_.Label27Caption = in_.texts.P1Concl;
        ProvaMin(in_, s_.IdlePassed, w_, cert_);
        if (s_.IdlePassed == 0) {
          cert_.Label79 = {in_.texts.ProNnSup, plat::colors::kRed};
          w_.Command2Enabled = true;
          s_.GasPhase = Phase::Out;
        } else {
          cert_.Label79.BackColor = plat::colors::kYellow;
          s_.GasWindowEnd = static_cast<std::int32_t>(Tick() + kRaisedIdleWaitTicks);
          s_.GasPhase = Phase::Due;
        }
      } else {
        if (Holding()) {
          RestartWindow();
          return;
        }
        ShowRunningBar(true);
      }
    }
    if (s_.GasPhase == Phase::Due && WindowEnded()) {
      w_.Label28BackColor = plat::colors::kWhite;
      w_.Label28Caption = in_.texts.Esito;
      if (RaisedIdleInstruction()) {
        OpenWindow();
        if (!Own()) ShowOpenedBar();
        s_.GasPhase = Phase::Tre;
      }
    }
    if (s_.GasPhase == Phase::Tre) {
      const WindowPass pass = JudgeWindow(EscapeReached(), true, [this] {
        return AtMost(R().GasCOcorr, L().GasLimitCOcorrRaisedIdle) &&
               Within(R().GasLambda, L().GasLimitLambdaLow, L().GasLimitLambdaHigh) &&
               (!RpmChecked() ||
                Within(R().GasRpm, L().GasLimitRpmRaisedLow, L().GasLimitRpmRaisedHigh));
      });
      if (pass == WindowPass::Held) return;
      if (pass == WindowPass::Met) s_.GasPhase = Phase::Quattro;
      if (pass == WindowPass::Running) RaisedIdleInstruction();
      ColourCOcorr(L().GasLimitCOcorrRaisedIdle);
      ColourLambda();
    }
    if (s_.GasPhase == Phase::Quattro) {
      w_.Label27Caption = in_.texts.P2Concl;
      ProvaMinAcc(in_, s_.IdlePassed, w_, cert_);
      w_.Command2Enabled = true;
      s_.GasPhase = Phase::Out;
    }
  }

  const GasGate& gate_;
  const GasTestInput& in_;
  GasSequenceState& s_;
  GasWindowChanges& w_;
  GasCertificate& cert_;
};

}  // namespace

void AvanzaProva(const GasGate& gate, const GasTestInput& in, GasSequenceState& state,
                 GasWindowChanges& window, GasCertificate& cert) {
  SequenceStep(gate, in, state, window, cert).Run();
}

}  // namespace vs
