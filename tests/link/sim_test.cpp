// The simulated instruments' conversations, byte for byte, one table per instrument; and
// their misbehaviour on an in-memory line, as a test form's port receives it.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/FrameCollector.h"
#include "link/OwnProtocolFrame.h"
#include "link/ReplyParsers.h"
#include "link/Senders.h"
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
  Bench(ProgramState& p, Device device)
      : p_(p), port(p.rt.serial), instrument(device, Protocol::Mctc) {
    auto dev = p.rt.serial.attachMemory(2);
    sim::Attach(instrument, dev, &p.rt.loop);
    port.setCommPort(2);
    port.setRThreshold(1);
    port.OnComm = [this] {
      ++events;
      AppendReceived(buffer, port.Input(), true);
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
  const McnCollected& Last() const { return collected.back(); }

  ProgramState& p_;
  plat::SerialPort port;
  Instrument instrument;
  std::string buffer;
  std::vector<McnCollected> collected;
  int events = 0;
};

class SimTest : public ::testing::Test {
 protected:
  ProgramState p{plat::EventLoop::ClockKind::Manual};
};

// MCTC-NET frames written as text ('<' STX, '|' ETB); the checksum (the low byte of the
// sum of the bytes after STX, two upper-case hexadecimal digits) and ETX are added here.
std::string Mctc(std::string_view text) {
  std::string f = testing::Ctl(text);
  unsigned sum = 0;
  for (std::size_t i = 1; i < f.size(); ++i) sum += static_cast<unsigned char>(f[i]);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", sum & 0xFFu);
  return f + hex + '\x03';
}

// Bytes written as blank-separated hexadecimal pairs.
std::string Hex(std::string_view text) {
  std::string s;
  for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
    s += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
  }
  return s;
}

// A binary reply: STX, address, ACK, the command, 0, N (data bytes + 2), the data, the
// byte that makes the sum of the frame a multiple of 256, ETX.
std::string Binary(int address, char command, std::string_view hexData) {
  std::string f{'\x02', static_cast<char>(address), '\x06', command, '\0'};
  const std::string data = Hex(hexData);
  f += static_cast<char>(data.size() + 2);
  f += data;
  int sum = 0;
  for (const char c : f) sum += static_cast<unsigned char>(c);
  f += static_cast<char>((256 - sum % 256) % 256);
  return f + '\x03';
}

std::string Shown(std::string_view bytes) {
  std::string s;
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) {
      s += c;
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", u);
      s += buf;
    }
  }
  return s;
}

// One request and the reply it must bring, byte for byte ("" for none).
struct Step {
  std::function<void(Instrument&)> set;  // applied first, when given
  std::string request;
  std::string reply;
  std::int64_t advanceMs = 0;  // on the instrument's clock, before the request
};

void Play(Instrument& instrument, const std::vector<Step>& steps) {
  std::string out;
  std::int64_t ms = 0;
  instrument.send = [&](std::string_view bytes) { out += bytes; };
  instrument.clockMs = [&] { return ms; };
  for (std::size_t n = 0; n < steps.size(); ++n) {
    const Step& s = steps[n];
    ms += s.advanceMs;
    if (s.set) s.set(instrument);
    out.clear();
    instrument.received(s.request);
    EXPECT_EQ(Shown(out), Shown(s.reply)) << "step " << n + 1 << ": " << Shown(s.request);
  }
  EXPECT_EQ(instrument.badFrames, 0);
}

std::function<void(Instrument&)> State(const char* name) {
  return [name](Instrument& i) { ASSERT_TRUE(i.setState(name)) << name; };
}

std::string Own(int address, char command, std::string_view hexData = "") {
  return BuildOwnProtocolFrame(address, command, Hex(hexData));
}

