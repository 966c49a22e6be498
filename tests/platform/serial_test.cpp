// Serial ports: the control on an in-memory line, and on a real pseudo-terminal reached
// through a COM<n> link in the current directory, the way a station maps a USB adapter and
// a simulator offers an instrument.
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
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Runtime.h"
#include "platform/core/Error.h"
#include "platform/serial/SerialPort.h"
#include "support/TempFolder.h"
#include "support/WaitFor.h"

namespace plat {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Expects f() to throw error `number` whose text contains `part`.
void ExpectError(const std::function<void()>& f, int number, const std::string& part) {
  try {
    f();
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), number) << e.what();
    EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
  }
}

class SerialPortTest : public ::testing::Test {
 protected:
  Runtime rt{EventLoop::ClockKind::Manual};
  std::shared_ptr<MemoryDevice> dev = rt.serial.attachMemory(3);
  SerialPort port{rt.serial};
  std::vector<std::string> events;  // what OnComm found waiting, read or not

  void SetUp() override {
    port.setCommPort(3);
    port.OnComm = [this] { events.push_back(port.Input()); };
  }
  void Open(int threshold = 1) {
    port.setRThreshold(threshold);
    port.setPortOpen(true);
  }
  // Bytes from the instrument, delivered by the loop.
  void Arrive(const std::string& bytes) {
    dev->send(bytes);
    rt.loop.processPending();
  }
};

// Bytes both ways through the loop, answered from onWrite as a simulator answers, are checked
// by the link, gas and engine-speed tests.
TEST_F(SerialPortTest, ReceiveThresholdDecidesWhenEventsCome) {
  port.OnComm = [this] { events.push_back(std::to_string(port.InBufferCount())); };
  Open(0);  // bytes wait, no events
  Arrive("ab");
  EXPECT_EQ(port.CommEvent(), 0);
  port.setRThreshold(4);
  Arrive("c");
  dev->send("d");
  Arrive("e");  // nobody reads: every arrival with enough waiting raises an event
  EXPECT_EQ(events, (std::vector<std::string>{"4", "5"}));
  EXPECT_EQ(port.Input(), "abcde");
  ExpectError([&] { port.setRThreshold(-1); }, kErrInvalidProperty, "Invalid property value");
  EXPECT_EQ(port.RThreshold(), 4);
}

TEST_F(SerialPortTest, ErrorsKeepTheOldValuesAndNameThePort) {
  ExpectError([&] { port.setCommPort(0); }, kErrInvalidPortNumber, "1 to 16");
  ExpectError([&] { port.setCommPort(17); }, kErrInvalidPortNumber, "17");
  for (const char* bad : {"4800,n,8,1", "9600,e,7,1", "9600", "", "9600,n,8,1 "})
    ExpectError([&] { port.setSettings(bad); }, kErrInvalidProperty, "Invalid property value");
  EXPECT_EQ(std::pair(port.CommPort(), port.Settings()), std::pair(3, "9600,n,8,1"s));
  port.setSettings("1200,N,8,1");  // the parity letter in either case
  EXPECT_EQ(port.Settings(), "1200,N,8,1");

  ExpectError([&] { port.Output("x"); }, kErrPortNotOpen, "not open");
  dev->setAvailable(false);
  ExpectError([&] { port.setPortOpen(true); }, kErrPortOpenFailed, "COM3: No such file");
  EXPECT_EQ(std::pair(dev->takeWritten(), port.PortOpen()), std::pair(""s, false));
  dev->setAvailable(true);

  port.setPortOpen(true);
  ExpectError([&] { port.setPortOpen(true); }, kErrPortAlreadyOpen, "already open");
  ExpectError([&] { port.setCommPort(4); }, kErrPortAlreadyOpen, "COM3");
  EXPECT_EQ(port.CommPort(), 3);
  // Another control of the same program finds the port busy until this one lets it go.
  SerialPort other(rt.serial);
  other.setCommPort(3);
  ExpectError([&] { other.setPortOpen(true); }, kErrPortAlreadyOpen, "COM3");
  port.setPortOpen(false);
  EXPECT_FALSE(other.PortOpen());
  other.setPortOpen(true);
  EXPECT_TRUE(rt.serial.inUse(3));
}

