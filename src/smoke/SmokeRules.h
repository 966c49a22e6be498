#pragma once
// The three rules the smoke subsystem shares with the rest of the program, each in one
// place: how a value is compared with its limit, how a number is written in a key=value
// report line, and how a text file is written.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/RegionalSettings.h"

namespace vs::smoke {

// A value compared with its limit as the screen shows both (15 significant digits): a mean
// of 0.1, 0.1 and 0.1 is at most a limit of 0.1 although the binary sum lies a little above.
bool AtMost(double value, double limit);   // value <= limit
bool AtLeast(double value, double limit);  // value >= limit
bool Below(double value, double limit);    // value < limit
bool Above(double value, double limit);    // value > limit

// A number as a key=value report line holds it: one blank before a value that is not
// negative ("-" before a negative one), the general number format, one blank behind
// (" 800 ", "-1.5 "). Single precision keeps 7 significant digits, double 15.
std::string PrintNumber(double v, const plat::RegionalSettings& r);
std::string PrintNumber(float v, const plat::RegionalSettings& r);

// Replaces `file` with the lines, each converted from UTF-8 to Windows-1252 and ended by
// CR LF. Returns nothing on success, else the system's reason ("Permission denied").
std::optional<std::string> WriteTextLines(const std::filesystem::path& file,
                                          const std::vector<std::string>& utf8Lines);

}  // namespace vs::smoke