TEST(SimConversationTest, GasAnalyserOverMctcNet) {
  Instrument gas(Device::Gas, Protocol::Mctc);
  Play(gas, {
                {{},
                 Mctc("<GAS|1|ID"),
                 Mctc("<GAS|1|ID|KARVESTON|TOPAZ|OM-4711|AQ123456|31122030|1.5|0")},
                {State("warmup"), Mctc("<GAS|1|ST"), Mctc("<GAS|1|ST|A")},
                {{}, Mctc("<GAS|1|@SD|06122026|143000"), Mctc("<GAS|1|@SD")},
                {{}, Mctc("<GAS|1|@LA"), Mctc("<GAS|1|@LA|BENZINA|CAT|04|4|1.730|0.000")},
                {{}, Mctc("<GAS|1|@SA|METANO|NO CAT|04|2|4.000|0.000"), Mctc("<GAS|1|@SA")},
                {{}, Mctc("<GAS|1|@LA"), Mctc("<GAS|1|@LA|METANO|NO CAT|04|2|4.000|0.000")},
                {{}, Mctc("<GAS|1|@LI"), Mctc("<GAS|1|@LI|0.512")},
                {{}, Mctc("<GAS|1|@LU|047"), Mctc("<GAS|1|@LU|0.512|047")},
                // "@RS" codes with the top bit set: 35 and 5.
                {[](Instrument& i) {
                   i.rsCode1 = 35;
                   i.rsCode2 = 5;
                 },
                 Mctc("<GAS|1|@RS"), Mctc("<GAS|1|@RS|\xA3|\x85")},
                // Stand-by; "SB" in stand-by wakes it; "AZ" gives two auto-zero replies.
                {State("standby"), Mctc("<GAS|1|@ST"), Mctc("<GAS|1|@ST|B")},
                {{}, Mctc("<GAS|1|SB"), Mctc("<GAS|1|SB")},
                {{}, Mctc("<GAS|1|@ST"), Mctc("<GAS|1|@ST|H")},
                {{}, Mctc("<GAS|1|AZ"), Mctc("<GAS|1|AZ")},
                {{}, Mctc("<GAS|1|@ST"), Mctc("<GAS|1|@ST|D")},
                {{}, Mctc("<GAS|1|ST"), Mctc("<GAS|1|ST|D")},
                {{}, Mctc("<GAS|1|@ST"), Mctc("<GAS|1|@ST|H")},
                {{}, Mctc("<GAS|1|SB"), Mctc("<GAS|1|SB")},
                {{}, Mctc("<GAS|1|@ST"), Mctc("<GAS|1|@ST|B")},
                // Leak test: "E" three times, then "R" made by the clock "@SD" set, moved on.
                {{}, Mctc("<GAS|1|ET"), Mctc("<GAS|1|ET|R|06122026|1430")},
                {{}, Mctc("<GAS|1|TT"), Mctc("<GAS|1|TT")},
                {{}, Mctc("<GAS|1|ET"), Mctc("<GAS|1|ET|E|06122026|1430")},
                {[](Instrument& i) { i.gas.pressure = 12.5; }, Mctc("<GAS|1|@LS"),
                 Mctc("<GAS|1|@LS|12.5")},
                {{}, Mctc("<GAS|1|@ET"), Mctc("<GAS|1|@ET|E|06122026|1430")},
                {{}, Mctc("<GAS|1|ET"), Mctc("<GAS|1|ET|E|06122026|1431"), 61000},
                {{}, Mctc("<GAS|1|ET"), Mctc("<GAS|1|ET|R|06122026|1431")},
                {[](Instrument& i) {
                   i.leakFlag = 'I';
                   i.leakDate = "30112026";
                   i.leakTime = "0900";
                 },
                 Mctc("<GAS|1|ET"), Mctc("<GAS|1|ET|I|30112026|0900")},
                // HC residue test: "E" twice, then the result.
                {[](Instrument& i) { i.hcResult = 'I'; }, Mctc("<GAS|1|HC"), Mctc("<GAS|1|HC")},
                {{}, Mctc("<GAS|1|EH"), Mctc("<GAS|1|EH|E")},
                {{}, Mctc("<GAS|1|@EH"), Mctc("<GAS|1|@EH|E")},
                {{}, Mctc("<GAS|1|EH"), Mctc("<GAS|1|EH|I")},
                {{}, Mctc("<GAS|1|@VA"), Mctc("<GAS|1|@VA|0.12|0.1|14.5|120|0.8|1.002|85|850|40")},
                {{}, Mctc("<OPA|1|@VA"), ""},  // another instrument's request
            });
  EXPECT_EQ(gas.clockSet, testing::Ctl("06122026|143000"));
  EXPECT_EQ(gas.fuelSettings, testing::Ctl("METANO|NO CAT|04|2|4.000|0.000"));
}