TEST_F(SerialPortTest, ClosingDiscardsInputAndReopeningKeepsNumberAndSettings) {
  port.setSettings("38400,n,8,1");
  Open(0);
  Arrive("old");
  dev->send("in flight");
  port.setPortOpen(false);
  port.setPortOpen(false);  // closing twice is harmless
  EXPECT_EQ(std::pair(dev->isOpen(), port.InBufferCount()), std::pair(false, 0));
  dev->send("while closed");
  Open();
  EXPECT_EQ(std::pair(port.CommPort(), dev->baud()), std::pair(3, 38400));
  port.setSettings("1200,n,8,1");  // applies to the open device at once
  EXPECT_EQ(dev->baud(), 1200);
  Arrive("new");  // nothing from before the reopen leaks into it
  EXPECT_EQ(events, (std::vector<std::string>{"new"}));
}

TEST_F(SerialPortTest, HandlerMayCloseOrDestroyItsPortAndAFloodIsCapped) {
  Open();
  port.OnComm = [&] { port.setPortOpen(false); };
  dev->send("a");
  Arrive("b");
  EXPECT_FALSE(port.PortOpen() || rt.serial.inUse(3));

  auto owned = std::make_unique<SerialPort>(rt.serial);
  owned->setCommPort(3);
  owned->setRThreshold(1);
  owned->setPortOpen(true);
  int calls = 0;
  owned->OnComm = [&] {
    ++calls;
    owned.reset();
  };
  dev->send("x");
  Arrive("y");
  EXPECT_EQ(std::pair(calls, dev->isOpen()), std::pair(1, false));

  // What does not fit the input buffer is lost, and the port says so once, later.
  port.OnComm = [this] { events.push_back(std::to_string(port.CommEvent())); };
  Open(0);
  dev->send(std::string(SerialPort::kInBufferSize - 1, 'z'));
  Arrive("ab");
  EXPECT_EQ(port.InBufferCount(), static_cast<int>(SerialPort::kInBufferSize));
  Arrive("c");
  EXPECT_EQ(events, (std::vector<std::string>{"1007", "1007"}));
}

// Line events come through the loop whatever the threshold, never from inside the call that
// found them, and not at all once the port was closed (or reopened) in between.
TEST_F(SerialPortTest, LineEventsReachTheHandlerLaterAndOnlyForTheirOpening) {
  port.OnComm = [this] { events.push_back(std::to_string(port.CommEvent())); };
  Open(0);
  dev->raiseLineEvent(kCommEventOverrun);
  dev->raiseLineEvent(kCommEventFrame);
  EXPECT_TRUE(events.empty());
  rt.loop.processPending();
  dev->raiseLineEvent(kCommEventTxFull);
  port.setPortOpen(false);
  Open(0);
  dev->raiseLineEvent(kCommEventBreak);
  port.setPortOpen(false);
  dev->raiseLineEvent(kCommEventRxParity);  // closed: nobody hears it
  rt.loop.processPending();
  EXPECT_EQ(events, (std::vector<std::string>{"1005", "1004"}));
  EXPECT_EQ(port.CommEvent(), kCommEventFrame);
}

