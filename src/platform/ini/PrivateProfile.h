#pragma once
// Private-profile (INI) files, one key at a time, with the rules of the platform the
// settings files come from:
//  - lines end in LF or CR LF; blanks (space, tab) around a line are ignored;
//  - "[name]" starts a section; the name runs to the last "]" of the line (to the end of
//    the line when there is none), without surrounding blanks;
//  - "key=value" is a key line: the key is the text before the first "=", the value the
//    text after it, both without surrounding blanks; a line starting with ";" is a comment;
//    other lines, and key lines before the first section, belong to no key;
//  - section and key names compare without regard to case (Windows-1252 letters, so
//    "UMIDITÀ" matches "umidità") and surrounding blanks; the first matching section and,
//    inside it, the first matching key win; a later section of the same name is not read;
//  - a value enclosed in one pair of double or single quotes loses them, and is then cut to
//    254 characters;
//  - files are Windows-1252 on disk; names and values here are UTF-8 (Cp1252.h).
// A write keeps every other line byte for byte, replaces the key's line in place, adds a
// missing key after the last key line of its section (after the header when there is
// none) and a missing section at the end of the file; the lines it writes end in CR LF.
// A CR or LF inside a name or value is written as one blank, so no text can add a line.
//
// What cannot come back from a read as it was written, by these rules: blanks at the start
// or end of a value, one pair of enclosing quotes, anything past 254 characters, and an
// empty value (which reads as missing).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Longest value a read returns, in characters.
inline constexpr std::size_t kProfileValueMax = 254;

// The value of `key` in `section` of `file`; nothing when the file, section or key is
// missing, the value is empty, or the file cannot be read (or is not a regular file).
std::optional<std::string> ReadProfileString(const std::filesystem::path& file,
                                             std::string_view section, std::string_view key);

// The names of all sections of `file` in file order (what a read with no section name
// lists); empty when the file cannot be read.
std::vector<std::string> ReadSectionNames(const std::filesystem::path& file);

// Writes `value` under `key` in `section` of `file`, creating the file, the section and
// the key as needed. The file is replaced as a whole: a temporary file in the same folder
// is written, flushed and renamed over it, so a failure at any point leaves the old file
// as it was. False on any failure (folder missing or not writable, file unreadable, disk
// full); the old file is then untouched.
bool WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

// The same rules on a file's bytes in memory (Windows-1252), for callers that hold them.
std::optional<std::string> ProfileValueIn(std::string_view fileBytes, std::string_view section,
                                          std::string_view key);
std::vector<std::string> SectionNamesIn(std::string_view fileBytes);
// The file's bytes after the write of one key.
std::string WithProfileValue(std::string_view fileBytes, std::string_view section,
                             std::string_view key, std::string_view value);

}  // namespace plat
