#pragma once
// The gas test sequence: the idle test for every fuel, then for catalysed fuels the
// raised-idle test. It has no timer of its own: the gas test form calls AvanzaProva once for
// every measurement reply, and the windows are measured in the form's 25 ms ticks.
//
// Wiring: the form keeps one GasSequenceState; starting a test is
// `state.GasPhase = GasTestPhase::Minimo` (the exchange does it when it starts a measurement).
// At each measurement reply the form builds a GasTestInput and a GasGate, calls AvanzaProva,
// then applies the GasWindowChanges to its controls (showing each exclamation box) and
// keeps the certificate record for the certificate page.
#include <cstdint>
#include <string>

#include "gas/GasCertificate.h"
#include "gas/GasTestInputs.h"
#include "gas/GasWindowChanges.h"

namespace vs {

enum class GasTestPhase { None, Minimo, Uno, Due, Tre, Quattro, Out };

// The sequence's own variables; they keep their values while the gate is shut.
struct GasSequenceState {
  GasTestPhase GasPhase = GasTestPhase::None;  // None: never started, no step runs
  std::int32_t GasWindowStart = 0;             // tick at which the current window opened
  std::int32_t GasWindowEnd = 0;  // last tick of the window, or of the raised-idle wait
  std::int16_t IdlePassed = 0;    // idle verdict: 1 passed, 0 failed
};

enum class GasProtocol { Own, MctcNet };

// What decides whether a reply runs a step, and which step.
struct GasGate {
  GasProtocol protocol = GasProtocol::Own;
  std::int16_t GasMode = 1;    // 0 certification; the test runs only there
  std::int16_t FuelIndex = 1;  // 0 to 5; odd: catalysed
  std::int32_t GasTickCount = 0;
  // Own protocol: the analyser's status and the redo flag.
  std::int16_t GasInstrumentState = 0;
  std::int16_t RedoFlag = 0;
  // MCTC-NET: status, "@RS" status, leak-check flag and HC residue result.
  std::int16_t GasMcnStatus = 0;
  std::int16_t McnRsStatus1 = 0;
  std::string McnEtFlag;
  std::string McnEhField1;
};

// One step of the sequence, run after a measurement reply has been stored and shown.
void AvanzaProva(const GasGate& gate, const GasTestInput& in, GasSequenceState& state,
                 GasWindowChanges& window, GasCertificate& cert);

}  // namespace vs
