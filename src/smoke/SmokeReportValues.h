#pragma once
// What the two smoke reports print, taken from the records when a report opens, and the
// texts of the page's value cells.
#include <cstdint>
#include <string>

#include "platform/forms/Types.h"

#include "platform/core/DateTime.h"
#include "platform/text/RegionalSettings.h"
#include "smoke/SmokeReportLog.h"

namespace vs {
struct ShellState;
struct LinkState;
struct SmokeState;
}  // namespace vs

namespace vs::smoke {

// The values as the records hold them now; `today` is the date of the report.
SmokeReportValues ReportValuesNow(const ShellState& shell, const LinkState& link,
                                  const SmokeState& smoke, const plat::DateTime& today);

// Value cells that the page shows converted to text: numbers in general format without
// blanks, the date and times as the regional settings write them, empty for no value.
struct SmokeReportCells {
  std::string oilTemp;  // "OutRange" for exactly 888.0
  std::string minRpm, maxRpm;
  std::string rpmMin, rpmMax, opacityThreshold, kLimit;
  std::string unit;  // "HSU" or "%"
  std::string date, start, end;
};
SmokeReportCells ReportCells(const SmokeReportValues& v, const plat::RegionalSettings& regional);

// Background of an acceleration value cell by its row state: orange for a row of the
// result, yellow otherwise.
plat::Color AccelerationCellColour(std::int16_t rowState);

}  // namespace vs::smoke
