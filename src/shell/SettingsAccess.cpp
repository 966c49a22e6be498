#include "shell/SettingsAccess.h"

#include "platform/core/Error.h"
#include "platform/text/Numbers.h"
#include "state/ProgramState.h"

namespace vs {

const std::string& RebuildConfIniPath(ProgramState& p) {
  // The separator goes in even when the directory already ends with one.
  p.shell.ConfIniPath = p.rt.currentDirectory.string() + "/" + "Conf.ini";
  return p.shell.ConfIniPath;
}

namespace {

// Runs parse on the stored text and stores its result; a text that does not convert (type
// mismatch, overflow) leaves the variable as it was.
template <class T, class Parse>
bool Convert(const std::optional<std::string>& text, T& var, Parse parse) {
  if (!text) return false;
  try {
    var = parse(*text);
    return true;
  } catch (const plat::RuntimeError&) {
    return false;
  }
}

}  // namespace

SettingsReader::SettingsReader(ProgramState& p, std::string section) : p_(p) {
  ini_.File = RebuildConfIniPath(p);
  ini_.Section = std::move(section);
}

std::optional<std::string> SettingsReader::Raw(std::string_view key) {
  ini_.key = std::string(key);
  if (!ini_.GetValue()) return std::nullopt;
  return ini_.Value;
}

bool SettingsReader::Int16(std::string_view key, std::int16_t& var) {
  return Convert(Raw(key), var,
                 [this](const std::string& s) { return plat::ParseInt16(s, p_.rt.regional); });
}

bool SettingsReader::Single(std::string_view key, float& var) {
  return Convert(Raw(key), var,
                 [this](const std::string& s) { return plat::ParseSingle(s, p_.rt.regional); });
}

bool SettingsReader::Double(std::string_view key, double& var) {
  return Convert(Raw(key), var,
                 [this](const std::string& s) { return plat::ParseDouble(s, p_.rt.regional); });
}

SettingsWriter::SettingsWriter(ProgramState& p, std::string section) : p_(p) {
  ini_.File = RebuildConfIniPath(p);
  ini_.Section = std::move(section);
}

void SettingsWriter::Text(std::string_view key, std::string_view value) {
  ini_.key = std::string(key);
  ini_.Value = std::string(value);
  ini_.SetValue();
}

void SettingsWriter::Int16(std::string_view key, std::int16_t value) {
  Text(key, plat::FormatInt(value));
}

void SettingsWriter::Single(std::string_view key, float value) {
  Text(key, plat::FormatSingle(value, p_.rt.regional));
}

void SettingsWriter::Double(std::string_view key, double value) {
  Text(key, plat::FormatDouble(value, p_.rt.regional));
}

}  // namespace vs
