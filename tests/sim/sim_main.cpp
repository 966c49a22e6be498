// vantoscope-sim [--device gas|opa|rpm] [--protocol mctc|binary] [--model N] [--scenario FILE]
//   --pty [--link PATH] [--silent] [--split N] [--reply CMD=FIELD|FIELD...]...
// A simulated instrument on a new pseudo-terminal: prints "pty <slave>", links PATH (a
// station's COM<n>) to it, then prints each request on the line, "request <address>
// <command>[ <data>]" (ETB as "|", other control bytes as \xNN), until its parent ends. A
// scenario file gives what the command line does not; a bad one stops it at once. SIGUSR1
// hangs the line up, as an instrument unplugged: the terminal closes, and its number stays
// taken until the simulator ends, so that no other terminal gets its name meanwhile.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>

#include "sim/Instrument.h"
#include "support/TempFolder.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) try {
  std::string header;  // --device, --protocol and --model, as scenario lines
  std::map<std::string, std::string> opt, replies;  // the last value of each other option
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool flag = a == "--pty" || a == "--silent";
    const std::string known = " --device --protocol --model --scenario --link --split --reply ";
    if (!flag && known.find(" " + a + " ") == std::string::npos) Stop("unknown option " + a);
    if (!flag && i + 1 >= argc) Stop(a + " needs a value");
    std::string v = flag ? "" : argv[++i];
    if (a == "--device" || a == "--protocol" || a == "--model")
      header += a.substr(2) + " " + v + "\n";
    if (a == "--reply" && v.find('=') == std::string::npos) Stop("--reply wants CMD=FIELDS");
    if (a == "--reply") std::replace(v.begin(), v.end(), '|', '\x17');
    if (a == "--reply") replies[v.substr(0, v.find('='))] = v.substr(v.find('=') + 1);
    if (a != "--reply") opt[a] = v;
  }
  const std::string link = opt["--link"], path = opt["--scenario"];
  if (!path.empty() && ::access(path.c_str(), R_OK) != 0) Stop(path + ": cannot be read");
  const vs::sim::Scenario given = vs::sim::ParseScenario(header, "the command line"),
                          file = vs::sim::ParseScenario(plat::test::ReadBytes(path), path);
  if (!given.device && !file.device) Stop("give --device");
  vs::sim::Instrument instrument(
      given.device.value_or(file.device.value_or(vs::sim::Device::Gas)),
      given.protocol.value_or(file.protocol.value_or(vs::sim::Protocol::Mctc)),
      given.model.value_or(file.model.value_or(0)));
  instrument.silent = opt.contains("--silent");
  instrument.splitInto = std::atoi(opt["--split"].c_str());  // none: 0, one write
  for (const auto& [command, data] : replies) instrument.setReply(command, data);
  using Clock = std::chrono::steady_clock;
  instrument.clockMs = [start = Clock::now()] {
    return (Clock::now() - start) / std::chrono::milliseconds(1);
  };
  instrument.play(file);

  sigset_t hangUp;
  ::sigemptyset(&hangUp);
  ::sigaddset(&hangUp, SIGUSR1);
  ::sigprocmask(SIG_BLOCK, &hangUp, nullptr);
  const int hangUpFd = ::signalfd(-1, &hangUp, SFD_CLOEXEC);
  const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0) Stop("no pseudo-terminal");
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
  instrument.send = [fd](std::string_view bytes) {
    (void)!::write(fd, bytes.data(), bytes.size());
  };
  bool up = true;
  for (const pid_t parent = ::getppid(); ::getppid() == parent;) {  // the test that started it
    pollfd p[2]{{up ? fd : -1, POLLIN, 0}, {hangUpFd, POLLIN, 0}};
    char buf[512];
    const bool ready = ::poll(p, 2, 200) > 0;
    if (ready && (p[1].revents & POLLIN) != 0) {
      signalfd_siginfo info{};
      (void)!::read(hangUpFd, &info, sizeof info);
      if (up) ::close(fd);  // the keeper keeps the terminal's number
      up = false;
      std::cout << "hang-up" << std::endl;
    }
    const ssize_t n = up && p[0].revents != 0 ? ::read(fd, buf, sizeof buf) : 0;
    if (n > 0) instrument.received(std::string_view(buf, static_cast<std::size_t>(n)));
    if (n < 0) ::usleep(10000);  // no one holds the other end open just now
  }
} catch (const vs::sim::ScenarioError& e) {
  Stop(e.what());
}
