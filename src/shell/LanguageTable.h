#pragma once
// The language table: the 167 screen texts that depend on the language, loaded from
// "Lingua.ini" in the current directory into ShellState::LangText. The file has one section
// per language; text k is the value of the k-th key of lang::kKeys (LanguageKeys.h,
// generated with the file) in the chosen section. Forms take their texts from the table by
// named index when they load: LangText[lang::DVeicoliCaption].
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "shell/LanguageKeys.h"

namespace vs {

struct ShellState;

inline constexpr int kLanguageTextCount = static_cast<int>(lang::kCount);

// The "Lingua.ini" key of text k (0 to 166), UTF-8 ("Menùtitolo" ...); empty outside the
// range.
std::string_view LanguageKey(int k);

// The section of a language code: 0 and 1 "ITALIANO", 2 "INGLESE", 3 "SPAGNOLO". Any other
// code (only a hand-edited "Conf.ini" holds one) also gives "ITALIANO".
std::string_view LanguageSection(std::int16_t code);

// What a load found.
struct LanguageLoad {
  enum class State {
    Loaded,   // at least one text of the language
    Missing,  // no readable file
    NoTexts,  // the file holds none of the language's keys
  };
  State state = State::Loaded;
  std::filesystem::path file;
  std::string section;
  std::int16_t code = 0;  // the language code loaded, which also chooses the words told
  int missing = 0;        // keys of the section missing or empty (all of them unless Loaded)
};

// Points ConfIniPath at "Lingua.ini" in `folder`, reads the file once and fills all 167
// entries of LangText from the code's section. A missing or empty key repeats the text
// before it (an empty text at index 0); a missing file or section empties every text.
LanguageLoad LoadLanguageTexts(ShellState& s, const std::filesystem::path& folder,
                               std::int16_t code);

// The words for the operator, in the language loaded, when a load found no texts or missed
// some, naming the file (and the section and how many texts are missing); empty after a load
// that found every text.
std::string LanguageLoadProblem(const LanguageLoad& load);

// Text k, or its key when the text is empty: a caption that must never vanish.
std::string TextOrKey(const ShellState& s, std::size_t k);

}  // namespace vs
