#pragma once
// The language table: the 167 screen texts that depend on the language, loaded from
// "Lingua.ini" in the current directory into ShellState::LangText. The file has one section
// per language; text k is the value of the k-th key of LanguageKey's list in the chosen
// section. Forms take their texts from the table by fixed index when they load.
#include <cstdint>
#include <string_view>

namespace vs {

struct ProgramState;

inline constexpr int kLanguageTextCount = 167;

// The "Lingua.ini" key of text k (0 to 166), UTF-8 ("Menùtitolo" ...); empty outside the
// range.
std::string_view LanguageKey(int k);

// The section of a language code: 0 and 1 "ITALIANO", 2 "INGLESE", 3 "SPAGNOLO". Any other
// code (only a hand-edited "Conf.ini" holds one) also gives "ITALIANO".
std::string_view LanguageSection(std::int16_t code);

// Points ConfIniPath at "Lingua.ini" in the current directory and fills all 167 entries of
// LangText from the code's section, key by key through one RCLIni. The result of each read
// is not looked at: a missing or empty key repeats the text before it (an empty text at
// index 0), and a missing file or section empties every text. Never fails.
void LoadLanguageTexts(ProgramState& p, std::int16_t code);

}  // namespace vs
