#pragma once
// The gas test form's own variables. The form (ANGAS) carries them; they live as long as
// the program, so closing the window keeps them and its load step resets only those it
// names. The exchange and sequence procedures below the form take this record.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/DateTime.h"

namespace vs {

struct GasTestVars {
  std::string Stato;              // state word of the exchange; selects the next request
  std::string StatoRichiesto;     // state word asked for by a button
  std::string PrevState;          // the state word before the current one
  std::string GasPhase;           // "MINIMO", "UNO", "DUE", "TRE", "QUATTRO", "OUT"
  std::int32_t GasTickCount = 0;  // 25 ms ticks while open, never reset
  std::int32_t GasWindowStart = 0, GasWindowEnd = 0;
  std::int16_t IdlePassed = 0;
  std::int16_t FuelIndex = 0;     // 0 petrol .. 5 LPG with catalyst
  std::int16_t StrokesIndex = 0;  // 0 four-stroke, 1 two-stroke
  std::int16_t GasMode = 0;       // 0 certification, 1 diagnosis
  bool GasLogFlag = false;        // "gas.log" logging on
  std::optional<int> KFactor;     // corrected-CO factor: 15 petrol, 12 methane, 14 LPG
  std::int16_t AutoZeroCount = 0;
  int EtWarningShown = 0;
  int Measuring = 0;  // binary protocol: 1 while a measurement runs
  int RedoFlag = 0;   // 1 after a status RSTERT: the sequence waits for Start/Stop
  int VehicleFormOpen = 0;
  plat::DateTime StartMeasTime, EndMeasTime;
  std::int16_t StandbyAfterEt = 0;
  std::string GasRxBuffer;     // MCTC-NET: received bytes not yet handled, one char per byte
  std::string OwnRequestData;  // data of the next request frame
  std::int16_t ChannelListSent = 0;
  std::int16_t OwnFuelCode = 0;
  std::int32_t OwnStatusDetail = 0;
  // The protocol of this opening (1 binary, 2 MCTC-NET), taken once by the load step from
  // the model: the requests and the receive branch both follow it.
  std::int16_t OpenedComMode = 0;
  // This opening has told the operator that a "gas.log" line could not be written.
  bool GasLogProblemTold = false;
};

}  // namespace vs
