#include "platform/text/DateFormat.h"

namespace plat {
namespace {

std::string Padded(int v, std::size_t width) {
  std::string s = std::to_string(v < 0 ? -v : v);
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return v < 0 ? "-" + s : s;
}

}  // namespace

std::string FormatDateTimePattern(const DateTime& d, const std::string& pattern) {
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    int value = 0;
    switch (c) {
      case 'd':
        value = d.day;
        break;
      case 'M':
        value = d.month;
        break;
      case 'H':
        value = d.hour;
        break;
      case 'm':
        value = d.minute;
        break;
      case 's':
        value = d.second;
        break;
      case 'y':
        if (run <= 2) {
          out += Padded(d.year % 100, run);
        } else {
          out += Padded(d.year, 4);
        }
        i += run;
        continue;
      default:
        out += c;
        ++i;
        continue;
    }
    out += Padded(value, run >= 2 ? 2 : 1);
    i += run;
  }
  return out;
}

std::string FormatShortDate(const DateTime& d, const RegionalSettings& r) {
  return FormatDateTimePattern(d, r.shortDateFormat);
}

std::string FormatTime(const DateTime& d, const RegionalSettings& r) {
  return FormatDateTimePattern(d, r.timeFormat);
}

}  // namespace plat
