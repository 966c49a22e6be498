#include "platform/serial/SerialPort.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Error.h"
#include "platform/core/Runtime.h"

namespace plat {
namespace {

using namespace std::string_literals;

// Expects `f` to throw RuntimeError `number` whose text contains `part`.
template <typename F>
void ExpectError(F&& f, int number, const std::string& part) {
  try {
    f();
    ADD_FAILURE() << "no error, expected " << number;
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), number) << e.what();
    EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
  }
}

class SerialPortTest : public ::testing::Test {
 protected:
  Runtime rt{EventLoop::ClockKind::Manual};
  std::shared_ptr<MemoryDevice> dev = rt.serial.attachMemory(3);
  SerialPort port{rt};
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

TEST_F(SerialPortTest, BytesRoundTripAndArriveAsReceiveEventsThroughTheLoop) {
  port.setSettings("19200,n,8,1");
  Open();
  EXPECT_TRUE(dev->isOpen());
  EXPECT_EQ(dev->baud(), 19200);

  std::vector<std::string> seen;
  dev->onWrite = [&](std::string_view b) { seen.emplace_back(b); };
  const std::string frame = "\x02GAS\x17\x00\x80\xff\x03"s;
  port.Output(frame);
  port.Output("ID");
  EXPECT_EQ(seen, (std::vector<std::string>{frame, "ID"}));  // each output is one write

  const std::string reply = "\x00\x01\x7f\x80\xe0\xff"s;
  dev->send(reply);
  EXPECT_TRUE(events.empty());  // nothing before the loop runs
  rt.loop.advance(25);
  EXPECT_EQ(events, (std::vector<std::string>{reply}));
  EXPECT_EQ(port.CommEvent(), kCommEvReceive);
  EXPECT_EQ(port.InBufferCount(), 0);
}

TEST_F(SerialPortTest, ReceiveThresholdDecidesWhenEventsCome) {
  port.OnComm = [this] { events.push_back(std::to_string(port.InBufferCount())); };
  Open(0);  // bytes wait, no events
  Arrive("ab");
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(port.InBufferCount(), 2);
  EXPECT_EQ(port.CommEvent(), 0);

  port.setRThreshold(4);
  Arrive("c");
  EXPECT_TRUE(events.empty());
  dev->send("d");
  Arrive("e");  // nobody reads: every arrival with enough waiting raises an event
  EXPECT_EQ(events, (std::vector<std::string>{"4", "5"}));
  EXPECT_EQ(port.Input(), "abcde");

  ExpectError([&] { port.setRThreshold(-1); }, kErrInvalidProperty, "Invalid property value");
  EXPECT_EQ(port.RThreshold(), 4);
}

TEST_F(SerialPortTest, ASimulatorAnsweringFromOnWriteIsNeverReentrant) {
  // Request and answer in a loop, the way an instrument exchange runs.
  dev->onWrite = [&](std::string_view b) { dev->send("re:" + std::string(b)); };
  Open();
  int depth = 0;
  port.OnComm = [&] {
    EXPECT_EQ(++depth, 1);
    events.push_back(port.Input());
    if (events.size() < 3) port.Output(std::to_string(events.size()));
    --depth;
  };
  port.Output("0");
  EXPECT_TRUE(events.empty());  // the answer waits for the loop
  rt.loop.processPending();
  EXPECT_EQ(events, (std::vector<std::string>{"re:0", "re:1", "re:2"}));
}

TEST_F(SerialPortTest, ErrorsKeepTheOldValuesAndNameThePort) {
  ExpectError([&] { port.setCommPort(0); }, kErrInvalidPortNumber, "1 to 16");
  ExpectError([&] { port.setCommPort(17); }, kErrInvalidPortNumber, "17");
  EXPECT_EQ(port.CommPort(), 3);
  for (const char* bad : {"4800,n,8,1", "9600,e,7,1", "9600", "", "9600,n,8,1 "})
    ExpectError([&] { port.setSettings(bad); }, kErrInvalidProperty, "Invalid property value");
  EXPECT_EQ(port.Settings(), "9600,n,8,1");
  port.setSettings("1200,N,8,1");  // the parity letter in either case
  EXPECT_EQ(port.Settings(), "1200,N,8,1");

  ExpectError([&] { port.Output("x"); }, kErrPortNotOpen, "not open");
  EXPECT_EQ(dev->takeWritten(), "");

  dev->setAvailable(false);
  ExpectError([&] { port.setPortOpen(true); }, kErrPortOpenFailed, "COM3: No such file");
  EXPECT_FALSE(port.PortOpen());
  dev->setAvailable(true);

  port.setPortOpen(true);
  ExpectError([&] { port.setPortOpen(true); }, kErrPortAlreadyOpen, "already open");
  ExpectError([&] { port.setCommPort(4); }, kErrPortAlreadyOpen, "COM3");
  EXPECT_EQ(port.CommPort(), 3);

  // Another control of the same program finds the port busy until this one lets it go.
  SerialPort other(rt);
  other.setCommPort(3);
  ExpectError([&] { other.setPortOpen(true); }, kErrPortAlreadyOpen, "COM3");
  EXPECT_FALSE(other.PortOpen());
  port.setPortOpen(false);
  other.setPortOpen(true);
  EXPECT_TRUE(rt.serial.inUse(3));
}

TEST_F(SerialPortTest, ClosingDiscardsInputAndReopeningKeepsNumberAndSettings) {
  port.setSettings("38400,n,8,1");
  Open(0);
  Arrive("old");
  EXPECT_EQ(port.InBufferCount(), 3);
  dev->send("in flight");
  port.setPortOpen(false);
  port.setPortOpen(false);  // closing twice is harmless
  EXPECT_FALSE(dev->isOpen());
  EXPECT_EQ(port.InBufferCount(), 0);
  dev->send("while closed");

  Open();
  EXPECT_EQ(port.CommPort(), 3);
  EXPECT_EQ(dev->baud(), 38400);
  rt.loop.processPending();
  EXPECT_TRUE(events.empty());     // nothing from before the reopen leaks into it
  port.setSettings("1200,n,8,1");  // applies to the open device at once
  EXPECT_EQ(dev->baud(), 1200);
  Arrive("new");
  EXPECT_EQ(events, (std::vector<std::string>{"new"}));
}

TEST_F(SerialPortTest, HandlerMayCloseOrDestroyItsPortAndAFloodIsCapped) {
  Open();
  port.OnComm = [&] { port.setPortOpen(false); };
  dev->send("a");
  Arrive("b");
  EXPECT_FALSE(port.PortOpen());
  EXPECT_FALSE(rt.serial.inUse(3));

  auto owned = std::make_unique<SerialPort>(rt);
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
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(dev->isOpen());

  Open(0);
  Arrive(std::string(SerialPort::kInBufferSize + 100, 'z'));
  EXPECT_EQ(port.InBufferCount(), static_cast<int>(SerialPort::kInBufferSize));
}

TEST(SerialRegistryTest, PortNumberMapsToTtySWithoutAComLink) {
  Runtime rt(EventLoop::ClockKind::Manual);
  rt.currentDirectory = "/nonexistent-station";
  EXPECT_EQ(rt.serial.devicePath(1), "/dev/ttyS0");
  EXPECT_EQ(rt.serial.devicePath(16), "/dev/ttyS15");
}

}  // namespace
}  // namespace plat
