#include "platform/ini/PrivateProfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/text/Cp1252.h"

namespace plat {
namespace {

namespace fs = std::filesystem;

enum class LineKind { Other, Section, Key };

// One line of the file: [begin, end) are its bytes without the line ending, next is where
// the following line starts.
struct Line {
  std::size_t begin = 0, end = 0, next = 0;
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key lines: the value, trimmed
};

// Blanks around names, values and lines. A stray CR counts as one, so that a line ending
// CR CR LF still reads as the line it was.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    Line line;
    line.begin = pos;
    const std::size_t lf = text.find('\n', pos);
    line.end = lf == std::string_view::npos ? text.size() : lf;
    line.next = lf == std::string_view::npos ? text.size() : lf + 1;
    std::string_view body = Trim(text.substr(line.begin, line.end - line.begin));
    if (!body.empty() && body.front() == '[') {
      line.kind = LineKind::Section;
      body.remove_prefix(1);
      const std::size_t close = body.rfind(']');
      line.name = Trim(close == std::string_view::npos ? body : body.substr(0, close));
    } else if (!body.empty() && body.front() != ';') {
      const std::size_t eq = body.find('=');
      if (eq != std::string_view::npos) {
        line.kind = LineKind::Key;
        line.name = Trim(body.substr(0, eq));
        line.value = Trim(body.substr(eq + 1));
      }
    }
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
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

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Ends the text with a line break unless it is empty or ends with one already.
void EndLine(std::string& out) {
  if (out.empty() || out.back() == '\n') return;
  out += out.back() == '\r' ? "\n" : "\r\n";
}

// Names and values as they go into the file: Windows-1252, no line breaks.
std::string ToFile(std::string_view utf8) {
  std::string s = Utf8ToCp1252(utf8);
  for (char& c : s) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return s;
}

// Where a section's lines are: its header's index, or lines.size() when it is missing.
std::size_t FindSection(const std::vector<Line>& lines, std::string_view name) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::Section && SameName(lines[i].name, name)) return i;
  }
  return lines.size();
}

// The raw value of a key (quotes not yet removed), in 1252 bytes.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  const std::size_t header = FindSection(lines, section);
  for (std::size_t i = header + 1; i < lines.size(); ++i) {
    if (lines[i].kind == LineKind::Section) break;
    if (lines[i].kind == LineKind::Key && SameName(lines[i].name, key)) return lines[i].value;
  }
  return std::nullopt;
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

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Writes `content` to a new file beside `target` and renames it over `target`.
bool ReplaceFile(const fs::path& target, std::string_view content, const struct stat* old) {
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  const std::string stem = "." + target.filename().string() + ".tmp" + std::to_string(::getpid());
  fs::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder / (stem + "-" + std::to_string(attempt));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  if (old != nullptr) (void)::fchmod(fd, old->st_mode & 07777);
  const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> ProfileValueIn(std::string_view fileBytes, std::string_view section,
                                          std::string_view key) {
  const std::string section1252 = Utf8ToCp1252(Trim(section));
  const std::string key1252 = Utf8ToCp1252(Trim(key));
  std::optional<std::string_view> raw = FindValue(fileBytes, section1252, key1252);
  if (!raw) return std::nullopt;
  std::string_view v = *raw;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  v = v.substr(0, kProfileValueMax);
  if (v.empty()) return std::nullopt;
  return Cp1252ToUtf8(v);
}

std::vector<std::string> SectionNamesIn(std::string_view fileBytes) {
  std::vector<std::string> names;
  for (const Line& line : SplitLines(fileBytes)) {
    if (line.kind == LineKind::Section) names.push_back(Cp1252ToUtf8(line.name));
  }
  return names;
}

std::string WithProfileValue(std::string_view fileBytes, std::string_view section,
                             std::string_view key, std::string_view value) {
  const std::string s = ToFile(Trim(section));
  const std::string k = ToFile(Trim(key));
  const std::string v = ToFile(value);
  const std::vector<Line> lines = SplitLines(fileBytes);
  std::string out;
  out.reserve(fileBytes.size() + s.size() + k.size() + v.size() + 8);

  const std::size_t header = FindSection(lines, s);
  if (header == lines.size()) {
    out.append(fileBytes);
    EndLine(out);
    out += "[" + s + "]\r\n" + k + "=" + v + "\r\n";
    return out;
  }

  std::size_t lastKey = header;
  for (std::size_t i = header + 1; i < lines.size(); ++i) {
    const Line& line = lines[i];
    if (line.kind == LineKind::Section) break;
    if (line.kind != LineKind::Key) continue;
    if (SameName(line.name, k)) {
      // Same line, same key name as the file spells it, new value.
      out.append(fileBytes.substr(0, line.begin));
      out.append(line.name);
      out += "=" + v + "\r\n";
      out.append(fileBytes.substr(line.next));
      return out;
    }
    lastKey = i;
  }
  const Line& after = lines[lastKey];
  out.append(fileBytes.substr(0, after.next));
  EndLine(out);  // that line may have ended the file without a break
  out += k + "=" + v + "\r\n";
  out.append(fileBytes.substr(after.next));
  return out;
}

std::optional<std::string> ReadProfileString(const fs::path& file, std::string_view section,
                                             std::string_view key) {
  const std::optional<std::string> bytes = ReadFileBytes(file);
  if (!bytes) return std::nullopt;
  return ProfileValueIn(*bytes, section, key);
}

std::vector<std::string> ReadSectionNames(const fs::path& file) {
  const std::optional<std::string> bytes = ReadFileBytes(file);
  if (!bytes) return {};
  return SectionNamesIn(*bytes);
}

bool WriteProfileString(const fs::path& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (file.empty()) return false;
  std::error_code ec;
  // A link to the settings file stays a link: the file it points to is replaced.
  const fs::path target = fs::weakly_canonical(file, ec);
  if (ec) return false;

  struct stat old {};
  std::string content;
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed) {
    if (!S_ISREG(old.st_mode)) return false;
    std::optional<std::string> bytes = ReadFileBytes(target);
    if (!bytes) return false;
    content = std::move(*bytes);
  } else if (errno != ENOENT) {
    return false;
  }
  return ReplaceFile(target, WithProfileValue(content, section, key, value),
                     existed ? &old : nullptr);
}

}  // namespace plat
