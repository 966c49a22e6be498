#pragma once
// Shared by the painter and printer tests: running a tool, and the text of a PDF as
// pdftotext extracts it.
#include <stdio.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace plat::paint::testing {

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
