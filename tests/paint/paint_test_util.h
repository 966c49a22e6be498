#pragma once
// Shared by the painter and printer tests: a temporary folder, running a tool, and the text
// of a PDF as pdftotext extracts it.
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace plat::paint::testing {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vs-paint-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data()) ? tmpl : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Standard output of a shell command; nullopt when it exits non-zero.
inline std::optional<std::string> Capture(const std::string& command) {
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return std::nullopt;
  std::string out;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  return ::pclose(p) == 0 ? std::optional(out) : std::nullopt;
}

inline bool HavePdfToText() { return Capture("command -v pdftotext >/dev/null 2>&1").has_value(); }

// The text of a PDF; pages are separated by form feeds.
inline std::string PdfText(const std::filesystem::path& pdf) {
  return Capture("pdftotext '" + pdf.string() + "' - 2>/dev/null").value_or("<pdftotext failed>");
}

}  // namespace plat::paint::testing
