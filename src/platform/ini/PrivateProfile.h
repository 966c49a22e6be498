#pragma once
// Private-profile (INI) files, with the rules of the platform the settings files come from:
//  - a line ends at LF, at CR LF, or at a CR alone; blanks (space, tab) around a line are
//    ignored;
//  - "[name]" starts a section; the name runs to the last "]" of the line (to the end of
//    the line when there is none), without surrounding blanks;
//  - "key=value" is a key line: the key is the text before the first "=", the value the
//    text after it, both without surrounding blanks; a line starting with ";" is a comment;
//    other lines, and key lines before the first section, belong to no key;
//  - section and key names compare without regard to case (Windows-1252 letters, so
//    "CAFÉ" matches "café") and surrounding blanks; the first matching section and,
//    inside it, the first matching key win; a later section of the same name is not read;
//  - a value enclosed in one pair of double or single quotes loses them, and is then cut to
//    254 characters;
//  - a file is Windows-1252, unless its bytes are valid UTF-8 and hold at least one byte
//    above 0x7F (an editor re-saved it as UTF-8): then it is UTF-8, and a UTF-8 byte-order
//    mark before the first line is no part of that line. Names and values here are UTF-8
//    (Cp1252.h) either way.
// A write keeps every other byte of the file as it was, replaces the key's line in place,
// adds a missing key after the last key line of its section (after the header when there
// is none) and a missing section at the end of the file; the lines it writes end in CR LF
// and are in the file's own encoding (Windows-1252 for a new or pure-ASCII file, where a
// character it cannot hold becomes "?"). Each CR LF pair, lone CR and lone LF inside a name
// or value is written as one blank, so no text can add a line.
//
// What cannot come back from a read as it was written, by these rules: blanks at the start
// or end of a value, one pair of enclosing quotes, anything past 254 characters, an empty
// value (which reads as missing), line breaks, characters outside Windows-1252 in a
// Windows-1252 file, and Windows-1252 text whose bytes happen to make the whole file valid
// UTF-8.
//
// Reading: parse a file once into a Profile and look up as many keys as needed.
// Writing: every key of one call goes into the file in one replacement of the whole file.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace plat {

// Longest value a read returns, in characters.
inline constexpr std::size_t kProfileValueMax = 254;

// True when an INI file's bytes are taken as UTF-8 (see above).
bool IsUtf8Profile(std::string_view fileBytes);

// Where one line of a file lies, and what it is (offsets into the file's bytes).
struct ProfileLine {
  enum class Kind { Other, Section, Key };
  std::size_t begin = 0, end = 0, next = 0;  // the line without its ending; the next line
  Kind kind = Kind::Other;
  std::size_t nameAt = 0, nameSize = 0;    // section or key name, trimmed
  std::size_t valueAt = 0, valueSize = 0;  // key lines: the value, trimmed
};

// One file's bytes, parsed once.
class Profile {
 public:
  explicit Profile(std::string fileBytes);

  // The value of `key` in `section`; nothing when the section or key is missing or the
  // value is empty.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // The names of all sections in file order (what a read with no section name lists).
  std::vector<std::string> SectionNames() const;
  bool HasSection(std::string_view section) const;

 private:
  std::string_view Name(const ProfileLine& line) const;
  std::size_t FindSection(std::string_view wanted1252) const;

  std::string bytes_;
  bool utf8_ = false;
  std::vector<ProfileLine> lines_;
  std::vector<std::size_t> sections_;  // indexes of the section header lines
};

// One key and its value, for a write.
struct ProfileEntry {
  std::string key, value;
};

// --- Files on disk ---

// The parsed file; nothing when it is missing, not a regular file, or cannot be read.
std::optional<Profile> ReadProfile(const std::filesystem::path& file);

// One value, or the section names, of `file` (read once per call).
std::optional<std::string> ReadProfileString(const std::filesystem::path& file,
                                             std::string_view section, std::string_view key);
std::vector<std::string> ReadSectionNames(const std::filesystem::path& file);

// Writes every entry under `section` of `file`, creating the file, the section and the keys
// as needed. The file is replaced as a whole (platform/text/FileReplace.h): a temporary file
// ".<name>.tmp<pid>-<n>" in the same folder is written, synced and renamed over it, so a
// failure at any point leaves the old file as it was. Temporary files of that pattern left
// by a process that no longer runs (killed during a write) are removed first. The error of a
// failed write (folder missing or not writable, file unreadable or not a regular file, disk
// full); the old file is then untouched.
std::error_code WriteProfileValues(const std::filesystem::path& file, std::string_view section,
                                   const std::vector<ProfileEntry>& entries);
// One key; false on any failure.
bool WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

// --- The same rules on a file's bytes in memory ---

std::optional<std::string> ProfileValueIn(std::string_view fileBytes, std::string_view section,
                                          std::string_view key);
std::vector<std::string> SectionNamesIn(std::string_view fileBytes);
// The file's bytes after the write of the entries, or of one key.
std::string WithProfileValues(std::string_view fileBytes, std::string_view section,
                              const std::vector<ProfileEntry>& entries);
std::string WithProfileValue(std::string_view fileBytes, std::string_view section,
                             std::string_view key, std::string_view value);

}  // namespace plat
