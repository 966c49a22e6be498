#include "platform/print/PdfPrinter.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/core/Error.h"
#include "platform/forms/Form.h"

extern char** environ;

namespace plat {

namespace {

[[noreturn]] void Fail() { throw RuntimeError(kErrPrintFailed, "Printer error"); }

// A temporary file that is removed when it goes out of scope.
class TempPdf {
 public:
  TempPdf() {
    std::error_code ec;
    auto dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    std::string name = (dir / "print-XXXXXX.pdf").string();
    const int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) Fail();
    ::close(fd);
    path_ = name;
  }
  ~TempPdf() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  TempPdf(const TempPdf&) = delete;
  TempPdf& operator=(const TempPdf&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs argv (the program found on PATH) and waits at most `limit`; true when it exited 0.
bool Run(std::vector<std::string> argv, std::chrono::milliseconds limit) {
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, cargv[0], &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(pid, SIGKILL);
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void PdfPrinter::printForm(Form& form, int copies) {
  if (copies < 1) return;
  TempPdf pdf;
  try {
    paint::WriteFormPdf(form, pdf.path(), copies, options);
  } catch (const paint::DrawError&) {
    Fail();
  }
  const std::string title = form.Caption().empty() ? form.name() : form.Caption();
  if (!Run({command, "-s", "-t", title, pdf.path().string()}, timeLimit)) Fail();
}

}  // namespace plat
