// The whole station on the real clock, on a real display (run it under X, e.g.
// `xvfb-run -a build/release/bench/bench_station_bench`), against simulated instruments on
// pseudo-terminals (each in a child process, so that only the program's own CPU time is
// counted): a binary gas analyser behind COM1 and an MCTC-NET opacimeter behind COM2.
//
//   - start to menu: the built program is started in a station folder, again and again,
//     and timed from the start until its start menu is on screen;
//   - then, in this process, the program's forms on the display: the start menu, and from it
//     the gas test and then the smoke test, each polling its instrument for N seconds;
//     for each the CPU time as a share of one core, the resident memory (now and peak) and
//     the period of the form's 25 ms scheduler (mean, p99, max).
//
//   bench_station_bench [--seconds N] [--starts N] [--program PATH]
//   (defaults: 30 s, 5 starts, the program of the same build folder)
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "ServeInstrument.h"
#include "app/Artwork.h"
#include "forms/Program.h"
#include "platform/display/Display.h"
#include "platform/forms/UserInput.h"
#include "sim/Instrument.h"

// After the program's headers: Xlib's macros (None, Status, Bool) would change them.
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A line of /proc/self/status ("VmRSS", "VmHWM") in MB.
double StatusMb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(key) + ":";
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) == 0) return std::atof(line.c_str() + prefix.size()) / 1024.0;
  }
  return 0;
}

// Sets key=value in [section] of an INI text with CR LF lines (the line must exist).
void SetKey(std::string& text, const std::string& section, const std::string& key,
            const std::string& value) {
  const std::size_t head = text.find("[" + section + "]");
  if (head == std::string::npos) return;
  const std::size_t end = text.find("\n[", head);
  const std::size_t at = text.find("\n" + key + "=", head);
  if (at == std::string::npos || (end != std::string::npos && at > end)) return;
  const std::size_t from = at + 2 + key.size();
  text.replace(from, text.find('\r', from) - from, value);
}

// A station folder: the shipped settings and texts, the gas analyser binary (model 0) on
// COM1 at 9600 baud, the opacimeter MCTC-NET (model 5) on COM2.
fs::path MakeStation(const fs::path& source) {
  char folderTemplate[] = "/tmp/station-bench-XXXXXX";
  if (::mkdtemp(folderTemplate) == nullptr) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  const fs::path station = folderTemplate;
  std::ifstream in(source / "data" / "Conf.ini", std::ios::binary);
  std::stringstream conf;
  conf << in.rdbuf();
  std::string text = conf.str();
  SetKey(text, "COMKYMRA", "TModCom", "1");
  SetKey(text, "COMKYMRA", "TCOM", "1");
  SetKey(text, "COMKYMRA", "TBRate", "2");
  SetKey(text, "MODKYMRA", "Modello", "0");
  SetKey(text, "COMOPA", "TModCom", "2");
  SetKey(text, "COMOPA", "TCOM", "2");
  SetKey(text, "MODOPA", "Modello", "5");
  std::ofstream(station / "Conf.ini", std::ios::binary) << text;
  fs::copy_file(source / "data" / "Lingua.ini", station / "Lingua.ini");
  return station;
}

// An instrument in a child process on the master end of a new pseudo-terminal, linked as
// the station's COM<port>. Answers every request until killed.
pid_t StartInstrument(const fs::path& station, int port, vs::sim::Device device,
                      vs::sim::Protocol protocol, int model, const char* state) {
  int master = -1, slave = -1;
  char slaveName[256] = {};
  if (::openpty(&master, &slave, slaveName, nullptr, nullptr) != 0) {
    std::perror("openpty");
    std::exit(1);
  }
  const pid_t child = ::fork();
  if (child < 0) {
    std::perror("fork");
    std::exit(1);
  }
  if (child == 0) {
    ::close(slave);
    vs::sim::Instrument instrument(device, protocol, model);
    instrument.setState(state);
    bench::ServeInstrument(master, instrument);
  }
  ::close(master);
  fs::create_symlink(slaveName, station / ("COM" + std::to_string(port)));
  return child;
}

// True when a viewable window whose name begins with `prefix` is under `w`.
bool HasWindow(Display* x, Window w, const std::string& prefix) {
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(x, w, &attributes) != 0 && attributes.map_state == IsViewable) {
    char* name = nullptr;
    if (XFetchName(x, w, &name) != 0 && name != nullptr) {
      const bool match = std::string(name).rfind(prefix, 0) == 0;
      XFree(name);
      if (match) return true;
    }
  }
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(x, w, &root, &parent, &children, &count) == 0) return false;
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i) found = HasWindow(x, children[i], prefix);
  if (children != nullptr) XFree(children);
  return found;
}

// Starts the program in `station` and returns the milliseconds until its start menu is on
// screen (nothing after 10 s); the program is ended after.
std::optional<double> StartToMenu(Display* x, const fs::path& program, const fs::path& station) {
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(station.c_str()) != 0) _exit(127);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::optional<double> ms;
  while (Clock::now() - start < std::chrono::seconds(10)) {
    if (HasWindow(x, DefaultRootWindow(x), "Start men")) {
      ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      break;
    }
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      std::fprintf(stderr, "the program ended before its menu showed (status %d)\n", status);
      return std::nullopt;
    }
    ::usleep(500);
  }
  if (!ms) std::fprintf(stderr, "no start menu within 10 s\n");
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  return ms;
}

struct Figures {
  double wall = 0, cpu = 0, rss = 0, meanMs = 0, p99Ms = 0, maxMs = 0, p99DevMs = 0;
  std::size_t ticks = 0;
  int received = 0;  // the port's receive events: the instrument answered
};

