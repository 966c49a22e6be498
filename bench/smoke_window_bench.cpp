// Runs the smoke test form on the real clock against the simulated opacimeter on a
// pseudo-terminal and reports what the polling costs: the program's CPU time as a share of
// one core, the ticks, the requests the simulator saw and the time-outs.
//
//   bench_smoke_window_bench [--seconds N] [--model 0..5] [--sim PATH]   (default 30 s, 5)
//
// The simulator runs as a child process (its own CPU time is not counted); the form finds
// it through a COM1 link in a temporary station folder.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "BenchTiming.h"
#include "forms/Program.h"
#include "smoke/SmokeCycle.h"

namespace {

std::string ReadAll(const std::filesystem::path& f) {
  std::ifstream in(f, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 30;
  int model = 5;
#ifdef VS_SIM_PATH
  std::string sim = VS_SIM_PATH;
#else
  std::string sim = "vantoscope-sim";
#endif
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--model") == 0 && i + 1 < argc) {
      model = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--sim") == 0 && i + 1 < argc) {
      sim = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--seconds N] [--model 0..5] [--sim PATH]\n", argv[0]);
      return 2;
    }
  }
  if (!(seconds > 0) || model < 0 || model > 5) {
    std::fprintf(stderr, "--seconds needs a positive number, --model 0 to 5\n");
    return 2;
  }

  char tmpl[] = "/tmp/vs-smoke-bench-XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::filesystem::path dir = tmpl;
  const std::filesystem::path simOut = dir / "sim.out";
  std::ofstream(dir / "Conf.ini") << "[MODOPA]\r\nModello=" << model
                                  << "\r\nUnitOpa=0\r\n[LO]\r\nRN=800\r\nMX=4500\r\nON=50\r\n"
                                     "VK=2.5\r\n[AMBIENTE]\r\nPressione=101.3\r\n";

  const std::string modelText = std::to_string(model);
  const std::string link = (dir / "COM1").string();
  const pid_t child = ::fork();
  if (child == 0) {
    std::FILE* out = std::freopen(simOut.c_str(), "w", stdout);
    (void)out;
    ::execl(sim.c_str(), sim.c_str(), "--device", "opa", "--protocol",
            model == 5 ? "mctc" : "binary", "--model", modelText.c_str(), "--pty", "--link",
            link.c_str(), static_cast<char*>(nullptr));
    std::perror("vantoscope-sim");
    std::_Exit(127);
  }
  for (int i = 0; i < 200 && ReadAll(simOut).find("pty ") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (ReadAll(simOut).find("pty ") == std::string::npos) {
    std::fprintf(stderr, "the simulator did not start (%s)\n", sim.c_str());
    ::kill(child, SIGTERM);
    return 1;
  }

  int result = 0;
  {
    vs::Program p(plat::EventLoop::ClockKind::Real);
    p.rt.currentDirectory = dir;
    p.rt.programFolder = dir;
    p.shell.OpaComPort = 1;
    p.shell.OpaBaudIndex = 2;
    p.link.OpaFormActive = 1;

    using Clock = std::chrono::steady_clock;
    const double cpuStart = bench::CpuSeconds();
    const auto wallStart = Clock::now();
    p.anfumo.Show();
    int timeouts = 0;
    bool finished = false;
    std::string lastStatus;
    p.rt.loop.startTimer(5, [&] {
      const std::string& s = p.anfumo.Label2.Caption();
      if (s != lastStatus && s == vs::kSmokeComError) ++timeouts;
      lastStatus = s;
      if (Clock::now() - wallStart >= std::chrono::duration<double>(seconds)) finished = true;
    });
    p.rt.loop.runUntil([&] { return finished; }, "the benchmark");
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    const double cpu = bench::CpuSeconds() - cpuStart;
    // The simulator prints one line per request it sees, after the line naming its pty.
    const std::string seen = ReadAll(simOut);
    const long long frames = static_cast<long long>(std::count(seen.begin(), seen.end(), '\n')) - 1;
    const int ticks = p.anfumo.SmokeTickCount;
    p.anfumo.Unload();

    std::printf("smoke test form, model %d, run %.1f s on the real clock\n", model, wall);
    std::printf("ticks:               %d (%.2f per second)\n", ticks, ticks / wall);
    std::printf("requests answered:   %lld (%.2f per second)\n", frames,
                static_cast<double>(frames) / wall);
    std::printf("status ERRORE COM:   %d times\n", timeouts);
    std::printf("CPU time:            %.4f s = %.3f %% of one core\n", cpu, 100.0 * cpu / wall);
    if (frames == 0) result = 1;
  }
  ::kill(child, SIGTERM);
  ::waitpid(child, nullptr, 0);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return result;
}
