#pragma once
// Program-wide state of the gas test: the request/reply handshake of the gas test form and
// what the analyser tells about itself. The readings live in LinkState (the MCTC-NET parsers
// write them too).
#include <cstdint>
#include <string>
#include <vector>

namespace vs {

struct GasState {
  // The gas test form's handshake: 1 the timer may send; 0 a request is outstanding or a
  // button is at work; 2 left by the stand-by button (treated like 0).
  std::int16_t GasReplyReady = 0;
  std::int32_t GasTicksSinceSend = 0;  // ticks since the last scheduled request

  // The maker's binary protocol.
  std::int16_t GasDeviceAddress = 0;    // 49 ('1') models 0 and 1, 33 ('!') model 2
  std::int16_t GasInstrumentState = 0;  // status byte of the last "?" reply
  std::string GasFirmwareVersion;       // digit, ".", digit
  float GasPef = 0;                     // P.E.F., unscaled
  double GasLambdaRaw = 0;              // lambda count (lambda x 1000)

  // MCTC-NET: status character And 31 (1 warm-up, 2 stand-by, 4 auto-zero, 8 measuring).
  std::int16_t GasMcnStatus = 0;
  // The language texts of the gas test form's reply boxes open now: one of each at a time.
  std::vector<std::size_t> McnBoxesOpen;
};

}  // namespace vs
