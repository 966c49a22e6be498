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

using Writes = std::vector<std::string>;

class SendersTest : public ::testing::Test {
 protected:
  // A port with an in-memory device on `number`; each write that reaches the device is
  // logged as the number, a blank and the bytes.
  struct Line {
    Line(SendersTest& t, int number)
        : port(t.p.rt.serial), device(t.p.rt.serial.attachMemory(number)) {
      port.setCommPort(number);
      device->onWrite = [&t, number](std::string_view b) {
        t.written.push_back(std::to_string(number) + " " + std::string(b));
      };
    }
    plat::SerialPort port;
    std::shared_ptr<plat::MemoryDevice> device;
  };

  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
  Writes written;
};

TEST_F(SendersTest, TestFormsRouteByTheActiveFlagsAndLoseWhatCannotBeWritten) {
  Line smoke(*this, 1), gas(*this, 2), rpmsu(*this, 5);
  smoke.port.setPortOpen(true);
  gas.port.setPortOpen(true);
  TestFormPorts tests{&smoke.port, &gas.port};
  SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", "");  // no form in use
  l.GasFormActive = 1;
  SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", "");
  l.OpaFormActive = 1;  // both in use: the smoke form's port first
  SendOwnProtocolFrame(l, tests, 49, 'P', "");
  const std::string own = BuildOwnProtocolFrame(49, 'P', "");
  EXPECT_EQ(written, (Writes{"2 " + testing::Ctl("<GAS|1|IDC7>"), "1 " + own, "2 " + own}));

  // A closed port, a form that is not loaded and a write that fails lose the frame.
  gas.port.setPortOpen(false);
  tests.AnfumoMSComm1 = nullptr;
  SendOwnProtocolFrame(l, tests, 49, 'P', "");
  tests.AnfumoMSComm1 = &smoke.port;
  smoke.device->onWrite = [](std::string_view) {
    throw plat::RuntimeError(plat::kErrPortIoFailed, "device gone");
  };
  EXPECT_NO_THROW(SendOwnProtocolFrame(l, tests, 49, 'P', ""));
  EXPECT_EQ(written.size(), 3u);

  // The engine-speed set-up opens its port first; one that cannot be opened ends the send.
  SendMctcNetFrameToRpmSetup(rpmsu.port, "RPM", "ID", "1", "");
  EXPECT_TRUE(rpmsu.port.PortOpen());
  rpmsu.port.setPortOpen(false);
  rpmsu.device->setAvailable(false);
  EXPECT_NO_THROW(SendMctcNetFrameToRpmSetup(rpmsu.port, "RPM", "ID", "1", ""));
  EXPECT_EQ(written.size(), 4u);
}

TEST_F(SendersTest, EngineSpeedWatchdog) {
  Line rpm(*this, 6);
  // Per send: b when the display is to be blanked, the miss count, the port o(pen) or
  // c(losed), the writes so far. R: a reply came first; n: a send while the form is not
  // loaded.
  const auto play = [&](std::string_view script) {
    std::string out;
    for (char c : script) {
      if (c == 'R') l.RpmReplySeen = 1;
      if (c != 's' && c != 'n') continue;
      const bool blank =
          SendMctcNetFrameToRpmForm(l, c == 's' ? &rpm.port : nullptr, "RPM", "VA", "1", "");
      out += (blank ? "b" : "-") + std::to_string(l.RpmMissCount) +
             (rpm.port.PortOpen() ? "o" : "c") + std::to_string(written.size()) + " ";
    }
    return out;
  };
  // A reply flag left from an earlier opening is cleared without a write; from the third
  // miss in a row the port is closed and opened again before the write; a reply since the
  // last send clears the count.
  EXPECT_EQ(play("Rs s s s n Rs"), "-0c0 b1c0 b2c0 b3o1 -4o1 -0o2 ");
}

}  // namespace
}  // namespace vs