// A device that goes away leaves the port open: no event, writes lost, and the port opened
// again every half second as it is named then (here a new device), at the settings it has
// then, until it opens; nothing written meanwhile comes out late.
TEST_F(SerialPortTest, DeviceThatGoesAwayIsOpenedAgainAsThePortIsNamedThen) {
  Open();
  dev->unplug();
  EXPECT_TRUE(port.PortOpen() && rt.serial.inUse(3));
  port.Output("lost");
  port.setSettings("19200,n,8,1");
  rt.loop.advance(SerialRegistry::kReopenMs);  // the device is still away
  std::shared_ptr<MemoryDevice> next = rt.serial.attachMemory(3);
  rt.loop.advance(SerialRegistry::kReopenMs - 1);
  EXPECT_FALSE(next->isOpen());
  rt.loop.advance(1);
  ASSERT_TRUE(next->isOpen());
  EXPECT_EQ(std::tuple(dev->takeWritten(), next->takeWritten(), next->baud(), events.size()),
            std::tuple(""s, ""s, 19200, std::size_t{0}));
  port.Output("back");
  next->send("reply");
  rt.loop.advance(5000);
  EXPECT_EQ(std::pair(next->takeWritten(), events), std::pair("back"s, std::vector{"reply"s}));

  // The same device plugged in again is taken up the same way.
  next->unplug();
  next->setAvailable(true);
  rt.loop.advance(SerialRegistry::kReopenMs);
  EXPECT_TRUE(next->isOpen());
}

TEST_F(SerialPortTest, ClosingOrDestroyingThePortStopsTheRetries) {
  Open();
  dev->unplug();
  port.setPortOpen(false);
  dev->setAvailable(true);
  auto owned = std::make_unique<SerialPort>(rt.serial);
  owned->setCommPort(3);
  owned->setPortOpen(true);
  dev->unplug();
  owned.reset();
  dev->setAvailable(true);
  rt.loop.advance(10 * SerialRegistry::kReopenMs);
  EXPECT_FALSE(dev->isOpen() || rt.serial.inUse(3) || port.PortOpen());
  Open();  // the port is free at once
  EXPECT_TRUE(dev->isOpen());
}

class SerialPtyTest : public ::testing::Test {
 protected:
  test::TempFolder dir{"vs-serial"};
  Runtime rt{EventLoop::ClockKind::Manual};
  int master = -1;
  std::string slave;
  SerialPort port{rt.serial};

  void SetUp() override {
    rt.currentDirectory = dir.path();
    NewTerminal();
  }

  // A new pseudo-terminal in master and slave.
  void NewTerminal() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    slave = ::ptsname(master);
  }

  void TearDown() override {
    if (master >= 0) ::close(master);
  }

  // Opens COM<n>, linked to the terminal.
  void Open(int n) {
    fs::create_symlink(slave, dir / ("COM" + std::to_string(n)));
    port.setCommPort(n);
    port.setRThreshold(1);
    port.setPortOpen(true);
  }

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

  // The terminal's speeds and the flags of a raw 8N1 line without flow control, as the
  // master reports its slave's settings.
  auto Mode() {
    termios t{};
    EXPECT_EQ(::tcgetattr(master, &t), 0);
    return std::tuple(::cfgetospeed(&t), ::cfgetispeed(&t),
                      t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS),
                      (t.c_lflag & (ICANON | ECHO | ISIG)) | (t.c_iflag & (IXON | IXOFF | ICRNL)) |
                          (t.c_oflag & OPOST));
  }
};

