// Runs a 25 ms timer on the real clock and reports how evenly it ticks and what it costs:
// the mean tick period, the 99th percentile of |period - 25 ms|, and the process's CPU
// time as a share of one core.
//
//   bench_timer_bench [--seconds N]     (default 10)
#include <chrono>
#include <cstdio>
#include <vector>

#include "BenchTiming.h"
#include "platform/core/EventLoop.h"

int main(int argc, char** argv) {
  const auto run = bench::SecondsArgument(argc, argv, 10);
  if (!run) return 2;
  const double seconds = *run;

  constexpr double kIntervalMs = 25;
  using Clock = std::chrono::steady_clock;
  plat::EventLoop loop(plat::EventLoop::ClockKind::Real);
  std::vector<Clock::time_point> ticks;
  ticks.reserve(static_cast<std::size_t>(seconds * 1000 / kIntervalMs) + 16);

  const double cpuStart = bench::CpuSeconds();
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
  const double cpu = bench::CpuSeconds() - cpuStart;

  const auto stats = bench::MeasureTicks(ticks, kIntervalMs);
  if (!stats) {
    std::fprintf(stderr, "too few ticks\n");
    return 1;
  }
  // Ticks that should have come in the run against those that came: a slipping schedule
  // shows here even when each period looks right.
  const double expected =
      std::chrono::duration<double, std::milli>(ticks.back() - ticks.front()).count() / kIntervalMs;

  std::printf("timer interval:      %.0f ms, run %.1f s, %zu ticks (schedule %.2f periods)\n",
              kIntervalMs, wall, ticks.size(), expected);
  std::printf("tick period mean:    %.4f ms\n", stats->mean);
  std::printf("p99 |period - 25ms|: %.4f ms (max %.4f ms)\n", stats->p99Deviation,
              stats->maxDeviation);
  std::printf("CPU time:            %.4f s = %.3f %% of one core\n", cpu, 100.0 * cpu / wall);
  return 0;
}
