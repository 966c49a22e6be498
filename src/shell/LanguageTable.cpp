#include "shell/LanguageTable.h"

#include "platform/ini/PrivateProfile.h"
#include "shell/ShellState.h"

namespace vs {

std::string_view LanguageKey(int k) {
  if (k < 0 || k >= kLanguageTextCount) return {};
  return lang::kKeys[static_cast<std::size_t>(k)];
}

std::string_view LanguageSection(std::int16_t code) {
  switch (code) {
    case 2:
      return "INGLESE";
    case 3:
      return "SPAGNOLO";
    default:
      // 0 (never set), 1, and any code that names no language: a section-less read would
      // answer every key with the list of the file's section names.
      return "ITALIANO";
  }
}

LanguageLoad LoadLanguageTexts(ShellState& s, const std::filesystem::path& folder,
                               std::int16_t code) {
  LanguageLoad load;
  load.file = folder / "Lingua.ini";
  load.section = std::string(LanguageSection(code));
  s.ConfIniPath = load.file.string();
  const std::optional<plat::Profile> profile = plat::ReadProfile(load.file);
  if (!profile) load.state = LanguageLoad::State::Missing;
  bool found = false;
  std::string text;  // a key not found keeps the text before it
  for (std::size_t k = 0; k < lang::kCount; ++k) {
    if (profile) {
      if (std::optional<std::string> value = profile->Value(load.section, lang::kKeys[k])) {
        text = std::move(*value);
        found = true;
      }
    }
    s.LangText[k] = text;
  }
  if (profile && !found) load.state = LanguageLoad::State::NoTexts;
  return load;
}

std::string LanguageLoadProblem(const LanguageLoad& load) {
  switch (load.state) {
    case LanguageLoad::State::Missing:
      return "File dei testi mancante o illeggibile:\n" + load.file.string() +
             "\nI menu mostrano i nomi dei testi.";
    case LanguageLoad::State::NoTexts:
      return "Nessun testo della lingua " + load.section + " nel file:\n" + load.file.string() +
             "\nI menu mostrano i nomi dei testi.";
    case LanguageLoad::State::Loaded:
      break;
  }
  return {};
}

std::string TextOrKey(const ShellState& s, std::size_t k) {
  if (k >= lang::kCount) return {};
  return s.LangText[k].empty() ? std::string(lang::kKeys[k]) : s.LangText[k];
}

}  // namespace vs
