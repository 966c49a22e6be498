#include "platform/ini/PrivateProfile.h"

#include <fstream>
#include <sstream>

#include "platform/text/Cp1252.h"
#include "platform/text/FileReplace.h"
#include "platform/text/TextFile.h"

namespace plat {
namespace {

namespace fs = std::filesystem;
using Kind = ProfileLine::Kind;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool HasHighByte(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// [at, at + size) of `text` without the blanks around it.
void Trim(std::string_view text, std::size_t& at, std::size_t& size) {
  while (size > 0 && IsBlank(text[at])) ++at, --size;
  while (size > 0 && IsBlank(text[at + size - 1])) --size;
}

std::string_view Trim(std::string_view s) {
  std::size_t at = 0, size = s.size();
  Trim(s, at, size);
  return s.substr(at, size);
}

std::vector<ProfileLine> SplitLines(std::string_view text, bool utf8) {
  std::vector<ProfileLine> lines;
  std::size_t pos = utf8 && text.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0;
  while (pos < text.size()) {
    ProfileLine line;
    line.begin = pos;
    const std::size_t brk = text.find_first_of("\r\n", pos);
    line.end = brk == std::string_view::npos ? text.size() : brk;
    line.next = line.end;
    if (brk != std::string_view::npos) {
      line.next = text.compare(brk, 2, "\r\n") == 0 ? brk + 2 : brk + 1;
    }
    std::size_t at = line.begin, size = line.end - line.begin;
    Trim(text, at, size);
    if (size > 0 && text[at] == '[') {
      line.kind = Kind::Section;
      const std::string_view body = text.substr(at + 1, size - 1);
      const std::size_t close = body.rfind(']');
      line.nameAt = at + 1;
      line.nameSize = close == std::string_view::npos ? body.size() : close;
      Trim(text, line.nameAt, line.nameSize);
    } else if (size > 0 && text[at] != ';') {
      const std::size_t eq = text.substr(at, size).find('=');
      if (eq != std::string_view::npos) {
        line.kind = Kind::Key;
        line.nameAt = at;
        line.nameSize = eq;
        Trim(text, line.nameAt, line.nameSize);
        line.valueAt = at + eq + 1;
        line.valueSize = size - eq - 1;
        Trim(text, line.valueAt, line.valueSize);
      }
    }
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
}

std::string_view NameOf(std::string_view text, const ProfileLine& line) {
  return text.substr(line.nameAt, line.nameSize);
}

// Case folding of Windows-1252 letters to lower case.
unsigned char Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A:
      return 0x9A;  // Š
    case 0x8C:
      return 0x9C;  // Œ
    case 0x8E:
      return 0x9E;  // Ž
    case 0x9F:
      return 0xFF;  // Ÿ
    default:
      return c;
  }
}

// `inFile` is a name as the file spells it, `wanted` one in Windows-1252.
bool SameName(std::string_view inFile, bool utf8, std::string_view wanted) {
  std::string converted;
  if (utf8 && HasHighByte(inFile)) {
    converted = Utf8ToCp1252(inFile);
    inFile = converted;
  }
  if (inFile.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < inFile.size(); ++i) {
    if (Fold(static_cast<unsigned char>(inFile[i])) !=
        Fold(static_cast<unsigned char>(wanted[i]))) {
      return false;
    }
  }
  return true;
}

// Where a section's lines are: its header's index, or lines.size() when it is missing.
std::size_t FindSection(std::string_view text, const std::vector<ProfileLine>& lines, bool utf8,
                        std::string_view wanted1252) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Kind::Section && SameName(NameOf(text, lines[i]), utf8, wanted1252)) {
      return i;
    }
  }
  return lines.size();
}

// Names and values as they go into the file: no line breaks, in the file's encoding.
std::string ToFile(std::string_view utf8Text, bool utf8File) {
  const std::string oneLine = OneLine(utf8Text);
  // A UTF-8 file takes any text; malformed bytes become "?" as in a Windows-1252 file.
  if (!utf8File) return Utf8ToCp1252(oneLine);
  return IsUtf8(oneLine) ? oneLine : Cp1252ToUtf8(Utf8ToCp1252(oneLine));
}

// Ends the text with a line break unless it is empty or ends with one already.
void EndLine(std::string& out) {
  if (out.empty() || out.back() == '\n' || out.back() == '\r') return;
  out += "\r\n";
}

std::string WithOneValue(std::string_view text, bool utf8, std::string_view section,
                         std::string_view key, std::string_view value) {
  const std::string s = ToFile(Trim(section), utf8);
  const std::string k = ToFile(Trim(key), utf8);
  const std::string v = ToFile(value, utf8);
  const std::string s1252 = utf8 ? Utf8ToCp1252(s) : s;
  const std::string k1252 = utf8 ? Utf8ToCp1252(k) : k;
  const std::vector<ProfileLine> lines = SplitLines(text, utf8);
  std::string out;
  out.reserve(text.size() + s.size() + k.size() + v.size() + 8);

  const std::size_t header = FindSection(text, lines, utf8, s1252);
  if (header == lines.size()) {
    out.append(text);
    EndLine(out);
    out += "[" + s + "]\r\n" + k + "=" + v + "\r\n";
    return out;
  }

  std::size_t lastKey = header;
  for (std::size_t i = header + 1; i < lines.size(); ++i) {
    const ProfileLine& line = lines[i];
    if (line.kind == Kind::Section) break;
    if (line.kind != Kind::Key) continue;
    if (SameName(NameOf(text, line), utf8, k1252)) {
      // Same line, same key name as the file spells it, new value.
      out.append(text.substr(0, line.begin));
      out.append(NameOf(text, line));
      out += "=" + v + "\r\n";
      out.append(text.substr(line.next));
      return out;
    }
    lastKey = i;
  }
  const ProfileLine& after = lines[lastKey];
  out.append(text.substr(0, after.next));
  EndLine(out);  // that line may have ended the file without a break
  out += k + "=" + v + "\r\n";
  out.append(text.substr(after.next));
  return out;
}

