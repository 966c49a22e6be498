#pragma once
// Program-wide state of the smoke test: the opacimeter's address byte, the handshake of the
// exchange cycle, the acceleration table of the series (smoke/AccelerationSeries.h) and
// the engine-speed and k trackers the readings keep.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/DateTime.h"
#include "smoke/AccelerationSeries.h"

namespace vs {

struct SmokeState : smoke::AccelerationTable {
  std::int16_t OpaDeviceAddress = 0;  // the binary protocol's address byte, 81 or 65
  std::string PrintCopies;            // copies of a smoke report, as typed

  // --- the exchange cycle of the smoke test form ---
  std::int16_t OpaReplyReady = 0;      // 1: the next request may go out; 0: one is outstanding
  std::int32_t OpaTicksSinceSend = 0;  // 25 ms ticks since the last request step

  // --- trackers of the acceleration in progress and of the whole test ---
  double AccPeakK = 0;              // highest k of the acceleration
  double AccRpmAtPeak = 0;          // engine speed at that k
  double AccMaxRpm = 0;             // highest engine speed of the acceleration
  double AccMinRpm = 10000.0;       // lowest engine speed of the acceleration
  double SmokeLowestRpm = 10000.0;  // lowest row minimum of the test
  double SmokeHighestRpm = 0;       // highest row maximum of the test
  // The two above as the reports print them; nothing before the first reading.
  std::optional<double> ReportMinRpm, ReportMaxRpm;

  // When START and the print button were pressed; nothing before the first press.
  std::optional<plat::DateTime> MeasureStart, MeasureEnd;

  // Status of the opacimeter. MCTC-NET: the low five bits of the last "ST"/"@ST" status.
  std::int16_t OpaMcnStatus = 0;
  std::string OpaErrorCode;  // MCTC-NET: error code of the last "@RS" ("": none)
  // Binary status reply: state, error bits (models 1 to 4: the bits not yet handled), the
  // check byte, option bits (16: START sends the auto-zero command).
  std::int16_t OpaStatus0 = 0, OpaStatus1 = 0, OpaStatus2 = 0, OpaStatus3 = 0;
  std::int32_t OpaKRaw = 0;  // k x 100 as the binary value reply sends it
};

}  // namespace vs
