#include "shell/LanguageTable.h"

#include "platform/ini/PrivateProfile.h"
#include "shell/ProgramMessages.h"
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
  load.code = code;
  s.ConfIniPath = load.file.string();
  const std::optional<plat::Profile> profile = plat::ReadProfile(load.file);
  if (!profile) load.state = LanguageLoad::State::Missing;
  std::string text;  // a key not found keeps the text before it
  for (std::size_t k = 0; k < lang::kCount; ++k) {
    std::optional<std::string> value;
    if (profile) value = profile->Value(load.section, lang::kKeys[k]);
    if (value)
      text = std::move(*value);
    else
      ++load.missing;
    s.LangText[k] = text;
  }
  if (profile && load.missing == kLanguageTextCount) load.state = LanguageLoad::State::NoTexts;
  return load;
}

std::string LanguageLoadProblem(const LanguageLoad& load) {
  const std::string file = load.file.string();
  switch (load.state) {
    case LanguageLoad::State::Missing:
      return MessageText(load.code, Msg::LanguageFileMissing, {file});
    case LanguageLoad::State::NoTexts:
      return MessageText(load.code, Msg::LanguageSectionEmpty, {load.section, file});
    case LanguageLoad::State::Loaded:
      break;
  }
  if (load.missing == 0) return {};
  return MessageText(
      load.code, Msg::LanguageTextsMissing,
      {std::to_string(load.missing), std::to_string(kLanguageTextCount), load.section, file});
}

std::string TextOrKey(const ShellState& s, std::size_t k) {
  if (k >= lang::kCount) return {};
  return s.LangText[k].empty() ? std::string(lang::kKeys[k]) : s.LangText[k];
}

}  // namespace vs
