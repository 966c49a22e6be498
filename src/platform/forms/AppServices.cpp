#include "platform/forms/AppServices.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/core/Error.h"
#include "platform/forms/FormsRuntime.h"

extern char** environ;

namespace plat {

namespace {

// The program's file as the shell would find it: a name with a slash as it stands, else
// the first executable of that name on PATH; "" when there is none.
std::string FindProgram(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos)
    return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? end : end - start);
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate))
      return candidate;
    if (end == std::string::npos) return {};
    start = end + 1;
  }
}

}  // namespace

void AppServices::Beep() {
  ++beeps_;
  forms_.notify([](FormsObserver& o) { o.beep(); });
}

void AppServices::End(int exitCode) {
  if (ended_) return;
  ended_ = true;
  exitCode_ = exitCode;
  forms_.stopAllTimers();
  forms_.notify([&](FormsObserver& o) { o.programEnded(exitCode); });
  if (onEnd) onEnd();
}

void AppServices::Shell(const std::string& program, const std::vector<std::string>& args) {
  if (starter_) {
    starter_(program, args);
    return;
  }
  const std::string file = FindProgram(program);
  if (file.empty()) throw RuntimeError(kErrFileNotFound, "File not found");
  // A shell that starts the program in the background and exits at once: the program is
  // left to init, and no child of ours stays behind as a zombie.
  std::vector<std::string> argv = {"sh", "-c", "\"$0\" \"$@\" </dev/null >/dev/null 2>&1 &", file};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, cargv.data(), environ) != 0)
    throw RuntimeError(kErrFileNotFound, "File not found");
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace plat
