#include "platform/text/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/text/Cp1252.h"

namespace plat {
namespace {

FileResult Failure(std::error_code error) { return {false, error.message()}; }
FileResult Failure(int error) { return Failure(std::error_code(error, std::generic_category())); }

std::string Encode(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += Utf8ToCp1252(OneLine(line));
    bytes += "\r\n";
  }
  return bytes;
}

// A special file (a device, a pipe) written where it is.
FileResult WriteInPlace(const std::string& path, std::string_view bytes, const WriteCall& write) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return Failure(errno);
  const std::error_code error = WriteAll(fd, bytes, write);
  if (::close(fd) != 0 && !error) return Failure(errno);
  return error ? Failure(error) : FileResult{};
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

FileResult WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                         const WriteCall& write) {
  ReplaceTarget target;
  if (const std::error_code error = FindReplaceTarget(path, target)) return Failure(error);
  const std::string bytes = Encode(lines);
  if (target.old == ReplaceTarget::Old::Other) return WriteInPlace(path, bytes, write);
  const std::error_code error = ReplaceFile(target, bytes, write);
  return error ? Failure(error) : FileResult{};
}

FileResult AppendTextLines(const std::string& path, const std::vector<std::string>& lines,
                           const WriteCall& write) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Failure(errno);
  std::size_t written = 0;
  std::error_code error = WriteAll(fd, Encode(lines), write, &written);
  // Nothing else writes the reading logs, so this call's bytes are the last ones.
  struct stat now {};
  if (error && written > 0 && ::fstat(fd, &now) == 0 && S_ISREG(now.st_mode))
    (void)::ftruncate(fd, now.st_size - static_cast<off_t>(written));
  if (::close(fd) != 0 && !error) error = std::error_code(errno, std::generic_category());
  return error ? Failure(error) : FileResult{};
}

}  // namespace plat
