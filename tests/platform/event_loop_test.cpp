#include "platform/core/EventLoop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/Error.h"

namespace plat {
namespace {

TEST(EventLoopTest, ManualClockFiresTimersInTimeOrder) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  std::vector<std::pair<char, Millis>> log;
  loop.startTimer(25, [&] { log.push_back({'a', loop.now()}); });
  loop.startTimer(40, [&] { log.push_back({'b', loop.now()}); });
  loop.advance(100);
  const std::vector<std::pair<char, Millis>> expected = {{'a', 25}, {'b', 40}, {'a', 50},
                                                         {'a', 75}, {'b', 80}, {'a', 100}};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(loop.now(), 100);
}

TEST(EventLoopTest, TimerStoppedInsideItsOwnTickAndPostedTasksRunBetweenTicks) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  int ticks = 0;
  std::vector<int> order;
  EventLoop::TimerId id = 0;
  id = loop.startTimer(10, [&] {
    order.push_back(++ticks);
    loop.post([&] { order.push_back(100 + ticks); });
    if (ticks == 3) loop.stopTimer(id);
  });
  loop.advance(1000);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(order, (std::vector<int>{1, 101, 2, 102, 3, 103}));
}

TEST(EventLoopTest, NestedRunUntilKeepsTimersGoingAndStallsInsteadOfHanging) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  int ticks = 0;
  auto id = loop.startTimer(25, [&] { ++ticks; });
  loop.runUntil([&] { return ticks == 4; }, "four ticks");
  EXPECT_EQ(loop.now(), 100);
  loop.stopTimer(id);
  EXPECT_THROW(loop.runUntil([] { return false; }, "nothing"), LoopStalled);
  loop.startTimer(25, [] {});
  EXPECT_THROW(loop.runUntil([] { return false; }, "forever", 1000), LoopStalled);
}

TEST(EventLoopTest, ManualDateMovesWithTheClock) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  loop.setLocalTime(DateTime{2026, 12, 31, 23, 59, 59});
  loop.advance(1500);
  EXPECT_EQ(loop.localTime(), (DateTime{2027, 1, 1, 0, 0, 0}));
}

TEST(EventLoopTest, AdvanceNeverTurnsTheClockBackAfterANestedRun) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  int ticks = 0;
  loop.startTimer(10, [&] {
    if (++ticks == 1) loop.runUntil([&] { return loop.now() >= 500; }, "nested");
  });
  loop.advance(100);
  EXPECT_GE(loop.now(), 500);
}

TEST(EventLoopTest, ErrorsOfHandlersGoToTheHookAndTheLoopGoesOn) {
  EventLoop loop(EventLoop::ClockKind::Manual);
  int ticks = 0;
  loop.startTimer(10, [&] {
    ++ticks;
    throw RuntimeError(kErrOverflow, "Overflow");
  });
  EXPECT_THROW(loop.advance(10), RuntimeError);  // no hook: the test sees it
  std::vector<std::string> reported;
  loop.setErrorHook([&](const std::exception& e) { reported.push_back(e.what()); });
  loop.post([] { throw RuntimeError(kErrTypeMismatch, "Type mismatch"); });
  loop.advance(30);
  EXPECT_EQ(ticks, 4);
  EXPECT_EQ(reported,
            (std::vector<std::string>{"Type mismatch", "Overflow", "Overflow", "Overflow"}));
}

TEST(ErrorTest, RunIgnoringErrorsSkipsOnlyTheStepWithARuntimeError) {
  std::vector<int> done;
  RunIgnoringErrors({[&] { done.push_back(1); }, [&] { throw RuntimeError(kErrTypeMismatch, "x"); },
                     [&] { done.push_back(3); }});
  EXPECT_EQ(done, (std::vector<int>{1, 3}));
  EXPECT_THROW(RunIgnoringErrors({[] { throw LoopStalled("x"); }}), LoopStalled);
  // Only the runtime's errors are ignored; a fault of the program reaches the error hook.
  EXPECT_THROW(RunIgnoringErrors({[] { throw std::logic_error("x"); }}), std::logic_error);
}

}  // namespace
}  // namespace plat
