// Runs the gas test form on the real clock against the simulated binary gas analyser on a
// pseudo-terminal (the analyser in a child process, so that only the program's own CPU
// time is counted) and reports what the polling costs: the process's CPU time as a share of
// one core and how evenly the 25 ms scheduler ticks (mean period, p99 of |period - 25 ms|).
//
//   bench_gas_window_bench [--seconds N]     (default 30)
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "ServeInstrument.h"
#include "forms/Program.h"
#include "sim/Instrument.h"

namespace {

// The analyser's side: answers every request on the master end until killed.
[[noreturn]] void RunAnalyser(int master) {
  vs::sim::Instrument gas(vs::sim::Device::Gas, vs::sim::Protocol::Binary, 0);
  gas.setState("ready");
  bench::ServeInstrument(master, gas);
}

}  // namespace

int main(int argc, char** argv) {
  const auto run = bench::SecondsArgument(argc, argv, 30);
  if (!run) return 2;
  const double seconds = *run;

  int master = -1, slave = -1;
  char slaveName[256] = {};
  if (::openpty(&master, &slave, slaveName, nullptr, nullptr) != 0) {
    std::perror("openpty");
    return 1;
  }
  const pid_t child = ::fork();
  if (child < 0) {
    std::perror("fork");
    return 1;
  }
  if (child == 0) {
    ::close(slave);
    RunAnalyser(master);
  }
  ::close(master);

  char folderTemplate[] = "/tmp/gas-window-bench-XXXXXX";
  if (::mkdtemp(folderTemplate) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::filesystem::path station = folderTemplate;
  std::filesystem::create_symlink(slaveName, station / "COM1");

  constexpr double kIntervalMs = 25;
  using Clock = std::chrono::steady_clock;
  std::vector<Clock::time_point> ticks;
  ticks.reserve(static_cast<std::size_t>(seconds * 1000 / kIntervalMs) + 16);
  int replies = 0;
  {
    vs::Program p(plat::EventLoop::ClockKind::Real);
    p.rt.currentDirectory = station;
    p.rt.programFolder = station;
    p.shell.GasModelIndex = 0;
    p.shell.GasComPort = 1;
    p.shell.GasBaudIndex = 2;  // 9600 baud
    p.link.GasFormActive = 1;
    vs::ANGAS& form = p.angas;
    form.Show();
    if (!form.MSComm2.PortOpen()) {
      std::fprintf(stderr, "the analyser's port did not open\n");
      return 1;
    }
    const auto scheduler = form.Timer1.onTimer;
    const auto wallEnd = Clock::now() + std::chrono::duration<double>(seconds);
    bool finished = false;
    std::string lastState;
    form.Timer1.onTimer = [&] {
      const auto t = Clock::now();
      ticks.push_back(t);
      if (t >= wallEnd) finished = true;
      scheduler();
    };
    const auto receive = form.MSComm2.OnComm;
    form.MSComm2.OnComm = [&] {
      const std::int16_t before = p.gas.GasReplyReady;
      receive();
      if (before != 1 && p.gas.GasReplyReady == 1) ++replies;
    };

    const double cpuStart = bench::CpuSeconds();
    const auto wallStart = Clock::now();
    p.rt.loop.runUntil([&] { return finished; }, "the benchmark");
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    const double cpu = bench::CpuSeconds() - cpuStart;
    lastState = form.Stato;
    form.Unload();

    const auto stats = bench::MeasureTicks(ticks, kIntervalMs);
    if (!stats) {
      std::fprintf(stderr, "too few ticks\n");
      return 1;
    }

    std::printf("gas window vs simulated analyser on %s at 9600 baud, %.1f s\n", slaveName, wall);
    std::printf("scheduler ticks:     %zu, replies handled: %d, last state %s\n", ticks.size(),
                replies, lastState.c_str());
    std::printf("tick period mean:    %.4f ms (max %.4f ms)\n", stats->mean, stats->maxPeriod);
    std::printf("p99 period:          %.4f ms; p99 |period - 25ms|: %.4f ms\n", stats->p99Period,
                stats->p99Deviation);
    std::printf("CPU time:            %.4f s = %.3f %% of one core\n", cpu, 100.0 * cpu / wall);
  }
  ::kill(child, SIGTERM);
  ::waitpid(child, nullptr, 0);
  std::filesystem::remove_all(station);
  return 0;
}
