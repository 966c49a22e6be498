#pragma once
// Dates and times in the user's short date and time formats.
#include <string>

#include "platform/core/DateTime.h"
#include "platform/text/RegionalSettings.h"

namespace plat {

// Pattern letters: d (day), M (month), y (year), H (hour 0-23), m (minute), s (second).
// One letter gives the number without padding, two or more give two digits; "y" and "yy"
// give the last two digits of the year (unpadded, padded) and three or more y the full
// year. Every other
// character is copied as it stands.
std::string FormatShortDate(const DateTime& d, const RegionalSettings& r);
std::string FormatTime(const DateTime& d, const RegionalSettings& r);

// The same with an explicit pattern.
std::string FormatDateTimePattern(const DateTime& d, const std::string& pattern);

}  // namespace plat
