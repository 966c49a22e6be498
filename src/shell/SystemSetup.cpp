#include "shell/SystemSetup.h"

#include "platform/core/Error.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Numbers.h"
#include "shell/ShellState.h"

namespace vs {

namespace {

constexpr unsigned char kScrambleKey = 0xA7;
constexpr std::string_view kSection = "IMPOSTAZIONI";

// The unscrambled text of `key`, or nothing when the key is missing or empty.
std::optional<std::string> ReadScrambled(const std::optional<plat::Profile>& file,
                                         std::string_view key) {
  if (!file) return std::nullopt;
  auto raw = file->Value(kSection, key);
  if (!raw) return std::nullopt;
  return ScrambleString(*raw);
}

// A double read from the section: missing -> default, not a number -> kept.
void ReadCoefficient(const std::optional<plat::Profile>& file, std::string_view key,
                     const plat::RegionalSettings& regional, double fallback, double& var) {
  const auto s = ReadScrambled(file, key);
  if (!s || s->empty()) {
    var = fallback;
    return;
  }
  try {
    var = plat::ParseDouble(*s, regional);
  } catch (const plat::RuntimeError&) {
    // Not a number: the coefficient stays as it was.
  }
}

}  // namespace

std::string ScrambleString(std::string_view s) {
  std::string bytes = plat::Utf8ToCp1252(s);
  for (char& c : bytes) {
    c = static_cast<char>(static_cast<unsigned char>(c) ^ kScrambleKey);
  }
  return plat::Cp1252ToUtf8(bytes);
}

SaveResult SaveSystemSettings(ShellState& s, const SettingsPlace& at) {
  const SaveResult result = WriteConfIni(
      s, at, kSection,
      {{"AbiM", ScrambleString(plat::FormatInt(s.SystemEnableMask) + std::string(kMaskTag))},
       {"Kquad", ScrambleString(plat::FormatDoubleReadable(s.GasKquad, at.regional))},
       {"Klin", ScrambleString(plat::FormatDoubleReadable(s.GasKlin, at.regional))}});
  if (result) LoadSystemSettings(s, at);
  return result;
}

void LoadSystemSettings(ShellState& s, const SettingsPlace& at) {
  const std::optional<plat::Profile> file = ReadConfIni(s, at);
  const auto mask = ReadScrambled(file, "AbiM");
  if (!mask || mask->empty()) {
    s.SystemEnableMask = 0;
  } else {
    // Only the first character counts; the tag behind it is not looked at.
    const std::string first = plat::Cp1252ToUtf8(plat::Utf8ToCp1252(*mask).substr(0, 1));
    try {
      s.SystemEnableMask = plat::ParseByte(first, at.regional);
    } catch (const plat::RuntimeError&) {
      // Not a digit: the mask stays as it was.
    }
  }
  ReadCoefficient(file, "Kquad", at.regional, kDefaultGasKquad, s.GasKquad);
  ReadCoefficient(file, "Klin", at.regional, kDefaultGasKlin, s.GasKlin);
}

}  // namespace vs
