#include "platform/core/EventLoop.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <deque>

namespace plat {

namespace {

class PollWaiter : public Waiter {
 public:
  std::vector<int> wait(const std::vector<int>& fds, int timeoutMs) override {
    return waitMicros(fds, timeoutMs < 0 ? -1 : std::int64_t{timeoutMs} * 1000);
  }

  // ppoll() sleeps to the microsecond, so a timer wakes the loop when it is due and not at
  // the next whole millisecond.
  std::vector<int> waitMicros(const std::vector<int>& fds, std::int64_t timeoutUs) override {
    std::vector<pollfd> pfds;
    pfds.reserve(fds.size());
    for (int fd : fds) pfds.push_back({fd, POLLIN, 0});
    std::vector<int> ready;
    timespec ts{};
    if (timeoutUs >= 0) {
      ts.tv_sec = static_cast<time_t>(timeoutUs / 1'000'000);
      ts.tv_nsec = static_cast<long>(timeoutUs % 1'000'000 * 1000);
    }
    int n = ::ppoll(pfds.data(), pfds.size(), timeoutUs >= 0 ? &ts : nullptr, nullptr);
    if (n <= 0) return ready;
    for (const auto& p : pfds)
      if (p.revents & (POLLIN | POLLHUP | POLLERR)) ready.push_back(p.fd);
    return ready;
  }
};

// Days since 1970-01-01 for a civil date, and back (proleptic Gregorian).
std::int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = static_cast<int>(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = static_cast<int>(z - era * 146097);
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = static_cast<int>(yoe + era * 400) + (m <= 2);
}

}  // namespace

struct EventLoop::Impl {
  struct Timer {
    Millis interval;
    Millis due;
    std::function<void()> tick;
  };
  struct Watch {
    int fd;
    std::function<void()> onReadable;
    Pace pace;
  };

  ClockKind kind;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  Millis manualNow = 0;
  // Manual clock and real time (microseconds) when the manual clock last moved, or when a
  // RealTime descriptor began to be watched: the clock keeps pace with real time from there.
  Millis paceManual = 0;
  std::int64_t paceRealUs = 0;
  std::int64_t manualEpochSeconds = 0;  // local time at manualNow == 0, seconds since 1970
  std::map<TimerId, Timer> timers;
  std::map<WatchId, Watch> watches;
  std::deque<std::function<void()>> posted;
  int nextId = 1;
  PollWaiter pollWaiter;
  Waiter* waiter = &pollWaiter;

  Millis now() const {
    if (kind == ClockKind::Manual) return manualNow;
    return realMicros() / 1000;
  }

  std::int64_t realMicros() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
  }

  // Runs one handler. A run-time error that escapes it goes to the error hook when one is
  // set (the program reports it and goes on); without a hook it propagates, so a test fails.
  // Any other exception is a fault of the program and always propagates.
  std::function<void(const RuntimeError&)> errorHook;
  void guarded(const std::function<void()>& handler) {
    if (!errorHook) return handler();
    try {
      handler();
    } catch (const RuntimeError& e) {
      errorHook(e);
    }
  }

  // The earliest due timer, or timers.end().
  std::map<TimerId, Timer>::iterator nextTimer() {
    auto best = timers.end();
    for (auto it = timers.begin(); it != timers.end(); ++it)
      if (best == timers.end() || it->second.due < best->second.due) best = it;
    return best;
  }

  // Fires the timer `id` if it is due at time t; reschedules it on its own phase.
  bool fireDueTimer(Millis t) {
    auto it = nextTimer();
    if (it == timers.end() || it->second.due > t) return false;
    Timer& timer = it->second;
    const Millis interval = timer.interval > 0 ? timer.interval : 1;
    // Keep the phase; a timer that fell behind skips the ticks it missed.
    timer.due += interval;
    if (timer.due <= t) timer.due += ((t - timer.due) / interval + 1) * interval;
    auto tick = timer.tick;  // the handler may stop or restart its own timer
    guarded(tick);
    return true;
  }

  bool runPosted() {
    if (posted.empty()) return false;
    auto task = std::move(posted.front());
    posted.pop_front();
    guarded(task);
    return true;
  }

  // Moves the manual clock on to t (never back).
  void moveManualTo(Millis t) {
    manualNow = std::max(manualNow, t);
    paceManual = manualNow;
    paceRealUs = realMicros();
  }

  // Under the manual clock, before it moves on to `due`: while a RealTime descriptor is
  // watched, waits on the descriptors until `due` is reached in real time since the clock
  // last moved. True when a descriptor had data (the clock stays where it is).
  bool keepPace(Millis due) {
    const bool realTime = std::any_of(watches.begin(), watches.end(), [](const auto& w) {
      return w.second.pace == Pace::RealTime;
    });
    if (!realTime) return false;
    const std::int64_t waitUs = (due - paceManual) * 1000 - (realMicros() - paceRealUs);
    return waitUs > 0 && deliverFds(waitUs, pollWaiter);
  }

  std::vector<int> watchedFds() const {
    std::vector<int> fds;
    for (const auto& [id, w] : watches) fds.push_back(w.fd);
    return fds;
  }

