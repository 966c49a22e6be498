#include "platform/text/FileReplace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace plat {
namespace {

namespace fs = std::filesystem;

std::error_code LastError() { return {errno, std::generic_category()}; }

std::string TempPrefix(const fs::path& target) { return "." + target.filename().string() + ".tmp"; }

// Removes the temporary files of `target` whose writer no longer runs: a process killed
// during a write leaves one behind.
void RemoveStaleTempFiles(const fs::path& folder, const fs::path& target) {
  const std::string prefix = TempPrefix(target);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix)) continue;
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos) continue;
    if (rest.find_first_not_of("0123456789-") != std::string::npos) continue;
    const long pid = std::strtol(rest.c_str(), nullptr, 10);
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // still running
    std::error_code ignored;
    fs::remove(it->path(), ignored);
  }
}

}  // namespace

std::error_code WriteAll(int fd, std::string_view data, const WriteCall& write,
                         std::size_t* written) {
  const std::size_t size = data.size();
  const auto done = [&] {
    if (written != nullptr) *written = size - data.size();
  };
  while (!data.empty()) {
    const ssize_t n =
        write ? write(fd, data.data(), data.size()) : ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::error_code error =
          n < 0 ? LastError() : std::make_error_code(std::errc::no_space_on_device);
      done();
      return error;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  done();
  return {};
}

std::error_code FindReplaceTarget(const fs::path& file, ReplaceTarget& target) {
  if (file.empty()) return std::make_error_code(std::errc::invalid_argument);
  std::error_code ec;
  target.path = fs::weakly_canonical(file, ec);
  if (ec) return ec;
  struct stat old {};
  if (::stat(target.path.c_str(), &old) != 0) {
    if (errno != ENOENT) return LastError();
    target.old = ReplaceTarget::Old::None;
    target.mode = 0;
    return {};
  }
  target.old = S_ISREG(old.st_mode)   ? ReplaceTarget::Old::Regular
               : S_ISDIR(old.st_mode) ? ReplaceTarget::Old::Directory
                                      : ReplaceTarget::Old::Other;
  target.mode = old.st_mode & 07777;
  return {};
}

std::error_code ReplaceFile(const ReplaceTarget& target, std::string_view content,
                            const WriteCall& write) {
  if (target.old == ReplaceTarget::Old::Directory)
    return std::make_error_code(std::errc::is_a_directory);
  if (target.old == ReplaceTarget::Old::Other)
    return std::make_error_code(std::errc::invalid_argument);
  fs::path folder = target.path.parent_path();
  if (folder.empty()) folder = ".";
  RemoveStaleTempFiles(folder, target.path);
  const std::string stem = TempPrefix(target.path) + std::to_string(::getpid());
  fs::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder / (stem + "-" + std::to_string(attempt));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return LastError();
  }
  if (fd < 0) return std::make_error_code(std::errc::file_exists);
  if (target.old == ReplaceTarget::Old::Regular) (void)::fchmod(fd, target.mode);
  std::error_code error = WriteAll(fd, content, write);
  if (!error && ::fsync(fd) != 0) error = LastError();
  if (::close(fd) != 0 && !error) error = LastError();
  if (!error && std::rename(temp.c_str(), target.path.c_str()) != 0) error = LastError();
  if (error) ::unlink(temp.c_str());
  return error;
}

}  // namespace plat
