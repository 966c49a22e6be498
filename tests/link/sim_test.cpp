// The simulated instruments on an in-memory line, driven through the link as the forms
// drive it: senders out, collector and parsers in.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/FrameCollector.h"
#include "link/OwnProtocolFrame.h"
#include "link/ReplyParsers.h"
#include "link/Senders.h"
#include "link/SmokeRpmReplies.h"
#include "link_test_util.h"
#include "platform/serial/SerialPort.h"
#include "sim/Instrument.h"
#include "state/ProgramState.h"

namespace vs {
namespace {

using sim::Device;
using sim::Instrument;
using sim::Protocol;
using Status = McnCollected::Status;

// A test form's port with an instrument on the other end of the line.
class Bench {
 public:
  Bench(ProgramState& p, Device device, Protocol protocol, int model = 0)
      : p_(p), port(p.rt.serial), instrument(device, protocol, model) {
    auto dev = p.rt.serial.attachMemory(2);
    sim::Attach(instrument, dev, &p.rt.loop);
    port.setCommPort(2);
    port.setRThreshold(1);
    port.OnComm = [this] {
      ++events;
      AppendReceived(buffer, port.Input(), true);
      if (instrument.protocol() == Protocol::Binary) {
        if (CheckOwnProtocolReply(buffer, instrument.addressByte(), p_.link.PendingCommand) ==
            OwnReplyCheck::Complete) {
          binaryReplies.push_back(std::exchange(buffer, {}));
        }
        return;
      }
      McnCollected got = CollectTestFormReply(p_.link, buffer);
      if (got.status != Status::Waiting) collected.push_back(std::move(got));
    };
    port.setPortOpen(true);
    p.link.GasFormActive = 1;
    p.link.McnAddress = instrument.address();
    p.link.McnDevNumber = "1";
    p.link.McnDevNumberLen = 1;
  }

  // Sends an MCTC-NET request as the test forms do and lets the reply come in.
  void Ask(const std::string& command, const std::string& data = "") {
    p_.link.McnCommand = command;
    p_.link.McnCommandLen = static_cast<std::int16_t>(command.size());
    SendMctcNetFrameToTestForms(p_.link, {nullptr, &port}, p_.link.McnAddress, command, "1", data);
    p_.rt.loop.processPending();
  }
  void AskBinary(int command, const std::string& data = "") {
    p_.link.PendingCommand = static_cast<std::int16_t>(command);
    SendOwnProtocolFrame(p_.link, {nullptr, &port}, instrument.addressByte(), command, data);
    p_.rt.loop.processPending();
  }
  const McnCollected& Last() const { return collected.back(); }

