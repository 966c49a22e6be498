#include "shell/SystemSetup.h"

#include "platform/core/Error.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Numbers.h"
#include "shell/SettingsAccess.h"
#include "state/ProgramState.h"

namespace vs {

namespace {

constexpr unsigned char kScrambleKey = 0xA7;

// The unscrambled text of `key`, or nothing when the key is missing or empty.
std::optional<std::string> ReadScrambled(SettingsReader& r, std::string_view key) {
  auto raw = r.Raw(key);
  if (!raw) return std::nullopt;
  return ScrambleString(*raw);
}

// A double read from the section: missing -> default, not a number -> kept.
void ReadCoefficient(ProgramState& p, SettingsReader& r, std::string_view key, double fallback,
                     double& var) {
  const auto s = ReadScrambled(r, key);
  if (!s || s->empty()) {
    var = fallback;
    return;
  }
  try {
    var = plat::ParseDouble(*s, p.rt.regional);
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

void SaveSystemSettings(ProgramState& p, std::int16_t mask, double kquad, double klin) {
  SettingsWriter w(p, "IMPOSTAZIONI");
  w.Text("AbiM", ScrambleString(plat::FormatInt(mask) + std::string(kMaskTag)));
  w.Text("Kquad", ScrambleString(plat::FormatDouble(kquad, p.rt.regional)));
  w.Text("Klin", ScrambleString(plat::FormatDouble(klin, p.rt.regional)));
}

void LoadSystemSettings(ProgramState& p) {
  SettingsReader r(p, "IMPOSTAZIONI");
  ShellState& s = p.shell;

  const auto mask = ReadScrambled(r, "AbiM");
  if (!mask || mask->empty()) {
    s.SystemEnableMask = 0;
  } else {
    // Only the first character counts; the tag behind it is not looked at.
    const std::string first = plat::Cp1252ToUtf8(plat::Utf8ToCp1252(*mask).substr(0, 1));
    try {
      s.SystemEnableMask = plat::ParseByte(first, p.rt.regional);
    } catch (const plat::RuntimeError&) {
      // Not a digit: the mask stays as it was.
    }
  }
  ReadCoefficient(p, r, "Kquad", kDefaultGasKquad, s.GasKquad);
  ReadCoefficient(p, r, "Klin", kDefaultGasKlin, s.GasKlin);
}

}  // namespace vs
