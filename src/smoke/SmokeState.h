#pragma once
// Program-wide state of the smoke test.
#include <cstdint>
#include <string>

namespace vs {

struct SmokeState {
  std::int16_t OpaDeviceAddress = 0;  // the binary protocol's address byte, 81 or 65
  std::string PrintCopies;            // copies of a smoke report, as typed

  // Status of the opacimeter. MCTC-NET: the low five bits of the last "ST"/"@ST" status.
  std::int16_t OpaMcnStatus = 0;
  // Binary status reply: state, error bits (models 1 to 4: the bits not yet handled), the
  // check byte, option bits (16: START sends the auto-zero command).
  std::int16_t OpaStatus0 = 0, OpaStatus1 = 0, OpaStatus2 = 0, OpaStatus3 = 0;
  std::int32_t OpaKRaw = 0;  // k x 100 as the binary value reply sends it
};

}  // namespace vs