TEST(SimConversationTest, GasAnalyserOverTheBinaryProtocol) {
  Instrument gas(Device::Gas, Protocol::Binary, 0);
  const auto setStatus = [](std::uint8_t s, std::uint8_t detail) {
    return [=](Instrument& i) {
      i.binaryStatus[0] = s;
      i.binaryStatus[4] = detail;
    };
  };
  Play(
      gas,
      {
          // Serial, P.E.F. 512, firmware 5.4; the check date as digit values.
          {{}, Own(49, '1'), Binary(49, '1', "20 41 51 31 32 33 34 35 36 20 02 00 00 00 00 35 34")},
          {{}, Own(49, '.'), Binary(49, '.', "00 00 00 00 00 00 03 01 01 02 03 00")},
          {State("warmup"), Own(49, '?'), Binary(49, '?', "02 03 00 00 00")},
          {{}, Own(49, '#', "08 0A 12 0E 0C 07 06 05 02"), Binary(49, '#', "")},
          {{}, Own(49, '&', "43"), Binary(49, '&', "")},
          {State("calibration"), Own(49, '?'), Binary(49, '?', "41 43 00 00 00")},
          {State("ready"), Own(49, '?'), Binary(49, '?', "80 43 00 00 00")},
          // Records in the order of the list: oil 85.000 and the extended HC raw
          // value in 24 bits, lambda, rpm, CO, CO2, HC, O2 in 16.
          {{},
           Own(49, 'P'),
           Binary(49, 'P',
                  "0A 00 01 4C 08 12 00 3F FF FF 0E 00 00 03 EA 0C 00 00 03 52 "
                  "07 00 00 00 78 06 00 00 38 A4 05 00 00 00 78 02 00 00 03 20")},
          // Start: calibration twice, then measuring; stop: ready.
          {{}, Own(49, 'E'), Binary(49, 'E', "")},
          {{}, Own(49, '?'), Binary(49, '?', "41 43 00 00 00")},
          {{}, Own(49, '?'), Binary(49, '?', "41 43 00 00 00")},
          {{}, Own(49, '?'), Binary(49, '?', "81 43 00 00 00")},
          {{}, Own(49, '$'), Binary(49, '$', "")},
          {{}, Own(49, '?'), Binary(49, '?', "80 43 00 00 00")},
          {setStatus(32, 7), Own(49, '?'), Binary(49, '?', "20 43 00 00 07")},
          {setStatus(34, 0), Own(49, '?'), Binary(49, '?', "22 43 00 00 00")},
          // Out of range: CO and lambda marked, no engine-speed signal.
          {[](Instrument& i) {
             i.gas.co = -1;
             i.gas.lambda = -1;
             i.gas.rpm = -1;
             i.gas.oilTemp = -1;
           },
           Own(49, 'P'),
           Binary(49, 'P',
                  "0A 00 04 00 00 12 00 3F FF FF 0E 00 00 FF 00 0C 00 00 FF 00 "
                  "07 00 00 FF 00 06 00 00 38 A4 05 00 00 00 78 02 00 00 03 20")},
          // Firmware 4.9 refuses the extended range: its own list reports channel 13.
          {[](Instrument& i) {
             i.identity.version = "4.9";
             i.channelList.clear();
             i.gas = {};
           },
           Own(49, 'P'),
           Binary(49, 'P',
                  "0A 00 01 4C 08 0D 00 00 00 78 0E 00 00 03 EA 0C 00 00 03 52 "
                  "07 00 00 00 78 06 00 00 38 A4 05 00 00 00 78 02 00 00 03 20")},
          {{}, Own(33, '?'), ""},  // the model-2 address
      });

  Instrument model2(Device::Gas, Protocol::Binary, 2);
  Play(model2, {{{},
                 Own(33, 'P'),
                 Binary(33, 'P',
                        "03 00 01 4C 08 09 00 3F FF FF 0B 00 00 03 EA 08 00 00 03 52 "
                        "07 00 00 00 78 06 00 00 38 A4 05 00 00 00 78 02 00 00 03 20")}});
}

TEST(SimConversationTest, OpacimeterOverMctcNet) {
  Instrument opa(Device::Opacimeter, Protocol::Mctc, 5);
  Play(opa, {
                {{},
                 Mctc("<OPA|1|ID"),
                 Mctc("<OPA|1|ID|KARVESTON|TOPAZ|OM-4711|AQ123456|31122030|1.5|0")},
                {State("warmup"), Mctc("<OPA|1|ST"), Mctc("<OPA|1|ST|A")},
                {{}, Mctc("<OPA|1|@LU|21"), Mctc("<OPA|1|@LU|00002|021")},
                {{}, Mctc("<OPA|1|@LU|20"), Mctc("<OPA|1|@LU|00016|020")},
                {[](Instrument& i) { i.params["020"] = "00000"; }, Mctc("<OPA|1|@LU|20"),
                 Mctc("<OPA|1|@LU|00000|020")},
                {{}, Mctc("<OPA|1|@RS"), Mctc("<OPA|1|@RS|\x80|\x80")},
                {[](Instrument& i) {
                   i.rsCode1 = 20;
                   i.errorCode = "005";
                 },
                 Mctc("<OPA|1|@RS"), Mctc("<OPA|1|@RS|\x94|\x80|005")},
                {{}, Mctc("<OPA|1|@RD"), Mctc("<OPA|1|@RD|0|0|0|0|0|12600")},
                {{}, Mctc("<OPA|1|@VA"), Mctc("<OPA|1|@VA|0.35|14.1|800|80|95|75|0")},
                {{}, Mctc("<OPA|1|AZ"), Mctc("<OPA|1|AZ")},
                {{}, Mctc("<OPA|1|@ST"), Mctc("<OPA|1|@ST|D")},
                {{}, Mctc("<OPA|1|@ST"), Mctc("<OPA|1|@ST|D")},
                {{}, Mctc("<OPA|1|@ST"), Mctc("<OPA|1|@ST|H")},
                {{}, Mctc("<OPA|1|SB"), Mctc("<OPA|1|SB")},
                {{}, Mctc("<OPA|1|@ST"), Mctc("<OPA|1|@ST|B")},
            });
}

