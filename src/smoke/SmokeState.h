#pragma once
// Program-wide state of the smoke test.
#include <cstdint>
#include <string>

namespace vs {

struct SmokeState {
  std::int16_t OpaDeviceAddress = 0;  // the binary protocol's address byte, 81 or 65
  std::string PrintCopies;            // copies of a smoke report, as typed
};

}  // namespace vs
