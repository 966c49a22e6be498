#pragma once
// What the benchmarks share: a run length from the command line, the process's CPU time and
// how evenly a timer ticked.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace bench {

// "[--seconds N]" as the only arguments: N (positive), `fallback` without them; none (the
// reason printed) when they are anything else.
inline std::optional<double> SecondsArgument(int argc, char** argv, double fallback) {
  double seconds = fallback;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: %s [--seconds N]\n", argv[0]);
      return std::nullopt;
    }
  }
  if (!(seconds > 0)) {
    std::fprintf(stderr, "--seconds needs a positive number\n");
    return std::nullopt;
  }
  return seconds;
}

// User and system CPU time of this process so far.
inline double CpuSeconds() {
  rusage ru{};
  ::getrusage(RUSAGE_SELF, &ru);
  auto secs = [](const timeval& tv) {
    return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6;
  };
  return secs(ru.ru_utime) + secs(ru.ru_stime);
}

// The periods between ticks of a timer set to `intervalMs`, in milliseconds.
struct TickStats {
  std::size_t periods = 0;
  double mean = 0;
  double p99Period = 0;
  double maxPeriod = 0;
  double p99Deviation = 0;  // of |period - intervalMs|
  double maxDeviation = 0;
};

// None with fewer than two ticks.
inline std::optional<TickStats> MeasureTicks(
    const std::vector<std::chrono::steady_clock::time_point>& ticks, double intervalMs) {
  if (ticks.size() < 2) return std::nullopt;
  std::vector<double> periods, deviations;
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    const double ms = std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count();
    periods.push_back(ms);
    deviations.push_back(std::fabs(ms - intervalMs));
  }
  double sum = 0;
  for (double p : periods) sum += p;
  std::sort(periods.begin(), periods.end());
  std::sort(deviations.begin(), deviations.end());
  const auto p99 =
      std::min(static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(periods.size()))) - 1,
               periods.size() - 1);
  TickStats s;
  s.periods = periods.size();
  s.mean = sum / static_cast<double>(periods.size());
  s.p99Period = periods[p99];
  s.maxPeriod = periods.back();
  s.p99Deviation = deviations[p99];
  s.maxDeviation = deviations.back();
  return s;
}

}  // namespace bench
