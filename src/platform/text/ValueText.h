#pragma once
// Values as the system writes them into its logs and reports.
#include <string>

#include "platform/core/EventLoop.h"
#include "platform/text/RegionalSettings.h"

namespace plat {

// A number as a "Print #" statement writes it to a file: the general number format with one
// blank in front of a number that is not negative (a negative one has its "-" there) and
// one blank behind: 800 gives " 800 ", -3 gives "-3 ", 0.5 under comma settings " 0,5 ".
// The single-precision form keeps 7 significant digits.
std::string PrintNumber(double v, const RegionalSettings& r);
std::string PrintNumber(float v, const RegionalSettings& r);

// A moment as the logs write "now": the short date, one blank, the time of day
// ("06/12/2026 09:05:03" under the default formats).
std::string FormatDateAndTime(const DateTime& d, const RegionalSettings& r);

}  // namespace plat