std::optional<std::string> ReadFileBytes(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(content).str();
}

}  // namespace

bool IsUtf8Profile(std::string_view fileBytes) {
  return HasHighByte(fileBytes) && IsUtf8(fileBytes);
}

Profile::Profile(std::string fileBytes)
    : bytes_(std::move(fileBytes)),
      utf8_(IsUtf8Profile(bytes_)),
      lines_(SplitLines(bytes_, utf8_)) {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Kind::Section) sections_.push_back(i);
  }
}

std::string_view Profile::Name(const ProfileLine& line) const { return NameOf(bytes_, line); }

std::size_t Profile::FindSection(std::string_view wanted1252) const {
  for (const std::size_t i : sections_) {
    if (SameName(Name(lines_[i]), utf8_, wanted1252)) return i;
  }
  return lines_.size();
}

std::optional<std::string> Profile::Value(std::string_view section, std::string_view key) const {
  const std::string key1252 = Utf8ToCp1252(Trim(key));
  for (std::size_t i = FindSection(Utf8ToCp1252(Trim(section))) + 1; i < lines_.size(); ++i) {
    const ProfileLine& line = lines_[i];
    if (line.kind == Kind::Section) break;
    if (line.kind != Kind::Key || !SameName(Name(line), utf8_, key1252)) continue;
    std::string_view v = std::string_view(bytes_).substr(line.valueAt, line.valueSize);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
      v = v.substr(1, v.size() - 2);
    }
    if (v.empty()) return std::nullopt;
    if (!utf8_) return Cp1252ToUtf8(v.substr(0, kProfileValueMax));
    // Cut after 254 characters: at the 255th byte that starts one.
    std::size_t chars = 0;
    for (std::size_t b = 0; b < v.size(); ++b) {
      if ((static_cast<unsigned char>(v[b]) & 0xC0) != 0x80 && ++chars > kProfileValueMax) {
        v = v.substr(0, b);
        break;
      }
    }
    return std::string(v);
  }
  return std::nullopt;
}

std::vector<std::string> Profile::SectionNames() const {
  std::vector<std::string> names;
  for (const std::size_t i : sections_) {
    const std::string_view name = Name(lines_[i]);
    names.push_back(utf8_ ? std::string(name) : Cp1252ToUtf8(name));
  }
  return names;
}

bool Profile::HasSection(std::string_view section) const {
  return FindSection(Utf8ToCp1252(Trim(section))) < lines_.size();
}

std::optional<std::string> ProfileValueIn(std::string_view fileBytes, std::string_view section,
                                          std::string_view key) {
  return Profile(std::string(fileBytes)).Value(section, key);
}

std::vector<std::string> SectionNamesIn(std::string_view fileBytes) {
  return Profile(std::string(fileBytes)).SectionNames();
}

std::string WithProfileValues(std::string_view fileBytes, std::string_view section,
                              const std::vector<ProfileEntry>& entries) {
  const bool utf8 = IsUtf8Profile(fileBytes);
  std::string out(fileBytes);
  for (const ProfileEntry& e : entries) out = WithOneValue(out, utf8, section, e.key, e.value);
  return out;
}

std::string WithProfileValue(std::string_view fileBytes, std::string_view section,
                             std::string_view key, std::string_view value) {
  return WithOneValue(fileBytes, IsUtf8Profile(fileBytes), section, key, value);
}

std::optional<Profile> ReadProfile(const fs::path& file) {
  std::optional<std::string> bytes = ReadFileBytes(file);
  if (!bytes) return std::nullopt;
  return Profile(std::move(*bytes));
}

std::optional<std::string> ReadProfileString(const fs::path& file, std::string_view section,
                                             std::string_view key) {
  const std::optional<Profile> profile = ReadProfile(file);
  if (!profile) return std::nullopt;
  return profile->Value(section, key);
}

std::vector<std::string> ReadSectionNames(const fs::path& file) {
  const std::optional<Profile> profile = ReadProfile(file);
  if (!profile) return {};
  return profile->SectionNames();
}

std::error_code WriteProfileValues(const fs::path& file, std::string_view section,
                                   const std::vector<ProfileEntry>& entries) {
  // A link to the settings file stays a link: the file it points to is replaced.
  ReplaceTarget target;
  if (const std::error_code ec = FindReplaceTarget(file, target)) return ec;
  std::string content;
  if (target.old == ReplaceTarget::Old::Regular) {
    std::optional<std::string> bytes = ReadFileBytes(target.path);
    if (!bytes) return std::make_error_code(std::errc::permission_denied);
    content = std::move(*bytes);
  }
  return ReplaceFile(target, WithProfileValues(content, section, entries));
}

bool WriteProfileString(const fs::path& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  return !WriteProfileValues(file, section, {{std::string(key), std::string(value)}});
}

}  // namespace plat
