// vantoscope-sim: a simulated instrument on a pseudo-terminal, for tests that run the real
// program.
//
//   vantoscope-sim [--device gas|opa|rpm] [--protocol mctc|binary] [--model N]
//                  [--scenario FILE] --pty [--link PATH] [--silent] [--split N]
//                  [--reply CMD=FIELD|FIELD|...]...
//
// A scenario file (Scenario.h) gives the device, protocol and model the command line does
// not; a bad one stops the program at once, naming the file and the line. It prints
// "pty <slave>", points PATH (for example a station's COM<n>) at the slave, then prints
// each request on the line: "request <address> <command>[ <data>]" (ETB shown as "|",
// other control bytes as \xNN). Runs until killed or until its parent ends.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "sim/Instrument.h"

namespace {

using vs::sim::Protocol;

[[noreturn]] void Stop(const std::string& why) {
  std::cerr << "vantoscope-sim: " << why << "\n";
  std::exit(2);
}

std::string Printable(std::string_view s) {
  std::string out;
  for (const char c : s) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
    out += c == '\x17' ? std::string("|") : c >= 0x20 && c < 0x7F ? std::string(1, c) : buf;
  }
  return out;
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno != EAGAIN && errno != EINTR) return;  // nobody on the line: lost
    if (n > 0) bytes.remove_prefix(static_cast<std::size_t>(n));
    pollfd p{fd, POLLOUT, 0};
    if (n <= 0) ::poll(&p, 1, 100);
  }
}

}  // namespace

int main(int argc, char** argv) try {
  std::string header, file, link;
  vs::sim::Scenario scenario;
  bool silent = false;
  int split = 1;
  std::vector<std::pair<std::string, std::string>> replies;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) Stop(a + " needs a value");
      return argv[++i];
    };
    if (a == "--device" || a == "--protocol" || a == "--model") {
      header += a.substr(2) + " " + value() + "\n";
    } else if (a == "--scenario") {
      scenario = vs::sim::LoadScenario(value());
    } else if (a == "--link") {
      link = value();
    } else if (a == "--silent") {
      silent = true;
    } else if (a == "--split") {
      split = std::atoi(value().c_str());
    } else if (a == "--reply") {
      std::string v = value();
      for (char& c : v) c = c == '|' ? '\x17' : c;
      if (v.find('=') == std::string::npos) Stop("--reply wants CMD=FIELDS");
      replies.emplace_back(v.substr(0, v.find('=')), v.substr(v.find('=') + 1));
    } else if (a != "--pty") {
      Stop("unknown option " + a);
    }
  }
  const vs::sim::Scenario given = vs::sim::ParseScenario(header, "the command line");
  if (!given.device && !scenario.device) Stop("give --device");
  vs::sim::Instrument instrument(
      given.device.value_or(scenario.device.value_or(vs::sim::Device::Gas)),
      given.protocol.value_or(scenario.protocol.value_or(Protocol::Mctc)),
      given.model.value_or(scenario.model.value_or(0)));
  instrument.silent = silent;
  instrument.splitInto = split;
  for (const auto& [command, data] : replies) instrument.setReply(command, data);
  const auto started = std::chrono::steady_clock::now();
  instrument.clockMs = [started] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 started)
        .count();
  };
  instrument.play(scenario);

  const int fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
    std::perror("vantoscope-sim: pseudo-terminal");
    return 1;
  }
  const std::string slave = ::ptsname(fd);
  // Our own descriptor of the slave, raw: the line stays up between opens.
  termios tio{};
  const int keeper = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (keeper >= 0 && ::tcgetattr(keeper, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(keeper, TCSANOW, &tio);
  }
  std::error_code ec;
  if (!link.empty()) std::filesystem::remove(link, ec);
  if (!link.empty()) std::filesystem::create_symlink(slave, link, ec);
  if (ec) Stop("link " + link + ": " + ec.message());
  std::cout << "pty " << slave << std::endl;

  instrument.onRequest = [](std::string_view address, const vs::sim::Request& r) {
    std::cout << "request " << address << " " << Printable(r.command)
              << (r.data.empty() ? "" : " " + Printable(r.data)) << std::endl;
  };
  instrument.send = [fd](std::string_view bytes) { WriteAll(fd, bytes); };
  const pid_t parent = ::getppid();
  while (::getppid() == parent) {  // until the test that started it has gone
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 200) <= 0) continue;
    char buf[512];
    const ssize_t n = (p.revents & POLLIN) ? ::read(fd, buf, sizeof buf) : 0;
    if (n > 0) instrument.received(std::string_view(buf, static_cast<std::size_t>(n)));
    if (!(p.revents & POLLIN)) ::usleep(10000);  // no one holds the other end open just now
  }
} catch (const vs::sim::ScenarioError& e) {
  Stop(e.what());
}
