#pragma once
// The one event loop of the program: timers, watched file descriptors and posted tasks,
// all run on the calling thread. It owns the clock: the real one, or a manual one that
// tests advance, so that a two-minute test runs in milliseconds and the same way each time.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/Error.h"

namespace plat {

using Millis = std::int64_t;

// How the real-clock loop sleeps until the next event: poll() by default; the display
// installs one that waits in the window system and also watches the descriptors.
class Waiter {
 public:
  virtual ~Waiter() = default;
  // Wait at most timeoutMs (negative: no limit) for a readable descriptor among fds or
  // for window-system input. Returns the descriptors that are readable now.
  virtual std::vector<int> wait(const std::vector<int>& fds, int timeoutMs) = 0;
  // The same with the timeout in microseconds. A waiter that can sleep more finely than a
  // millisecond overrides it, so that timers tick on time rather than up to a millisecond
  // late; by default the timeout is rounded up to whole milliseconds.
  virtual std::vector<int> waitMicros(const std::vector<int>& fds, std::int64_t timeoutUs) {
    if (timeoutUs < 0) return wait(fds, -1);
    const std::int64_t ms = (timeoutUs + 999) / 1000;
    return wait(fds, static_cast<int>(ms > 2'000'000'000 ? 2'000'000'000 : ms));
  }
};

// Thrown by a nested run under the manual clock that has nothing left to do and whose
// condition is still false: a test that would hang fails instead.
class LoopStalled : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EventLoop {
 public:
  enum class ClockKind { Real, Manual };
  using TimerId = int;
  using WatchId = int;

  explicit EventLoop(ClockKind kind);
  ~EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  ClockKind clockKind() const;

  // Milliseconds since the loop was made (monotonic).
  Millis now() const;
  // Local date and time of day. The manual clock starts at a fixed date that tests may set,
  // and moves on with advance().
  DateTime localTime() const;
  void setLocalTime(const DateTime& t);  // manual clock only

  // Periodic timer: first tick interval ms from now, then on its schedule. A late tick is
  // not queued twice: a timer that fell behind ticks once and keeps its phase.
  TimerId startTimer(Millis interval, std::function<void()> tick);
  void stopTimer(TimerId id);  // unknown or stopped ids are ignored

  // Where a watched descriptor's data comes from, as the manual clock sees it. A device of
  // the test (a pseudo-terminal it feeds) has its data there or not whenever the clock
  // moves: Instant. A program running beside this one (a child process) takes real time:
  // while a RealTime descriptor is watched, the manual clock moves no faster than real time,
  // waiting on the descriptors rather than racing ahead to the next timer. The real clock
  // treats both alike.
  enum class Pace { Instant, RealTime };

  // Calls onReadable whenever fd has data to read (or is at its end).
  WatchId watchFd(int fd, std::function<void()> onReadable, Pace pace = Pace::Instant);
  void unwatchFd(WatchId id);

  // Runs task on the loop, after the current handler, in posting order.
  void post(std::function<void()> task);

  // Runs the loop until done() is true (checked after every event). May be nested, as a
  // modal form does. Under the manual clock it runs posted tasks and ready descriptors, and
  // moves the clock on to the next due timer while done() is false (no faster than real time
  // while a RealTime descriptor is watched); with nothing left to do, or after `limit` of
  // manual time, it throws LoopStalled naming `what`.
  void runUntil(const std::function<bool()>& done, const std::string& what = "loop",
                Millis limit = 3'600'000);

  // Manual clock: moves time on by ms, firing every due timer in time order and delivering
  // posted tasks and descriptor data between ticks.
  void advance(Millis ms);
  // Runs posted tasks and ready descriptors without moving the clock.
  void processPending();

  // Real clock: installs how the loop sleeps (nullptr restores poll()).
  void setWaiter(Waiter* waiter);

  // What happens to a run-time error that escapes a timer, descriptor or posted handler:
  // with a hook, the hook is told and the loop goes on; without one (tests), it propagates.
  // Any other exception (a fault of the program) propagates either way.
  void setErrorHook(std::function<void(const RuntimeError&)> hook);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace plat
