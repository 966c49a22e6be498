#pragma once
// Key-by-key access to one section of "Conf.ini" through one RCLIni accessor, with the
// store's reading rules:
//  - a text key that is missing or empty reads as an empty text (never as the text of the
//    key read before it);
//  - a numeric key that is missing, empty or not a number under the regional settings
//    leaves its variable as it was, and the keys after it are still read.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/RCLIni.h"

namespace vs {

struct ProgramState;

// ConfIniPath := current directory & "/" & "Conf.ini"; returns it.
const std::string& RebuildConfIniPath(ProgramState& p);

class SettingsReader {
 public:
  // Rebuilds ConfIniPath and points a new accessor at `section` of it.
  SettingsReader(ProgramState& p, std::string section);

  void SetSection(std::string section) { ini_.Section = std::move(section); }

  // The stored text of `key`, or nothing when the key is missing or empty.
  std::optional<std::string> Raw(std::string_view key);

  std::string Text(std::string_view key) { return Raw(key).value_or(std::string()); }
  // Each returns true when the variable took a new value.
  bool Int16(std::string_view key, std::int16_t& var);
  bool Single(std::string_view key, float& var);
  bool Double(std::string_view key, double& var);

 private:
  ProgramState& p_;
  RCLIni ini_;
};

class SettingsWriter {
 public:
  // Rebuilds ConfIniPath and points a new accessor at `section` of it.
  SettingsWriter(ProgramState& p, std::string section);

  void SetSection(std::string section) { ini_.Section = std::move(section); }

  // Writes one key; a failed write goes unnoticed, as for every settings write.
  void Text(std::string_view key, std::string_view value);
  void Int16(std::string_view key, std::int16_t value);
  void Single(std::string_view key, float value);
  void Double(std::string_view key, double value);

 private:
  ProgramState& p_;
  RCLIni ini_;
};

}  // namespace vs