// Runs the event loop for `seconds` with a form's scheduler timed and its port counted.
Figures Poll(vs::Program& p, plat::Timer& scheduler, plat::SerialPort& port, double seconds) {
  Figures f;
  const auto receive = port.OnComm;
  port.OnComm = [&] {
    ++f.received;
    receive();
  };
  std::vector<Clock::time_point> ticks;
  ticks.reserve(static_cast<std::size_t>(seconds * 40) + 16);
  const auto step = scheduler.onTimer;
  bool finished = false;
  const auto wallEnd = Clock::now() + std::chrono::duration<double>(seconds);
  scheduler.onTimer = [&] {
    const auto t = Clock::now();
    ticks.push_back(t);
    if (t >= wallEnd) finished = true;
    step();
  };
  const double cpuStart = bench::CpuSeconds();
  const auto wallStart = Clock::now();
  p.rt.loop.runUntil([&] { return finished; }, "the benchmark");
  f.wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
  f.cpu = bench::CpuSeconds() - cpuStart;
  f.rss = StatusMb("VmRSS");
  scheduler.onTimer = step;
  port.OnComm = receive;

  f.ticks = ticks.size();
  if (const auto stats = bench::MeasureTicks(ticks, 25.0)) {
    f.meanMs = stats->mean;
    f.p99Ms = stats->p99Period;
    f.maxMs = stats->maxPeriod;
    f.p99DevMs = stats->p99Deviation;
  }
  return f;
}

void Print(const char* what, const Figures& f) {
  std::printf("%s, %.1f s:\n", what, f.wall);
  std::printf("  CPU:        %.3f s = %.2f %% of one core\n", f.cpu, 100.0 * f.cpu / f.wall);
  std::printf("  memory:     %.1f MB resident\n", f.rss);
  std::printf("  serial:     %d receive events\n", f.received);
  std::printf("  scheduler:  %zu ticks, period mean %.3f ms, p99 %.3f ms, max %.3f ms\n", f.ticks,
              f.meanMs, f.p99Ms, f.maxMs);
  std::printf("              p99 |period - 25 ms| %.3f ms\n", f.p99DevMs);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 30;
  int starts = 5;
  fs::path program =
      fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "src" / "vantoscope";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--starts") == 0 && i + 1 < argc) {
      starts = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--program") == 0 && i + 1 < argc) {
      program = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--seconds N] [--starts N] [--program PATH]\n", argv[0]);
      return 2;
    }
  }
  if (!(seconds > 0) || starts < 0) {
    std::fprintf(stderr, "--seconds needs a positive number, --starts a count\n");
    return 2;
  }
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "no display: run it under X, e.g. xvfb-run -a %s\n", argv[0]);
    return 2;
  }
  const fs::path source = VS_SOURCE_DIR;
  const fs::path station = MakeStation(source);
  std::vector<pid_t> instruments;
  instruments.push_back(
      StartInstrument(station, 1, vs::sim::Device::Gas, vs::sim::Protocol::Binary, 0, "ready"));
  instruments.push_back(StartInstrument(station, 2, vs::sim::Device::Opacimeter,
                                        vs::sim::Protocol::Mctc, 5, "measuring"));

  std::printf("station benchmark (%s build)\n", VS_BUILD_TYPE);
  if (starts > 0) {
    if (!fs::exists(program)) {
      std::fprintf(stderr, "no program at %s\n", program.c_str());
      return 1;
    }
    // One connection for all starts: an X server may reset when its last client leaves.
    Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
      std::fprintf(stderr, "the display cannot be opened\n");
      return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < starts; ++i) {
      if (const auto ms = StartToMenu(x, program, station)) times.push_back(*ms);
    }
    XCloseDisplay(x);
    if (times.empty()) {
      std::fprintf(stderr, "the start menu of %s never appeared\n", program.c_str());
      return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("start to menu (%s, %zu starts): median %.1f ms, min %.1f ms, max %.1f ms\n",
                program.c_str(), times.size(), times[times.size() / 2], times.front(),
                times.back());
  }

  {
    vs::Program p(plat::EventLoop::ClockKind::Real);
    p.rt.currentDirectory = station;
    p.rt.programFolder = station;
    plat::Display display(p.rt.forms);
    vs::AddArtwork(display.pictures());
    p.menu.Show();
    p.rt.loop.runUntil([] { return true; }, "the menu");
    std::printf("menu on screen: %.1f MB resident\n", StatusMb("VmRSS"));

    plat::input::click(p.menu.CmdAnGas);
    if (!p.angas.IsLoaded() || !p.angas.MSComm2.PortOpen()) {
      std::fprintf(stderr, "the gas test did not open its port\n");
      return 1;
    }
    Print("gas test, binary analyser on COM1", Poll(p, p.angas.Timer1, p.angas.MSComm2, seconds));
    p.angas.Unload();

    plat::input::click(p.menu.CmdAnFumo);
    if (!p.anfumo.IsLoaded() || !p.anfumo.MSComm1.PortOpen()) {
      std::fprintf(stderr, "the smoke test did not open its port\n");
      return 1;
    }
    Print("smoke test, MCTC-NET opacimeter on COM2",
          Poll(p, p.anfumo.Timer1, p.anfumo.MSComm1, seconds));
    p.anfumo.Unload();
    std::printf("peak resident memory: %.1f MB\n", StatusMb("VmHWM"));
  }
  for (pid_t child : instruments) {
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
  }
  fs::remove_all(station);
  return 0;
}
