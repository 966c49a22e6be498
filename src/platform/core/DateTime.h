#pragma once
// A calendar date and time of day, local time.

namespace plat {

struct DateTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

}  // namespace plat