  // Delivers data of descriptors that are readable now (or after waiting timeoutUs;
  // negative: no limit).
  bool deliverFds(std::int64_t timeoutUs, Waiter& w) {
    const auto fds = watchedFds();
    if (fds.empty() && timeoutUs == 0) return false;
    // The display's waiter runs the operator's handlers (clicks, keys) while it waits.
    std::vector<int> ready;
    guarded([&] { ready = w.waitMicros(fds, timeoutUs); });
    bool any = false;
    for (int fd : ready) {
      for (auto it = watches.begin(); it != watches.end(); ++it) {
        if (it->second.fd != fd) continue;
        auto cb = it->second.onReadable;
        guarded(cb);
        any = true;
        break;
      }
    }
    return any;
  }
};

EventLoop::EventLoop(ClockKind kind) : impl_(std::make_unique<Impl>()) {
  impl_->kind = kind;
  // The manual clock starts on a fixed day so that tests see the same dates every run.
  impl_->manualEpochSeconds = DaysFromCivil(2026, 1, 15) * 86400 + 9 * 3600;
}

EventLoop::~EventLoop() = default;

EventLoop::ClockKind EventLoop::clockKind() const { return impl_->kind; }

Millis EventLoop::now() const { return impl_->now(); }

DateTime EventLoop::localTime() const {
  std::int64_t secs;
  if (impl_->kind == ClockKind::Manual) {
    secs = impl_->manualEpochSeconds + impl_->manualNow / 1000;
  } else {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
  DateTime dt;
  std::int64_t days = secs / 86400;
  std::int64_t rem = secs % 86400;
  if (rem < 0) {
    rem += 86400;
    --days;
  }
  CivilFromDays(days, dt.year, dt.month, dt.day);
  dt.hour = static_cast<int>(rem / 3600);
  dt.minute = static_cast<int>(rem / 60 % 60);
  dt.second = static_cast<int>(rem % 60);
  return dt;
}

void EventLoop::setLocalTime(const DateTime& t) {
  const std::int64_t secs =
      DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  impl_->manualEpochSeconds = secs - impl_->manualNow / 1000;
}

EventLoop::TimerId EventLoop::startTimer(Millis interval, std::function<void()> tick) {
  const TimerId id = impl_->nextId++;
  impl_->timers[id] =
      Impl::Timer{interval, impl_->now() + (interval > 0 ? interval : 1), std::move(tick)};
  return id;
}

void EventLoop::stopTimer(TimerId id) { impl_->timers.erase(id); }

EventLoop::WatchId EventLoop::watchFd(int fd, std::function<void()> onReadable, Pace pace) {
  const WatchId id = impl_->nextId++;
  impl_->watches[id] = Impl::Watch{fd, std::move(onReadable), pace};
  if (pace == Pace::RealTime) {
    impl_->paceManual = impl_->manualNow;
    impl_->paceRealUs = impl_->realMicros();
  }
  return id;
}

void EventLoop::unwatchFd(WatchId id) { impl_->watches.erase(id); }

void EventLoop::post(std::function<void()> task) { impl_->posted.push_back(std::move(task)); }

void EventLoop::processPending() {
  // Posted tasks first, then any descriptor that has data, until both are quiet.
  for (int guard = 0; guard < 100000; ++guard) {
    bool any = impl_->runPosted();
    if (!any) any = impl_->deliverFds(0, impl_->pollWaiter);
    if (!any) return;
  }
}

void EventLoop::advance(Millis ms) {
  const Millis end = impl_->manualNow + ms;
  processPending();
  for (;;) {
    auto it = impl_->nextTimer();
    const bool tick = it != impl_->timers.end() && it->second.due <= end;
    if (impl_->keepPace(tick ? it->second.due : end)) {
      processPending();
      continue;
    }
    if (!tick) break;
    impl_->moveManualTo(it->second.due);
    impl_->fireDueTimer(impl_->manualNow);
    processPending();
  }
  // A tick that ran a nested loop (a modal form) may have moved time past the end already.
  impl_->moveManualTo(end);
  processPending();
}

void EventLoop::runUntil(const std::function<bool()>& done, const std::string& what, Millis limit) {
  if (impl_->kind == ClockKind::Manual) {
    const Millis end = impl_->manualNow + limit;
    for (;;) {
      if (done()) return;
      if (impl_->runPosted()) continue;
      if (impl_->deliverFds(0, impl_->pollWaiter)) continue;
      auto it = impl_->nextTimer();
      if (impl_->keepPace(it == impl_->timers.end() ? end : std::min(it->second.due, end)))
        continue;
      if (it == impl_->timers.end())
        throw LoopStalled("nothing left to do while waiting for " + what);
      if (it->second.due > end) throw LoopStalled("time limit reached while waiting for " + what);
      impl_->moveManualTo(it->second.due);
      impl_->fireDueTimer(impl_->manualNow);
    }
  }
  for (;;) {
    if (done()) return;
    if (impl_->runPosted()) continue;
    // A timer due at d ms fires once the microsecond clock reaches d * 1000: the wait below
    // sleeps exactly that long, so ticks are not rounded up to the next millisecond.
    const std::int64_t us = impl_->realMicros();
    if (impl_->fireDueTimer(us / 1000)) continue;
    std::int64_t timeoutUs = -1;
    auto it = impl_->nextTimer();
    if (it != impl_->timers.end())
      timeoutUs = std::max<std::int64_t>(0, it->second.due * 1000 - us);
    impl_->deliverFds(timeoutUs, *impl_->waiter);
  }
}

void EventLoop::setErrorHook(std::function<void(const RuntimeError&)> hook) {
  impl_->errorHook = std::move(hook);
}

void EventLoop::setWaiter(Waiter* waiter) { impl_->waiter = waiter ? waiter : &impl_->pollWaiter; }

}  // namespace plat
