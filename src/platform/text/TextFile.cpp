#include "platform/text/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/text/Cp1252.h"

namespace plat {
namespace {

FileResult Failure(int error) { return {false, std::system_category().message(error)}; }

std::string Encode(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += Utf8ToCp1252(OneLine(line));
    bytes += "\r\n";
  }
  return bytes;
}

FileResult Write(const std::string& path, int flags, const std::vector<std::string>& lines) {
  const int fd = ::open(path.c_str(), flags | O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Failure(errno);
  const std::string bytes = Encode(lines);
  std::string_view rest = bytes;
  while (!rest.empty()) {
    const ssize_t n = ::write(fd, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int error = n < 0 ? errno : ENOSPC;
      ::close(fd);
      return Failure(error);
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  if (::close(fd) != 0) return Failure(errno);
  return {};
}

}  // namespace

std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += ' ';
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

FileResult WriteTextFile(const std::string& path, const std::vector<std::string>& lines) {
  return Write(path, O_TRUNC, lines);
}

FileResult AppendTextLines(const std::string& path, const std::vector<std::string>& lines) {
  return Write(path, O_APPEND, lines);
}

}  // namespace plat
