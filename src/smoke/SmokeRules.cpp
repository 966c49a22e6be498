#include "smoke/SmokeRules.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/text/Cp1252.h"
#include "platform/text/Numbers.h"

namespace vs::smoke {

namespace {

// The value as the screen shows it: rounded to 15 significant digits.
double AsShown(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.14e", v);
  return std::strtod(text, nullptr);
}

std::string Signed(std::string digits, bool negative) {
  return negative ? digits + " " : " " + digits + " ";
}

}  // namespace

bool AtMost(double value, double limit) { return AsShown(value) <= AsShown(limit); }
bool AtLeast(double value, double limit) { return AsShown(value) >= AsShown(limit); }
bool Below(double value, double limit) { return AsShown(value) < AsShown(limit); }
bool Above(double value, double limit) { return AsShown(value) > AsShown(limit); }

std::string PrintNumber(double v, const plat::RegionalSettings& r) {
  return Signed(plat::FormatDouble(v, r), v < 0);
}

std::string PrintNumber(float v, const plat::RegionalSettings& r) {
  return Signed(plat::FormatSingle(v, r), v < 0);
}

std::optional<std::string> WriteTextLines(const std::filesystem::path& file,
                                          const std::vector<std::string>& utf8Lines) {
  std::string bytes;
  for (const std::string& line : utf8Lines) bytes += plat::Utf8ToCp1252(line) + "\r\n";
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return std::string(std::strerror(errno));
  std::string_view rest = bytes;
  while (!rest.empty()) {
    const ssize_t n = ::write(fd, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      return std::string(std::strerror(err));
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  if (::close(fd) != 0) return std::string(std::strerror(errno));
  return std::nullopt;
}

}  // namespace vs::smoke
