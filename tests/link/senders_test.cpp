#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "link/OwnProtocolFrame.h"
#include "link/Senders.h"
#include "link_test_util.h"
#include "platform/core/Error.h"
#include "platform/serial/SerialPort.h"
#include "state/ProgramState.h"

namespace vs {
namespace {

const std::string kGasId = testing::Ctl("<GAS|1|IDC7>");

// A port with an in-memory device on `number`, and the writes that reach the device.
struct Line {
  Line(ProgramState& p, int number) : port(p.rt.serial), device(p.rt.serial.attachMemory(number)) {
    port.setCommPort(number);
    device->onWrite = [this](std::string_view bytes) { writes.emplace_back(bytes); };
  }
  void open() { port.setPortOpen(true); }
  plat::SerialPort port;
  std::shared_ptr<plat::MemoryDevice> device;
  std::vector<std::string> writes;
};

class SendersTest : public ::testing::Test {
 protected:
  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
  TestFormPorts tests;  // the ports of the loaded test forms
};

TEST_F(SendersTest, TestFormsRouteByTheActiveFlags) {
  Line smoke(p, 1), gas(p, 2);
  smoke.open();
  gas.open();
  tests = {&smoke.port, &gas.port};
  SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", "");
  EXPECT_TRUE(smoke.writes.empty());
  EXPECT_TRUE(gas.writes.empty());

  l.GasFormActive = 1;
  SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", "");
  EXPECT_EQ(gas.writes, std::vector<std::string>{kGasId});

  // Both in use: one call, the same frame to both ports, the smoke form's first.
  l.OpaFormActive = 1;
  std::vector<int> order;
  smoke.device->onWrite = [&](std::string_view) { order.push_back(1); };
  gas.device->onWrite = [&](std::string_view) { order.push_back(2); };
  SendOwnProtocolFrame(l, tests, 49, 'P', "");
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(smoke.device->takeWritten(), BuildOwnProtocolFrame(49, 'P', ""));

  // A closed port, and a form that is not loaded, swallow the frame.
  gas.port.setPortOpen(false);
  tests.AnfumoMSComm1 = nullptr;
  order.clear();
  SendMctcNetFrameToTestForms(l, tests, "OPA", "@VA", "1", "");
  SendOwnProtocolFrame(l, tests, 81, '?', "");
  EXPECT_TRUE(order.empty());
}

TEST_F(SendersTest, EachFormSenderWritesOneWholeFrameToItsOwnPort) {
  using Sender = void (*)(plat::SerialPort&, std::string_view, std::string_view, std::string_view,
                          std::string_view);
  struct Case {
    const char* name;
    Sender send;
  };
  const Case cases[] = {
      {"recognition", SendMctcNetFrameToRecognitionForm},
      {"opacimeter set-up", SendMctcNetFrameToOpaSetup},
      {"gas set-up", SendMctcNetFrameToGasSetup},
  };
  int number = 3;
  for (const Case& c : cases) {
    Line line(p, number++);
    c.send(line.port, "GAS", "ID", "1", "");  // port closed: nothing, no error
    line.open();
    c.send(line.port, "GAS", "ID", "1", "");
    c.send(line.port, "RPM", "CI", "1", "4");
    EXPECT_EQ(line.writes, (std::vector<std::string>{kGasId, testing::Ctl("<RPM|1|CI|425>")}))
        << c.name;
  }
}

TEST_F(SendersTest, ClosedPortsStayClosedExceptTheEngineSpeedSetUp) {
  Line opasu(p, 4), rpmsu(p, 5);
  SendMctcNetFrameToOpaSetup(opasu.port, "OPA", "ID", "1", "");
  EXPECT_FALSE(opasu.port.PortOpen());
  EXPECT_TRUE(opasu.writes.empty());

  // The set-up of the engine-speed counter opens its port first ...
  SendMctcNetFrameToRpmSetup(rpmsu.port, "RPM", "ID", "1", "");
  EXPECT_TRUE(rpmsu.port.PortOpen());
  EXPECT_EQ(rpmsu.writes.size(), 1u);
  // ... and a port that cannot be opened ends the send without a message.
  rpmsu.port.setPortOpen(false);
  rpmsu.device->setAvailable(false);
  EXPECT_NO_THROW(SendMctcNetFrameToRpmSetup(rpmsu.port, "RPM", "ID", "1", ""));
  EXPECT_FALSE(rpmsu.port.PortOpen());
  EXPECT_EQ(rpmsu.writes.size(), 1u);
}

TEST_F(SendersTest, WriteFailureIsLostLikeAClosedPort) {
  Line gas(p, 2);
  gas.open();
  tests.AngasMSComm2 = &gas.port;
  l.GasFormActive = 1;
  gas.device->onWrite = [](std::string_view) {
    throw plat::RuntimeError(plat::kErrPortIoFailed, "device gone");
  };
  EXPECT_NO_THROW(SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", ""));
}

TEST_F(SendersTest, EngineSpeedWatchdog) {
  Line rpm(p, 6);
  rpm.open();
  int blanked = 0;  // RPM.Label1 set to "- - -"
  const auto send = [&] {
    if (SendMctcNetFrameToRpmForm(l, &rpm.port, "RPM", "VA", "1", "")) ++blanked;
  };

  // The first send after opening counts as a miss already.
  send();
  EXPECT_EQ(l.RpmMissCount, 1);
  EXPECT_EQ(blanked, 1);
  EXPECT_EQ(rpm.writes.size(), 1u);
  send();
  EXPECT_EQ(l.RpmMissCount, 2);
  // From the third miss on the port is closed and opened again before the write: waiting
  // input is discarded by the close.
  rpm.device->send("stale");
  p.rt.loop.processPending();
  EXPECT_EQ(rpm.port.InBufferCount(), 5);
  send();
  EXPECT_EQ(l.RpmMissCount, 3);
  EXPECT_EQ(rpm.port.InBufferCount(), 0);
  EXPECT_TRUE(rpm.port.PortOpen());
  EXPECT_EQ(rpm.writes.size(), 3u);
  // A device that cannot be opened again: the error is ignored, nothing is written.
  rpm.device->setAvailable(false);
  EXPECT_NO_THROW(send());
  EXPECT_FALSE(rpm.port.PortOpen());
  EXPECT_EQ(rpm.writes.size(), 3u);
  EXPECT_EQ(l.RpmMissCount, 4);
  rpm.device->setAvailable(true);
  send();
  EXPECT_TRUE(rpm.port.PortOpen());
  EXPECT_EQ(rpm.writes.size(), 4u);
  EXPECT_EQ(blanked, 5);

  // A reply seen resets the count, writes without touching the display, and is consumed.
  l.RpmReplySeen = 1;
  send();
  EXPECT_EQ(l.RpmMissCount, 0);
  EXPECT_EQ(l.RpmReplySeen, 0);
  EXPECT_EQ(blanked, 5);
  EXPECT_EQ(rpm.writes.size(), 5u);
}

TEST_F(SendersTest, EngineSpeedWatchdogClearsALeftoverReplyFlag) {
  // A flag left from an earlier opening while the port is closed: the send does not
  // write, but clears the flag, so the next sends count misses and reopen the port.
  Line rpm(p, 6);
  l.RpmReplySeen = 1;
  (void)SendMctcNetFrameToRpmForm(l, &rpm.port, "RPM", "VA", "1", "");
  EXPECT_EQ(l.RpmReplySeen, 0);
  for (int i = 0; i < 3; ++i) (void)SendMctcNetFrameToRpmForm(l, &rpm.port, "RPM", "VA", "1", "");
  EXPECT_TRUE(rpm.port.PortOpen());
  EXPECT_EQ(rpm.writes.size(), 1u);
}

TEST_F(SendersTest, EngineSpeedFormNotLoaded) {
  int blanked = 0;
  for (int i = 0; i < 3; ++i) {
    if (SendMctcNetFrameToRpmForm(l, nullptr, "RPM", "VA", "1", "")) ++blanked;
  }
  EXPECT_EQ(l.RpmMissCount, 3);
  EXPECT_EQ(blanked, 0);
  Line rpm(p, 6);
  if (SendMctcNetFrameToRpmForm(l, &rpm.port, "RPM", "VA", "1", "")) ++blanked;
  EXPECT_EQ(blanked, 1);
  EXPECT_EQ(rpm.writes.size(), 1u);
}

}  // namespace
}  // namespace vs
