#pragma once
// The user's regional settings: one object of the program, read from the process locale
// at start and set explicitly by tests. Numbers in settings files, on screen and in
// reports follow it; the process's own C locale stays "C".
#include <string>

namespace plat {

struct RegionalSettings {
  std::string decimalSeparator = ".";
  std::string shortDateFormat = "dd/MM/yyyy";  // d, dd, M, MM, yy, yyyy and literal text
  std::string timeFormat = "HH:mm:ss";         // H, HH, m, mm, s, ss and literal text

  // From LC_NUMERIC / LC_TIME (or LC_ALL, LANG) of the environment.
  static RegionalSettings FromEnvironment();
  static RegionalSettings Italian();  // "," and dd/MM/yyyy
  static RegionalSettings English();  // "." and dd/MM/yyyy
};

}  // namespace plat
