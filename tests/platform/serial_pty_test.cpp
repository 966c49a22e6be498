// A serial port on a real pseudo-terminal, reached through a COM<n> link in the current
// directory, the way a station maps a USB adapter and a simulator offers an instrument.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "platform/core/Error.h"
#include "platform/core/Runtime.h"
#include "platform/serial/SerialPort.h"
#include "support/TempFolder.h"
#include "support/WaitFor.h"

namespace plat {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// The number and text of the error that f() throws; {0, ""} when it throws none.
std::pair<int, std::string> ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return {e.number(), e.what()};
  }
  return {0, ""};
}

class SerialPtyTest : public ::testing::Test {
 protected:
  test::TempFolder dir{"vs-serial"};
  Runtime rt{EventLoop::ClockKind::Manual};
  int master = -1;
  std::string slave;

  void SetUp() override {
    rt.currentDirectory = dir.path();
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    slave = ::ptsname(master);
  }

  void TearDown() override {
    if (master >= 0) ::close(master);
  }

  bool WaitFor(const std::function<bool()>& cond) { return test::WaitFor(rt.loop, cond); }

  // Reads n bytes from the instrument's end.
  std::string ReadMaster(std::size_t n) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (got.size() < n && std::chrono::steady_clock::now() < end) {
      pollfd p{master, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
      char buf[256];
      const ssize_t r = ::read(master, buf, sizeof buf);
      if (r > 0) got.append(buf, static_cast<std::size_t>(r));
    }
    return got;
  }

  termios SlaveSettings() {
    termios tio{};
    EXPECT_EQ(::tcgetattr(master, &tio), 0);  // a master reports its slave's settings
    return tio;
  }
};

TEST_F(SerialPtyTest, RoundTripThroughComLinkWithReceiveEvent) {
  fs::create_symlink(slave, dir / "COM5");
  SerialPort port(rt);
  port.setCommPort(5);
  port.setSettings("19200,n,8,1");
  port.setRThreshold(1);
  int events = 0;
  port.OnComm = [&] { ++events; };
  port.setPortOpen(true);

  termios tio = SlaveSettings();
  EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B19200));
  EXPECT_EQ(::cfgetispeed(&tio), static_cast<speed_t>(B19200));
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);

  // Control characters that a cooked terminal would act on pass as plain bytes.
  const std::string reply = "\x02GAS\x17\x00\r\n\x03\x11\x13\x7f\x80\xff"s;
  ASSERT_EQ(::write(master, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
  ASSERT_TRUE(WaitFor([&] { return port.InBufferCount() == static_cast<int>(reply.size()); }));
  EXPECT_GE(events, 1);
  EXPECT_EQ(port.CommEvent(), kCommEvReceive);
  EXPECT_EQ(port.Input(), reply);

  const std::string request = "\x02RPM\x17\x31\x17ID\n\x00\xe0\x03"s;
  port.Output(request);
  EXPECT_EQ(ReadMaster(request.size()), request);

  port.setSettings("1200,n,8,1");
  tio = SlaveSettings();
  EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B1200));
}

TEST_F(SerialPtyTest, ReopensWhileAnotherDescriptorKeepsTheTerminal) {
  fs::create_symlink(fs::path(slave).filename(), dir / "COM2");  // a relative target
  EXPECT_EQ(rt.serial.devicePath(2), dir / fs::path(slave).filename());
  fs::remove(dir / "COM2");
  fs::create_symlink(slave, dir / "COM2");
  EXPECT_EQ(rt.serial.devicePath(2), slave);

  // A simulator may hold the terminal open itself; the exclusive mode must not outlive
  // the program's own descriptor.
  const int keeper = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(keeper, 0);
  SerialPort port(rt);
  port.setCommPort(2);
  port.setRThreshold(1);
  for (int round = 0; round < 2; ++round) {
    port.setPortOpen(true);
    port.Output("x");
    EXPECT_EQ(ReadMaster(1), "x");
    port.setPortOpen(false);
  }
  ::close(keeper);

  // Another program (here: a second runtime) finds the terminal busy while it is open,
  // where the system enforces exclusive use (it does not for the superuser).
  port.setPortOpen(true);
  Runtime other(EventLoop::ClockKind::Manual);
  other.currentDirectory = dir.path();
  SerialPort second(other);
  second.setCommPort(2);
  if (::geteuid() != 0) {
    const auto [number, text] = ErrorOf([&] { second.setPortOpen(true); });
    EXPECT_EQ(number, kErrPortAlreadyOpen);
    EXPECT_NE(text.find(slave), std::string::npos) << text;
  }
}

TEST_F(SerialPtyTest, MissingOrWrongDevicesGiveReadableErrors) {
  fs::create_symlink("/nonexistent/ttyUSB9", dir / "COM7");
  std::ofstream(dir / "COM8") << "not a terminal";
  rt.serial.attachMemory(7);
  rt.serial.detach(7);  // port 7 is the file system's again
  SerialPort port(rt);
  port.setCommPort(7);
  auto [number, text] = ErrorOf([&] { port.setPortOpen(true); });
  EXPECT_EQ(number, kErrPortOpenFailed);
  EXPECT_EQ(
      text,
      "Cannot open serial device /nonexistent/ttyUSB9 (link COM7): No such file or directory");

  port.setCommPort(8);
  std::tie(number, text) = ErrorOf([&] { port.setPortOpen(true); });
  EXPECT_EQ(number, kErrPortOpenFailed);
  EXPECT_NE(text.find("COM8 is not a serial device"), std::string::npos) << text;
  EXPECT_FALSE(port.PortOpen());
  EXPECT_FALSE(rt.serial.inUse(8));
}

TEST_F(SerialPtyTest, HangUpOfTheOtherEndNeitherSpinsNorPassesAsSuccess) {
  fs::create_symlink(slave, dir / "COM1");
  SerialPort port(rt);
  port.setCommPort(1);
  port.setRThreshold(1);
  port.setPortOpen(true);
  ::close(master);
  master = -1;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 20; ++i) rt.loop.advance(25);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  const auto [number, text] = ErrorOf([&] { port.Output("x"); });
  EXPECT_EQ(number, kErrPortIoFailed);
  EXPECT_NE(text.find(slave), std::string::npos) << text;
  port.setPortOpen(false);
}

}  // namespace
}  // namespace plat
