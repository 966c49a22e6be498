#pragma once
// Shared by the painter, printer and smoke report tests: the text of a PDF as pdftotext
// extracts it, pages separated by form feeds; with `layout`, each line as the page sets it.
#include <stdio.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace plat::paint::testing {

inline bool HavePdfToText() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

inline std::string PdfText(const std::filesystem::path& pdf, bool layout = false) {
  const std::string options = layout ? "-layout '" : "'";
  FILE* p = ::popen(("pdftotext " + options + pdf.string() + "' - 2>/dev/null").c_str(), "r");
  if (!p) return "<pdftotext failed>";
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  return ::pclose(p) == 0 ? out : "<pdftotext failed>";
}

}  // namespace plat::paint::testing
