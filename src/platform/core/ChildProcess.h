#pragma once
// Programs run beside this one without stopping it: a child's standard input and output are
// /dev/null, what it writes to standard error is kept, and its end is found by the event loop
// (a pidfd and the stderr pipe, polled with every other descriptor), so timers and ports go
// on being served while it runs. The end is reported on the loop, once the child is reaped.
//
//   ProcessStarter processes;
//   auto child = processes.start(loop, {"lp", "-s", file}, [&](const ChildEnd& e) { ... });
//   child.reset();  // still running: killed, reaped later by the loop; no report comes
//
// Code that starts programs takes a ChildStarter, so that tests can stand in for the program
// and end it when they choose.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/EventLoop.h"

namespace plat {

// How a child ended.
struct ChildEnd {
  bool exited = false;  // it exited by itself (otherwise a signal ended it, or it never ran)
  int exitCode = -1;    // its exit status when it exited
  // What it wrote to standard error (at most the first kMaxErrorOutput bytes); for a
  // program that could not be started, the system's reason.
  std::string errorOutput;

  static constexpr std::size_t kMaxErrorOutput = 4096;
};

using ChildEndHandler = std::function<void(const ChildEnd&)>;

// A running child. Dropping it before its end kills it; its end is then not reported.
class Child {
 public:
  virtual ~Child() = default;
};

class ChildStarter {
 public:
  virtual ~ChildStarter() = default;
  // Starts argv[0] (found on PATH unless it has a slash) with argv; onEnd runs on `loop`
  // when the child has ended.
  virtual std::unique_ptr<Child> start(EventLoop& loop, const std::vector<std::string>& argv,
                                       ChildEndHandler onEnd) = 0;
};

// Children as processes of the system. A program that cannot be started ends at once: its
// end (exited false, the reason in errorOutput) is posted on the loop.
class ProcessStarter : public ChildStarter {
 public:
  std::unique_ptr<Child> start(EventLoop& loop, const std::vector<std::string>& argv,
                               ChildEndHandler onEnd) override;
};

// The first line of a child's error output that holds more than blanks, without its line
// end and surrounding blanks ("" when there is none).
std::string FirstLine(const std::string& text);

}  // namespace plat
