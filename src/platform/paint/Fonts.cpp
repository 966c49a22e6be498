#include "platform/paint/Fonts.h"

#include <algorithm>
#include <cctype>

namespace plat::paint {

namespace {
std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}
}  // namespace

std::string FontFamily(std::string_view name) {
  const std::string n = Lower(name);
  if (n.find("courier") != std::string::npos || n.find("mono") != std::string::npos ||
      n.find("fixedsys") != std::string::npos || n.find("terminal") != std::string::npos)
    return "Liberation Mono";
  if (n.find("times") != std::string::npos || n.find("serif") == 0 ||
      n.find("roman") != std::string::npos)
    return "Liberation Serif";
  // Arial, MS Sans Serif, Tahoma, Verdana, unknown names: the sans-serif face.
  return "Liberation Sans";
}

bool IsMonospaceFamily(std::string_view family) { return family == "Liberation Mono"; }

double FontPixels(double points) { return points * 96.0 / 72.0; }

}  // namespace plat::paint

// Fontconfig, under cairo's text drawing, keeps allocations that the leak checker of the
// sanitizer builds reports as lost; they are the library's, not ours.
// Kept beside tests/lsan.supp: CTest passes that file only to the test programs, not to the
// program the end-to-end scripts run.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
