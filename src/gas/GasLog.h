#pragma once
// "gas.log" in the program's folder: one line per measurement reply while logging is on and
// the analyser is measuring. The fields are the screen's captions as shown.
#include <filesystem>
#include <string>

namespace vs {

inline constexpr const char* kGasLogName = "gas.log";

struct GasLogLine {
  std::string co, co2, hc, o2, nox, coCorr, lambda, rpm, oilTemp;
};

// The line: the nine captions and the date and time, each followed by TAB, then the
// serial number and one blank.
std::string FormatGasLogLine(const GasLogLine& v, const std::string& dateTime,
                             const std::string& serial);

// Appends the line to "gas.log" (Windows-1252, CR LF), creating the file; a line that does
// not go in whole is taken out again. Returns the system's reason when the write failed,
// else an empty text.
std::string AppendGasLog(const std::filesystem::path& programFolder, const GasLogLine& v,
                         const std::string& dateTime, const std::string& serial);

}  // namespace vs
