#include "platform/core/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace plat {

namespace {

// How often the end of a child is looked for once its stderr has closed, where the kernel
// gives no pidfd to wait on.
constexpr Millis kReapRetryMs = 10;
// Reads of stderr per event, so that a child that writes without end cannot hold the loop.
constexpr int kReadsPerEvent = 16;

// A child as the loop watches it: shared by its handle and the loop's watches, and kept by
// the watches until the child is reaped, also when the handle is gone.
struct Watched {
  explicit Watched(EventLoop& l) : loop(l) {}
  ~Watched() {
    if (pidFd >= 0) ::close(pidFd);
    if (errFd >= 0) ::close(errFd);
  }
  Watched(const Watched&) = delete;
  Watched& operator=(const Watched&) = delete;

  EventLoop& loop;
  pid_t pid = 0;
  bool reaped = false;
  int pidFd = -1;  // -1: none; the end is looked for once stderr closes
  int errFd = -1;
  EventLoop::WatchId pidWatch = 0, errWatch = 0;
  EventLoop::TimerId retry = 0;
  std::string errorOutput;
  ChildEndHandler onEnd;  // dropped with the handle
};

// Takes what stderr holds now. False at its end (or when it fails): the pipe is closed.
bool ReadErrors(Watched& w) {
  char buf[1024];
  for (int i = 0; i < kReadsPerEvent; ++i) {
    const ssize_t n = ::read(w.errFd, buf, sizeof buf);
    if (n > 0) {
      const std::size_t room = ChildEnd::kMaxErrorOutput - w.errorOutput.size();
      w.errorOutput.append(buf, std::min(room, static_cast<std::size_t>(n)));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (w.errWatch) w.loop.unwatchFd(w.errWatch);
    w.errWatch = 0;
    ::close(w.errFd);
    w.errFd = -1;
    return false;
  }
  return true;
}

// Reaps the child when it has ended, stops watching it and reports its end.
void ReapIfEnded(const std::shared_ptr<Watched>& w) {
  int status = 0;
  pid_t r = 0;
  do {
    r = ::waitpid(w->pid, &status, WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == 0) return;  // still running
  w->reaped = true;
  if (w->errFd >= 0) ReadErrors(*w);  // what it wrote last
  if (w->errWatch) w->loop.unwatchFd(w->errWatch);
  if (w->pidWatch) w->loop.unwatchFd(w->pidWatch);
  if (w->retry) w->loop.stopTimer(w->retry);
  w->errWatch = w->pidWatch = w->retry = 0;
  ChildEnd end;
  end.exited = r == w->pid && WIFEXITED(status);
  end.exitCode = end.exited ? WEXITSTATUS(status) : -1;
  end.errorOutput = std::move(w->errorOutput);
  if (auto onEnd = std::move(w->onEnd)) onEnd(end);
}

void OnErrorOutput(const std::shared_ptr<Watched>& w) {
  if (ReadErrors(*w) || w->reaped || w->pidFd >= 0) return;
  // No pidfd: the end comes with stderr's, or soon after it.
  ReapIfEnded(w);
  if (!w->reaped && !w->retry) w->retry = w->loop.startTimer(kReapRetryMs, [w] { ReapIfEnded(w); });
}

class ProcessChild : public Child {
 public:
  explicit ProcessChild(std::shared_ptr<Watched> w) : w_(std::move(w)) {}
  ~ProcessChild() override {
    w_->onEnd = nullptr;
    // The whole group: a program's own helpers go with it. The loop reaps it.
    if (w_->pid > 0 && !w_->reaped) ::kill(-w_->pid, SIGKILL);
  }
  ProcessChild(const ProcessChild&) = delete;
  ProcessChild& operator=(const ProcessChild&) = delete;

 private:
  std::shared_ptr<Watched> w_;
};

// Starts argv with stdin and stdout on /dev/null and stderr on errWrite, in a process group
// of its own. Returns the pid, or 0 with errno's reason in `error`.
pid_t Spawn(const std::vector<std::string>& argv, int errWrite, int& error) {
  std::vector<std::string> args = argv;
  std::vector<char*> cargv;
  for (auto& a : args) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, errWrite, 2);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  pid_t pid = 0;
  error = posix_spawnp(&pid, cargv[0], &actions, &attr, cargv.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : 0;
}

}  // namespace

std::unique_ptr<Child> ProcessStarter::start(EventLoop& loop, const std::vector<std::string>& argv,
                                             ChildEndHandler onEnd) {
  auto w = std::make_shared<Watched>(loop);
  w->onEnd = std::move(onEnd);
  auto child = std::make_unique<ProcessChild>(w);
  const std::string program = argv.empty() ? std::string() : argv.front();
  int error = 0;
  int fds[2] = {-1, -1};
  if (argv.empty()) {
    error = ENOENT;
  } else if (::pipe2(fds, O_CLOEXEC) != 0) {
    error = errno;
  } else {
    w->errFd = fds[0];
    ::fcntl(w->errFd, F_SETFL, O_NONBLOCK);
    w->pid = Spawn(argv, fds[1], error);
    ::close(fds[1]);
  }
  if (w->pid == 0) {
    w->reaped = true;
    ChildEnd end;
    end.errorOutput = program + ": " + std::strerror(error);
    loop.post([w, end] {
      if (auto report = std::move(w->onEnd)) report(end);
    });
    return child;
  }
  w->pidFd = static_cast<int>(::syscall(SYS_pidfd_open, w->pid, 0));
  w->errWatch = loop.watchFd(
      w->errFd, [w] { OnErrorOutput(w); }, EventLoop::Pace::RealTime);
  if (w->pidFd >= 0)
    w->pidWatch = loop.watchFd(
        w->pidFd, [w] { ReapIfEnded(w); }, EventLoop::Pace::RealTime);
  return child;
}

std::string FirstLine(const std::string& text) {
  constexpr const char* kBlanks = " \t\r\v\f";
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = text.find('\n', start);
    if (stop == std::string::npos) stop = text.size();
    const std::string line = text.substr(start, stop - start);
    const std::size_t first = line.find_first_not_of(kBlanks);
    if (first != std::string::npos)
      return line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
    start = stop + 1;
  }
  return {};
}

}  // namespace plat
