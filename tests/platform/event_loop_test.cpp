#include "platform/core/EventLoop.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/ChildProcess.h"
#include "platform/core/Error.h"

namespace plat {
namespace {

// The order of timers and posted tasks is checked by the gas, link and form tests that run on
// them.
TEST(EventLoopTest, TheManualDateFollowsTheClockFromWhereItWasSetAcrossALeapDay) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  loop.advance(1500);
  loop.setLocalTime(DateTime{2028, 2, 28, 23, 59, 59});
  loop.advance(1000);
  EXPECT_EQ(loop.localTime(), (DateTime{2028, 2, 29, 0, 0, 0}));
}

TEST(EventLoopTest, NestedRunUntilKeepsTimersGoingAndStallsInsteadOfHanging) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  int ticks = 0;
  auto id = loop.startTimer(25, [&] { ++ticks; });
  loop.runUntil([&] { return ticks == 4; }, "four ticks");
  EXPECT_EQ(loop.now(), 100);
  EXPECT_THROW(loop.runUntil([] { return false; }, "forever", 1000), LoopStalled);
  loop.stopTimer(id);
  EXPECT_THROW(loop.runUntil([] { return false; }, "nothing"), LoopStalled);
  // A run nested in a tick of advance() moves the clock on; advance never turns it back.
  const Millis start = loop.now();
  ticks = 0;
  loop.startTimer(10, [&] {
    if (++ticks == 1) loop.runUntil([&] { return loop.now() >= start + 500; }, "nested");
  });
  loop.advance(100);
  EXPECT_GE(loop.now(), start + 500);
}

TEST(EventLoopTest, ErrorsOfHandlersGoToTheHookAndOnlyRuntimeErrorsAreIgnored) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  int ticks = 0;
  loop.startTimer(10, [&] {
    ++ticks;
    throw RuntimeError(kErrOverflow, "Overflow");
  });
  EXPECT_THROW(loop.advance(10), RuntimeError);  // no hook: the test sees it
  std::string reported;
  loop.setErrorHook([&](const RuntimeError& e) { reported += std::string(e.what()) + ", "; });
  loop.post([] { throw RuntimeError(kErrTypeMismatch, "Type mismatch"); });
  loop.advance(30);
  EXPECT_EQ(std::to_string(ticks) + " " + reported,
            "4 Type mismatch, Overflow, Overflow, Overflow, ");
  loop.post([] { throw std::logic_error("fault"); });  // a fault of the program passes the hook
  EXPECT_THROW(loop.advance(1), std::logic_error);

  std::vector<int> done;
  RunIgnoringErrors({[&] { done.push_back(1); }, [&] { throw RuntimeError(kErrTypeMismatch, "x"); },
                     [&] { done.push_back(3); }});
  EXPECT_EQ(done, (std::vector<int>{1, 3}));
  EXPECT_THROW(RunIgnoringErrors({[] { throw LoopStalled("x"); }}), LoopStalled);
  // A fault of the program reaches the error hook.
  EXPECT_THROW(RunIgnoringErrors({[] { throw std::logic_error("x"); }}), std::logic_error);
}

// Children run beside the loop: how each ends, with the first line it wrote to stderr, is
// told on the loop while its timers go on. Under the manual clock a child takes real time,
// so the clock keeps pace with it rather than racing past a time limit.
TEST(EventLoopTest, ChildrenEndOnTheLoopWhileTimersTickAndTheManualClockKeepsPace) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  ProcessStarter processes;
  int ticks = 0;
  loop.startTimer(25, [&] { ++ticks; });
  const auto run = [&](std::vector<std::string> argv) {
    std::optional<ChildEnd> end;
    auto child = processes.start(loop, argv, [&](const ChildEnd& e) { end = e; });
    const auto real = std::chrono::steady_clock::now();
    const Millis manual = loop.now();
    loop.runUntil([&] { return end.has_value(); }, argv.back());
    const auto realMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - real)
                            .count();
    EXPECT_LE(loop.now() - manual, realMs + 25) << argv.back();
    return std::to_string(end->exited) + " " + std::to_string(end->exitCode) + " " +
           FirstLine(end->errorOutput);
  };
  const auto sh = [&](const std::string& script) { return run({"sh", "-c", script}); };
  EXPECT_EQ(sh("exit 0"), "1 0 ");
  EXPECT_EQ(sh("printf '\\n \\t\\r\\n\\t lp: refused \\r\\nmore' >&2; exit 3"), "1 3 lp: refused");
  EXPECT_EQ(sh("head -c 100000 /dev/zero | tr '\\0' x >&2; exit 1"),
            "1 1 " + std::string(ChildEnd::kMaxErrorOutput, 'x'));
  EXPECT_EQ(sh("sleep 0.3; echo late >&2"), "1 0 late");
  EXPECT_EQ(sh("kill -9 $$"), "0 -1 ");
  EXPECT_EQ(run({"/nonexistent/lp", "-s"}), "0 -1 /nonexistent/lp: No such file or directory");
  EXPECT_GT(ticks, 0);

  // Dropped while it runs: killed, with its own children, and reaped by the loop; its end
  // is not told.
  bool told = false;
  auto child = processes.start(loop, {"sh", "-c", "sleep 30 & sleep 30"},
                               [&](const ChildEnd&) { told = true; });
  loop.advance(100);
  child.reset();
  loop.advance(200);
  EXPECT_EQ(std::tuple(waitpid(-1, nullptr, WNOHANG), errno, told), std::tuple(-1, ECHILD, false));
}

}  // namespace
}  // namespace plat
