// The frame senders: the test forms' ports, the engine-speed set-up's and the engine-speed
// form's with its watchdog.
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

TEST(SendersTest, RouteByTheActiveFlagsLoseWhatCannotBeWrittenAndWatchTheEngineSpeed) {
  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
  // Ports on in-memory devices; each write that reaches a device is logged as its number,
  // a blank and the bytes.
  Writes written;
  plat::SerialPort smoke{p.rt.serial}, gas{p.rt.serial}, rpmsu{p.rt.serial}, rpm{p.rt.serial};
  std::shared_ptr<plat::MemoryDevice> devices[7];
  for (auto [port, n] : {std::pair{&smoke, 1}, {&gas, 2}, {&rpmsu, 5}, {&rpm, 6}}) {
    devices[n] = p.rt.serial.attachMemory(n);
    devices[n]->onWrite = [&written, n](std::string_view b) {
      written.push_back(std::to_string(n) + " " + std::string(b));
    };
    port->setCommPort(n);
    port->setPortOpen(n < 3);
  }
  TestFormPorts tests{&smoke, &gas};
  SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", "");  // no form in use
  l.GasFormActive = 1;
  SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", "");
  l.OpaFormActive = 1;  // both in use: the smoke form's port first
  SendOwnProtocolFrame(l, tests, 49, 'P', "");
  const std::string own = BuildOwnProtocolFrame(49, 'P', "");
  EXPECT_EQ(written, (Writes{"2 " + testing::Ctl("<GAS|1|IDC7>"), "1 " + own, "2 " + own}));

  // A closed port, a form that is not loaded and a write that fails lose the frame.
  gas.setPortOpen(false);
  tests.AnfumoMSComm1 = nullptr;
  SendOwnProtocolFrame(l, tests, 49, 'P', "");
  tests.AnfumoMSComm1 = &smoke;
  devices[1]->onWrite = [](std::string_view) {
    throw plat::RuntimeError(plat::kErrPortIoFailed, "device gone");
  };
  EXPECT_NO_THROW(SendOwnProtocolFrame(l, tests, 49, 'P', ""));
  EXPECT_EQ(written.size(), 3u);

  // The engine-speed set-up opens its port first; one that cannot be opened ends the send.
  SendMctcNetFrameToRpmSetup(rpmsu, "RPM", "ID", "1", "");
  EXPECT_TRUE(rpmsu.PortOpen());
  rpmsu.setPortOpen(false);
  devices[5]->setAvailable(false);
  EXPECT_NO_THROW(SendMctcNetFrameToRpmSetup(rpmsu, "RPM", "ID", "1", ""));
  EXPECT_EQ(written.size(), 4u);

  // The engine-speed form's watchdog. Per send: b when the display is to be blanked, the miss
  // count, the port o(pen) or c(losed), its writes so far. R: a reply came first; n: a send while
  // the form is not loaded.
  const auto play = [&](std::string_view script) {
    std::string out;
    for (char c : script) {
      if (c == 'R') l.RpmReplySeen = 1;
      if (c != 's' && c != 'n') continue;
      const bool blank =
          SendMctcNetFrameToRpmForm(l, c == 's' ? &rpm : nullptr, "RPM", "VA", "1", "");
      out += (blank ? "b" : "-") + std::to_string(l.RpmMissCount) + (rpm.PortOpen() ? "o" : "c") +
             std::to_string(written.size() - 4) + " ";
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
