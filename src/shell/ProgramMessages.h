#pragma once
// The program's own messages: what it says where it refuses a value, or where a file, a
// printer or the language file fails it. They are not screen texts of "Lingua.ini" (whose
// keys are fixed, see LanguageKeys.h); each is kept here in Italian, English and Spanish and
// chosen by the same language code that chooses the section of "Lingua.ini".
//
// A text holds the places {1} to {4}, filled in order by the arguments: what the message is
// about (a field's name, a file, a printer) and the system's own reason. An argument that is
// not given leaves its place empty.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vs {

struct ShellState;

enum class Msg {
  NotANumber,            // {1} field, {2} typed text
  NotAValidValue,        // {1} field, {2} typed text
  AtMostSeconds,         // {1} field, {2} the largest number of seconds
  NotWholeNumber,        // {1} field, {2} typed text
  NotNumeric,            // {1} field
  FileNotWritten,        // {1} file, {2} reason
  LogNotWritten,         // {1} file, {2} reason
  SettingsNotSaved,      // {1} file, {2} reason
  CopiesNotANumber,      // {1} typed text
  CopiesTooMany,         // {1} the largest number of copies
  PrintFailed,           // {1} the printing system's reason
  LanguageFileMissing,   // {1} file
  LanguageSectionEmpty,  // {1} section, {2} file
  LanguageTextsMissing,  // {1} missing, {2} all texts, {3} section, {4} file
  RuntimeError,          // {1} error number, {2} its text
};

inline constexpr int kMessageCount = static_cast<int>(Msg::RuntimeError) + 1;

// The text of `m` in the language of `languageCode` (2 English, 3 Spanish, any other
// Italian, as the sections of "Lingua.ini"), its places filled with `args`.
std::string MessageText(std::int16_t languageCode, Msg m,
                        std::initializer_list<std::string_view> args = {});

// The same in the language the operator chose.
std::string MessageText(const ShellState& s, Msg m,
                        std::initializer_list<std::string_view> args = {});

}  // namespace vs