TEST_F(SerialPtyTest, RoundTripThroughComLinkWithReceiveEvent) {
  port.setSettings("19200,n,8,1");
  int events = 0;
  port.OnComm = [&] { ++events; };
  Open(5);
  EXPECT_EQ(Mode(), std::tuple(speed_t{B19200}, speed_t{B19200}, tcflag_t{CS8}, tcflag_t{0}));

  // Control characters that a cooked terminal would act on pass as plain bytes.
  const std::string reply = "\x02GAS\x17\x00\r\n\x03\x11\x13\x7f\x80\xff"s;
  ASSERT_EQ(::write(master, reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
  ASSERT_TRUE(test::WaitFor(
      rt.loop, [&] { return port.InBufferCount() == static_cast<int>(reply.size()); }));
  EXPECT_EQ(std::pair(events > 0, port.CommEvent()), std::pair(true, kCommEvReceive));
  EXPECT_EQ(port.Input(), reply);

  const std::string request = "\x02RPM\x17\x31\x17ID\n\x00\xe0\x03"s;
  port.Output(request);
  EXPECT_EQ(ReadMaster(request.size()), request);
  port.setSettings("1200,n,8,1");
  EXPECT_EQ(std::get<0>(Mode()), speed_t{B1200});
}

TEST_F(SerialPtyTest, ReopensWhileAnotherDescriptorKeepsTheTerminal) {
  // Without a COM link, the numbered tty; a link with a relative target, from this folder.
  fs::create_symlink(fs::path(slave).filename(), dir / "COM3");
  fs::create_symlink(slave, dir / "COM2");
  EXPECT_EQ(std::tuple(rt.serial.devicePath(16), rt.serial.devicePath(3), rt.serial.devicePath(2)),
            std::tuple(fs::path("/dev/ttyS15"), dir / fs::path(slave).filename(), fs::path(slave)));

  // A simulator may hold the terminal open itself; the exclusive mode must not outlive
  // the program's own descriptor.
  const int keeper = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(keeper, 0);
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
  SerialPort second(other.serial);
  second.setCommPort(2);
  if (::geteuid() != 0) ExpectError([&] { second.setPortOpen(true); }, kErrPortAlreadyOpen, slave);
}

TEST_F(SerialPtyTest, MissingOrWrongDevicesGiveReadableErrors) {
  fs::create_symlink("/nonexistent/ttyUSB9", dir / "COM7");
  std::ofstream(dir / "COM8") << "not a terminal";
  rt.serial.attachMemory(7);
  rt.serial.detach(7);  // port 7 is the file system's again
  port.setCommPort(7);
  ExpectError(
      [&] { port.setPortOpen(true); }, kErrPortOpenFailed,
      "Cannot open serial device /nonexistent/ttyUSB9 (link COM7): No such file or directory");

  port.setCommPort(8);
  ExpectError([&] { port.setPortOpen(true); }, kErrPortOpenFailed, "COM8 is not a serial device");
  EXPECT_FALSE(port.PortOpen() || rt.serial.inUse(8));
}

// The other end closed: the port neither spins nor fails; what it writes is lost until a new
// terminal (another device name) stands behind its link, which it then opens by itself.
TEST_F(SerialPtyTest, HangUpNeitherSpinsNorFailsAndANewTerminalBehindTheLinkIsTakenUp) {
  int events = 0;
  port.OnComm = [&] { ++events; };
  Open(1);
  const int first = master;
  const std::string firstName = slave;
  NewTerminal();  // made while the first one is there: it has another name
  ::close(first);
  const auto start = std::chrono::steady_clock::now();
  // Fewer ticks than one retry period: the first retry comes after the link names the new
  // terminal, never while it still names the old one, whose number another program's
  // terminal may have taken meanwhile.
  for (int i = 0; i < 10; ++i) rt.loop.advance(25);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  port.Output("x");  // lost
  EXPECT_TRUE(port.PortOpen());

  fs::remove(dir / "COM1");
  fs::create_symlink(slave, dir / "COM1");
  rt.loop.advance(SerialRegistry::kReopenMs);
  port.Output("y");
  EXPECT_EQ(std::pair(ReadMaster(1), slave != firstName), std::pair("y"s, true));
  ASSERT_EQ(::write(master, "z", 1), 1);
  ASSERT_TRUE(test::WaitFor(rt.loop, [&] { return port.InBufferCount() == 1; }));
  EXPECT_EQ(std::pair(port.Input(), events), std::pair("z"s, 1));
  port.setPortOpen(false);
}

// A terminal that takes no more: the write returns at once, what did not fit is lost, and the
// port raises a full-transmit-buffer event. A pseudo-terminal counts no line errors.
TEST_F(SerialPtyTest, AFullTransmitBufferRaisesItsEventWithoutWaiting) {
  std::vector<int> codes;
  port.OnComm = [&] { codes.push_back(port.CommEvent()); };
  Open(4);
  const std::string block(4096, 'x');
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000 && codes.empty(); ++i) {
    port.Output(block);
    rt.loop.processPending();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(codes, std::vector{kCommEventTxFull});
}

}  // namespace
}  // namespace plat
