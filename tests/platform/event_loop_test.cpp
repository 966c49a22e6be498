#include "platform/core/EventLoop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace plat
