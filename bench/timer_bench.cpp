// Runs a 25 ms timer on the real clock and reports how evenly it ticks and what it costs:
// the mean tick period, the 99th percentile of |period - 25 ms|, and the process's CPU
// time as a share of one core.
//
//   bench_timer_bench [--seconds N]     (default 10)
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/core/EventLoop.h"

namespace {

double CpuSeconds() {
  rusage ru{};
  ::getrusage(RUSAGE_SELF, &ru);
  auto secs = [](const timeval& tv) {
    return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6;
  };
  return secs(ru.ru_utime) + secs(ru.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 10;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: %s [--seconds N]\n", argv[0]);
      return 2;
    }
  }
  if (!(seconds > 0)) {
    std::fprintf(stderr, "--seconds needs a positive number\n");
    return 2;
  }

  constexpr double kIntervalMs = 25;
  using Clock = std::chrono::steady_clock;
  plat::EventLoop loop(plat::EventLoop::ClockKind::Real);
  std::vector<Clock::time_point> ticks;
  ticks.reserve(static_cast<std::size_t>(seconds * 1000 / kIntervalMs) + 16);

  const double cpuStart = CpuSeconds();
  const auto wallStart = Clock::now();
  const auto wallEnd = wallStart + std::chrono::duration<double>(seconds);
  bool finished = false;
  loop.startTimer(static_cast<plat::Millis>(kIntervalMs), [&] {
    const auto t = Clock::now();
    ticks.push_back(t);
    if (t >= wallEnd) finished = true;
  });
  loop.runUntil([&] { return finished; }, "the benchmark");
  const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
  const double cpu = CpuSeconds() - cpuStart;

  if (ticks.size() < 2) {
    std::fprintf(stderr, "too few ticks\n");
    return 1;
  }
  std::vector<double> periods, deviations;
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    const double ms = std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count();
    periods.push_back(ms);
    deviations.push_back(std::fabs(ms - kIntervalMs));
  }
  double sum = 0;
  for (double p : periods) sum += p;
  const double mean = sum / static_cast<double>(periods.size());
  std::sort(deviations.begin(), deviations.end());
  const auto p99Index =
      static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(deviations.size()))) - 1;
  const double p99 = deviations[std::min(p99Index, deviations.size() - 1)];
  const double maxDev = deviations.back();
  // Ticks that should have come in the run against those that came: a slipping schedule
  // shows here even when each period looks right.
  const double expected =
      std::chrono::duration<double, std::milli>(ticks.back() - ticks.front()).count() / kIntervalMs;

  std::printf("timer interval:      %.0f ms, run %.1f s, %zu ticks (schedule %.2f periods)\n",
              kIntervalMs, wall, ticks.size(), expected);
  std::printf("tick period mean:    %.4f ms\n", mean);
  std::printf("p99 |period - 25ms|: %.4f ms (max %.4f ms)\n", p99, maxDev);
  std::printf("CPU time:            %.4f s = %.3f %% of one core\n", cpu, 100.0 * cpu / wall);
  return 0;
}