TEST(SimConversationTest, OpacimeterOverTheBinaryProtocol) {
  Instrument opa(Device::Opacimeter, Protocol::Binary, 1);
  Play(opa, {
                {{}, Own(65, '1'), Binary(65, '1', "20 31 32 33 34 35 36")},
                {{}, Own(65, 'a'), Binary(65, 'a', "33 31 31 32 33 30")},
                {State("check"), Own(65, '?'), Binary(65, '?', "10 00 10 00 32")},
                {{}, Own(65, '#', "08 03 05 06 00 02 08 01 07"), Binary(65, '#', "")},
                {State("warmup"), Own(65, '?'), Binary(65, '?', "10 40 10 00 C8")},
                {State("ready"), Own(65, '?'), Binary(65, '?', "10 00 10 00 C8")},
                // Channels 3, 5 cell 75, 6 oil 80, 0 smoke 95, 2, 8 rpm 800, 1 N 14.1 x 10,
                // 7 k 0.35 x 100.
                {{},
                 Own(65, 'P'),
                 Binary(65, 'P',
                        "03 00 00 00 00 05 00 00 00 4B 06 00 00 00 50 00 00 00 00 5F "
                        "02 00 00 00 00 08 00 00 03 20 01 00 00 00 8D 07 00 00 00 23")},
                {{}, Own(65, 'E'), Binary(65, 'E', "")},
                {{}, Own(65, '?'), Binary(65, '?', "40 00 10 00 C8")},
                {{}, Own(65, '?'), Binary(65, '?', "40 00 10 00 C8")},
                {{}, Own(65, '?'), Binary(65, '?', "10 00 10 00 C8")},
                {State("error"), Own(65, '?'), Binary(65, '?', "10 10 10 00 C8")},
                {{}, Own(81, '?'), ""},  // model 0's address
            });

  Instrument model0(Device::Opacimeter, Protocol::Binary, 0);
  Play(model0, {
                   {State("warmup"), Own(81, '?'), Binary(81, '?', "00 00 10 00 C8")},
                   {State("ready"), Own(81, 'E'), Binary(81, 'E', "")},
                   {{}, Own(81, '?'), Binary(81, '?', "48 00 10 00 C8")},
                   {{}, Own(81, '?'), Binary(81, '?', "48 00 10 00 C8")},
                   {{}, Own(81, '?'), Binary(81, '?', "80 00 10 00 C8")},
                   {State("error"), Own(81, '?'), Binary(81, '?', "F0 00 10 00 C8")},
               });
  EXPECT_FALSE(model0.setState("check"));
}

TEST(SimConversationTest, EngineSpeedCounter) {
  Instrument rpm(Device::EngineSpeed, Protocol::Mctc);
  rpm.identity = {"GIRITEC", "RX-2", "OM-0815", "R0042", "01022031", "2.5", "7"};
  Play(rpm,
       {
           {{}, Mctc("<RPM|1|ID"), Mctc("<RPM|1|ID|GIRITEC|RX-2|OM-0815|R0042|01022031|2.5|7")},
           {{}, Mctc("<RPM|1|CI|6"), Mctc("<RPM|1|CI")},
           {{}, Mctc("<RPM|1|TE|2"), Mctc("<RPM|1|TE")},
           {[](Instrument& i) {
              i.rpm = {3120, 91.5};
            },
            Mctc("<RPM|1|VA"), Mctc("<RPM|1|VA|3120")},
           {{}, Mctc("<RPM|1|VE"), Mctc("<RPM|1|VE|3120|91.5")},
           {{}, Mctc("<RPM|1|TP"), Mctc("<RPM|1|TP|91.5")},
       });
  EXPECT_EQ(rpm.cylinders, "6");
  EXPECT_EQ(rpm.strokes, "2");
}

TEST_F(SimTest, SilenceGarbageSplitJoinAndLateReplies) {
  Bench b(p, Device::Gas);
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