  ProgramState& p_;
  plat::SerialPort port;
  Instrument instrument;
  std::string buffer;
  std::vector<McnCollected> collected;
  std::vector<std::string> binaryReplies;
  int events = 0;
};

class SimTest : public ::testing::Test {
 protected:
  ProgramState p{plat::EventLoop::ClockKind::Manual};
};

TEST_F(SimTest, GasAnalyserOverMctcNet) {
  Bench b(p, Device::Gas, Protocol::Mctc);
  b.instrument.identity.version = "4.005";
  b.Ask("ID");
  ASSERT_EQ(b.Last().status, Status::Accepted);
  ParseIdReply(p.link, b.Last().frame, 2, 1);
  EXPECT_EQ(p.link.InstrExpiry, "31/12/2030");
  EXPECT_DOUBLE_EQ(p.link.InstrVersionX1000, 4005);

  b.instrument.gas.co = 0.35;
  b.Ask("@VA");
  (void)ParseGasVaReply(p.link, p.shell, b.Last().frame, 3, 1);
  EXPECT_DOUBLE_EQ(p.link.GasCO, 0.35);
  EXPECT_DOUBLE_EQ(p.link.GasNOx, 40);

  // Scripted data, and an acknowledgement without data.
  b.instrument.setReply("@RS", "A");
  b.Ask("@RS");
  ParseRsReply(p.link, b.Last().frame, 3, 1);
  EXPECT_EQ(p.link.McnRsStatus1, 'A');
  b.Ask("SB");
  EXPECT_EQ(b.Last().status, Status::Accepted);
  EXPECT_EQ(b.Last().data, "");
  EXPECT_EQ(b.collected.size(), 4u);
  EXPECT_EQ(b.instrument.badFrames, 0);
}

TEST_F(SimTest, OpacimeterAndEngineSpeedCounterOverMctcNet) {
  Bench b(p, Device::Opacimeter, Protocol::Mctc, 5);
  b.instrument.opa.k = 1.75;
  b.Ask("@VA");
  (void)ParseOpaMeasureReply(p.link, p.shell, b.Last().frame);
  EXPECT_DOUBLE_EQ(p.link.OpaK, 1.75);
  b.Ask("@RD");
  (void)ParseOpaRdReply(p.link, p.shell, b.Last().frame);
  EXPECT_DOUBLE_EQ(p.link.OpaSupplyVoltage, 12.6);

  ProgramState q{plat::EventLoop::ClockKind::Manual};
  Bench r(q, Device::EngineSpeed, Protocol::Mctc);
  r.instrument.rpm = {3120, 91.5};
  r.Ask("CI", "4");
  EXPECT_EQ(r.instrument.requests.back().data, "4");
  EXPECT_EQ(r.Last().echo, "CI");
  r.Ask("VE");
  ParseRpmVeReply(q.link, r.Last().frame, 2, 1);
  EXPECT_DOUBLE_EQ(q.link.RpmCounterRpm, 3120);
  EXPECT_DOUBLE_EQ(q.link.RpmCounterOilTemp, 91.5);

  // Requests to another address or with a bad checksum go unanswered; one in two writes
  // is understood.
  SendMctcNetFrameToTestForms(q.link, {nullptr, &r.port}, "GAS", "ID", "1", "");
  r.port.Output(testing::Ctl("<RPM|1|IDFF>"));
  r.port.Output(testing::Ctl("<RPM|"));
  r.port.Output(testing::Ctl("1|IDDB>"));
  q.rt.loop.processPending();
  EXPECT_EQ(r.instrument.badFrames, 1);
  EXPECT_EQ(r.instrument.requests.size(), 3u);
  EXPECT_EQ(r.collected.size(), 3u);
}

TEST_F(SimTest, GasAnalyserOverTheBinaryProtocol) {
  Bench b(p, Device::Gas, Protocol::Binary, 0);
  b.instrument.identity.serial = "12345678";
  b.AskBinary('1');
  ASSERT_EQ(b.binaryReplies.size(), 1u);
  const std::string id = b.binaryReplies[0];
  EXPECT_EQ(id.substr(7, 8), "12345678");  // bytes 8-15
  EXPECT_EQ(id[21], '5');                  // byte 22
  EXPECT_EQ(id[22], '4');                  // byte 23
  EXPECT_EQ(256 * static_cast<unsigned char>(id[16]) + static_cast<unsigned char>(id[17]), 512);

  b.AskBinary('#', GasChannelList(0, false));
  EXPECT_EQ(b.instrument.requests.back().data, GasChannelList(0, false));
  b.instrument.gas.co = 1.3;
  b.instrument.gas.rpm = -1;
  b.AskBinary('P');
  ASSERT_EQ(b.binaryReplies.size(), 3u);
  const std::string v = b.binaryReplies[2];
  ASSERT_EQ(v.size(), 48u);
  const auto byte = [&](int n) { return static_cast<unsigned char>(v[n - 1]); };
  EXPECT_EQ(256 * byte(30) + byte(31), 1300);                     // CO
  EXPECT_EQ(256 * byte(35) + byte(36), 14500);                    // CO2
  EXPECT_EQ(byte(25), 255);                                       // engine speed: no signal
  EXPECT_EQ(65536 * byte(9) + 256 * byte(10) + byte(11), 85000);  // oil temperature

  // A reply that echoes another command is not taken.
  b.AskBinary('?');
  p.link.PendingCommand = 'E';
  b.instrument.send(sim::BinaryReply(49, '?', "x"));
  p.rt.loop.processPending();
  EXPECT_EQ(b.binaryReplies.size(), 4u);
  EXPECT_TRUE(b.buffer.empty());
}

TEST_F(SimTest, OpacimeterOverTheBinaryProtocol) {
  Bench b(p, Device::Opacimeter, Protocol::Binary, 1);
  b.instrument.opa.k = 2.34;
  b.instrument.opa.n = -1;
  for (int command : {'P', 'a', '1'}) b.AskBinary(command);
  ASSERT_EQ(b.binaryReplies.size(), 3u);
  std::map<int, int> value;  // channel: its first and second value bytes as one number
  for (int k = 0; k < 8; ++k) {
    const auto r = OwnProtocolRecord(b.binaryReplies[0], k);
    ASSERT_TRUE(r);
    value[(*r)[0]] = 256 * (*r)[3] + (*r)[4];
  }
  EXPECT_EQ(value[7], 234);        // K
  EXPECT_EQ(value[1] / 256, 255);  // N out of range
  EXPECT_EQ(value[5], 75);         // cell temperature
  EXPECT_EQ(b.binaryReplies[1].substr(6, 6), "311230");
  EXPECT_EQ(b.binaryReplies[2].substr(7, 6), "123456");
}

TEST_F(SimTest, SilenceGarbageSplitJoinAndLateReplies) {
  Bench b(p, Device::Gas, Protocol::Mctc);
  b.instrument.silent = true;
  b.Ask("ID");
  EXPECT_EQ(b.events, 0);
  EXPECT_EQ(b.instrument.requests.size(), 1u);

  b.instrument.silent = false;
  b.instrument.garbage = std::string("\xFF\x00zz\x03", 5);
  b.Ask("ID");
  ASSERT_EQ(b.collected.size(), 1u);
  EXPECT_EQ(b.Last().status, Status::Dropped);

  // Split in four writes: four receive events, one frame.
  b.instrument.garbage.clear();
  b.instrument.splitInto = 4;
  b.events = 0;
  b.Ask("@VA");
  EXPECT_EQ(b.events, 4);
  ASSERT_EQ(b.collected.size(), 2u);
  EXPECT_EQ(b.Last().status, Status::Accepted);

  // Joined: the first reply is held and arrives with the second in one write.
  b.instrument.splitInto = 1;
  b.instrument.joinReplies = true;
  b.events = 0;
  b.instrument.gas.co = 1;
  b.Ask("@VA");
  EXPECT_EQ(b.events, 0);
  b.instrument.gas.co = 2;
  b.Ask("@VA");
  EXPECT_EQ(b.events, 1);
  ASSERT_EQ(b.collected.size(), 3u);
  (void)ParseGasVaReply(p.link, p.shell, b.Last().frame, 3, 1);
  EXPECT_DOUBLE_EQ(p.link.GasCO, 2);

  // Late: the reply comes after the given delay on the loop's clock.
  b.instrument.joinReplies = false;
  b.instrument.replyDelayMs = 1500;
  b.Ask("ID");
  EXPECT_EQ(b.collected.size(), 3u);
  p.rt.loop.advance(1499);
  EXPECT_EQ(b.collected.size(), 3u);
  p.rt.loop.advance(1);
  EXPECT_EQ(b.collected.size(), 4u);
}

}  // namespace
}  // namespace vs
