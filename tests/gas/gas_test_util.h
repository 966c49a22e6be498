#pragma once
// A gas test on the bench: limits, texts and a stepper that applies each step's changes to
// a stand-in for the gas test form, as the form does after every measurement reply.
#include <string>

#include "gas/GasSequence.h"

namespace vs::test {

inline GasTestInput BenchInput() {
  GasTestInput in;
  in.limits.GasLimitRpmIdle = 1000;
  in.limits.GasLimitRpmRaisedLow = 2000;
  in.limits.GasLimitRpmRaisedHigh = 2500;
  in.limits.GasLimitLambdaLow = 0.97;
  in.limits.GasLimitLambdaHigh = 1.03;
  in.limits.GasLimitCOcorrIdle = 0.3;
  in.limits.GasLimitCOcorrRaisedIdle = 0.3;
  in.limits.GasRpmCheckEnabled = 1;
  in.limits.GasTestDuration = 40;
  in.readings = {.GasRpm = 800, .GasCOcorr = 0.1, .GasLambda = 1.0, .GasO2 = 1.0, .GasCO2 = 14.0};
  in.texts = {"ESITO",   "DEC",    "ACC",       "MANMIN",  "CONCL",       "CONPRO", "PASSED",
              "P1CONCL", "FAILED", "MANMINACC", "P2CONCL", "BADDURATION", "REFERTO"};
  return in;
}

// The controls a step changes, as they stand after every change so far.
struct BenchScreen {
  std::string Label27, Label28;
  bool PBar1Visible = false;
  float PBar1Max = 800, PBar1Value = 0;
  bool Command2Enabled = true;

  void Apply(const GasWindowChanges& w) {
    if (w.Label27Caption) Label27 = *w.Label27Caption;
    if (w.Label28Caption) Label28 = *w.Label28Caption;
    if (w.PBar1Visible) PBar1Visible = *w.PBar1Visible;
    if (w.PBar1Max) PBar1Max = *w.PBar1Max;
    if (w.PBar1Value) PBar1Value = *w.PBar1Value;
    if (w.Command2Enabled) Command2Enabled = *w.Command2Enabled;
  }
};

struct GasBench {
  GasGate gate;
  GasTestInput in = BenchInput();
  GasSequenceState state;
  GasCertificate cert;
  BenchScreen screen;

  explicit GasBench(GasProtocol protocol, std::int16_t fuel) {
    gate.protocol = protocol;
    gate.GasMode = 0;
    gate.FuelIndex = fuel;
    gate.GasInstrumentState = 129;
    gate.GasMcnStatus = 8;
    gate.McnEtFlag = "R";
    gate.McnEhField1 = "R";
  }
  // A measurement reply at this tick.
  void ReplyAt(std::int32_t tick) {
    gate.GasTickCount = tick;
    GasWindowChanges w;
    AvanzaProva(gate, in, state, w, cert);
    screen.Apply(w);
  }
};

}  // namespace vs::test
