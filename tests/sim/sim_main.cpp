// vantoscope-sim: a simulated instrument on a serial line, for tests that run the real
// program against a pseudo-terminal.
//
//   vantoscope-sim --device gas|opa|rpm [--protocol mctc|binary] [--model N]
//                  --pty [--link PATH] [--silent] [--split N] [--delay MS]
//                  [--reply CMD=FIELD|FIELD|...]... [--scenario FILE]
//
// --scenario plays a scenario file (format in Scenario.h); its device, protocol and model
// count where the command line gives none. A file that cannot be read or has a bad line
// stops the program at once with a message naming the file and the line.
// --pty makes a new pseudo-terminal, prints
// "pty <path of its slave>" and, with --link, points a symbolic link (for example a
// station's COM<n>) at it. Every request seen on the line is printed as one line:
// "request <address> <command>[ <data>]" (ETB shown as "|", other control bytes as \xNN).
// Runs until killed, or until the process that started it ends.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/Instrument.h"

namespace {

using Clock = std::chrono::steady_clock;
using vs::sim::Device;
using vs::sim::Instrument;
using vs::sim::Protocol;

struct Options {
  std::optional<Device> device;
  std::optional<Protocol> protocol;
  int model = -1;
  std::string scenarioFile;
  vs::sim::Scenario scenario;
  std::string link;
  bool pty = false;
  bool silent = false;
  int split = 1, delayMs = 0;
  std::vector<std::pair<std::string, std::string>> replies;
};

[[noreturn]] void Usage(const std::string& why) {
  std::cerr << "vantoscope-sim: " << why
            << "\nusage: vantoscope-sim --device gas|opa|rpm [--protocol mctc|binary] "
               "[--model N] --pty [--link PATH] [--silent] [--split N] [--delay MS] "
               "[--reply CMD=FIELD|FIELD...] [--scenario FILE]\n";
  std::exit(2);
}

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(a + " needs a value");
      return argv[++i];
    };
    if (a == "--device") {
      const std::string v = value();
      if (v == "gas") {
        o.device = Device::Gas;
      } else if (v == "opa") {
        o.device = Device::Opacimeter;
      } else if (v == "rpm") {
        o.device = Device::EngineSpeed;
      } else {
        Usage("unknown device " + v);
      }
    } else if (a == "--protocol") {
      const std::string v = value();
      if (v != "mctc" && v != "binary") Usage("unknown protocol " + v);
      o.protocol = v == "mctc" ? Protocol::Mctc : Protocol::Binary;
    } else if (a == "--model") {
      o.model = std::atoi(value().c_str());
    } else if (a == "--pty") {
      o.pty = true;
    } else if (a == "--link") {
      o.link = value();
    } else if (a == "--silent") {
      o.silent = true;
    } else if (a == "--split") {
      o.split = std::atoi(value().c_str());
    } else if (a == "--delay") {
      o.delayMs = std::atoi(value().c_str());
    } else if (a == "--scenario") {
      o.scenarioFile = value();
    } else if (a == "--reply") {
      const std::string v = value();
      const std::size_t eq = v.find('=');
      if (eq == std::string::npos) Usage("--reply wants CMD=FIELDS");
      std::string data = v.substr(eq + 1);
      for (char& c : data) {
        if (c == '|') c = '\x17';
      }
      o.replies.emplace_back(v.substr(0, eq), data);
    } else {
      Usage("unknown option " + a);
    }
  }
  if (!o.pty) Usage("give --pty");
  if (!o.scenarioFile.empty()) {
    try {
      o.scenario = vs::sim::LoadScenario(o.scenarioFile);
    } catch (const vs::sim::ScenarioError& e) {
      std::cerr << "vantoscope-sim: " << e.what() << "\n";
      std::exit(2);
    }
    if (!o.device) o.device = o.scenario.device;
    if (!o.protocol) o.protocol = o.scenario.protocol;
    if (o.model < 0 && o.scenario.model) o.model = *o.scenario.model;
  }
  if (!o.device) Usage("give --device");
  if (!o.protocol) o.protocol = Protocol::Mctc;
  if (o.device == Device::EngineSpeed && o.protocol == Protocol::Binary) {
    Usage("the engine-speed counter speaks MCTC-NET only");
  }
  if (o.model < 0) {
    o.model = o.device == Device::Opacimeter && o.protocol == Protocol::Mctc ? 5 : 0;
  }
  return o;
}

std::string Printable(std::string_view s) {
  std::string out;
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\x17') {
      out += '|';
    } else if (u < 0x20 || u >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", u);
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

void MakeRaw(int fd) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return;
  ::cfmakeraw(&tio);
  ::tcsetattr(fd, TCSANOW, &tio);
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return;  // nobody on the line: the bytes are lost, as on a cable
    } else {
      pollfd p{fd, POLLOUT, 0};
      ::poll(&p, 1, 100);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
    std::perror("vantoscope-sim: pseudo-terminal");
    return 1;
  }
  const std::string slave = ::ptsname(fd);
  // Our own descriptor of the slave: the line stays up between opens.
  const int keeper = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (keeper >= 0) MakeRaw(keeper);
  if (!o.link.empty()) {
    std::error_code ec;
    std::filesystem::remove(o.link, ec);
    std::filesystem::create_symlink(slave, o.link, ec);
    if (ec) {
      std::cerr << "vantoscope-sim: link " << o.link << ": " << ec.message() << "\n";
      return 1;
    }
  }
  std::cout << "pty " << slave << std::endl;

  Instrument instrument(*o.device, *o.protocol, o.model);
  instrument.silent = o.silent;
  instrument.splitInto = o.split;
  for (const auto& [command, data] : o.replies) instrument.setReply(command, data);
  const auto started = Clock::now();
  instrument.clockMs = [started] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
  };
  try {
    instrument.play(o.scenario);
  } catch (const vs::sim::ScenarioError& e) {
    std::cerr << "vantoscope-sim: " << e.what() << "\n";
    return 2;
  }
  instrument.onRequest = [](std::string_view address, const vs::sim::Request& r) {
    std::cout << "request " << address << " " << Printable(r.command);
    if (!r.data.empty()) std::cout << " " << Printable(r.data);
    std::cout << std::endl;
  };
  std::deque<std::pair<Clock::time_point, std::string>> outbox;
  instrument.send = [&](std::string_view bytes) {
    outbox.emplace_back(Clock::now() + std::chrono::milliseconds(o.delayMs), std::string(bytes));
  };

  const pid_t parent = ::getppid();
  for (;;) {
    if (::getppid() != parent) return 0;  // the test that started it has gone
    const auto now = Clock::now();
    while (!outbox.empty() && outbox.front().first <= now) {
      WriteAll(fd, outbox.front().second);
      outbox.pop_front();
    }
    int timeout = 200;
    if (!outbox.empty()) {
      const auto wait =
          std::chrono::duration_cast<std::chrono::milliseconds>(outbox.front().first - now);
      timeout = static_cast<int>(std::max<long long>(1, wait.count()));
    }
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeout);
    if (ready <= 0) continue;
    if (p.revents & POLLIN) {
      char buf[512];
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n > 0) instrument.received(std::string_view(buf, static_cast<std::size_t>(n)));
    } else if (p.revents & (POLLHUP | POLLERR)) {
      ::usleep(10000);  // no one holds the other end open just now
    }
  }
}
