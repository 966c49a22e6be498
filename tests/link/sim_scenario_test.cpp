// Scenarios of the simulated instruments: the file format's errors, and an instrument that
// moves through a scenario in time and per request.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "sim/Instrument.h"
#include "sim/Scenario.h"
#include "support/SourceTree.h"

namespace vs::sim {
namespace {

TEST(SimScenarioTest, BadLinesNameTheFileAndTheLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"device gas\n\nat 1x rpm 800\n", "s.scn:3: bad moment \"1x\" (want e.g. 250ms, 1.5s or #3)"},
      {"at #0 rpm 800\n", "s.scn:1: bad moment \"#0\" (want e.g. 250ms, 1.5s or #3)"},
      {"at -5ms rpm 800\n", "s.scn:1: bad moment \"-5ms\" (want e.g. 250ms, 1.5s or #3)"},
      {"# c\nat 0ms rpm 8,5\n", "s.scn:2: bad value \"8,5\" for rpm (want a number)"},
      {"at 0ms rpm\n", "s.scn:1: bad value \"\" for rpm (want a number)"},
      {"at 0ms torque 5\n", "s.scn:1: unknown item \"torque\""},
      {"at 0ms\n", "s.scn:1: missing item after the moment"},
      {"at 0ms status AB\n", "s.scn:1: status wants one character"},
      {"at 0ms silent maybe\n", "s.scn:1: silent wants on or off"},
      {"at 0ms binstatus 1 2 3 4 5 6\n", "s.scn:1: binstatus wants 1 to 5 bytes"},
      {"at 0ms binstatus 1 2 3 4 256\n", "s.scn:1: bad byte \"256\""},
      {"at 0ms binreply P 0A GG\n", "s.scn:1: bad byte \"GG\""},
      {"at 0ms reply\n", "s.scn:1: reply wants a command"},
      {"device car\n", "s.scn:1: unknown device \"car\" (gas, opa or rpm)"},
      {"protocol rs232\n", "s.scn:1: unknown protocol \"rs232\" (mctc or binary)"},
      {"model 1 2\n", "s.scn:1: model wants one value"},
      {"speed 3\n", "s.scn:1: unknown line \"speed\""},
      // Checked against the instrument the file names.
      {"device rpm\nat 0ms k 1\n", "s.scn:2: this instrument has no reading \"k\""},
      {"device gas\nprotocol binary\n\nat 0ms status H\n", "s.scn:4: status is for MCTC-NET"},
      {"device opa\nat 0ms binstatus 1 2 3 4 5\n", "s.scn:2: binstatus is for the binary protocol"},
      {"device gas\nat 1s rpm 800\nat #5 rpm 900\n",
       "s.scn:3: rpm mixes times and request numbers"},
      {"device gas\nat 2s co 1\nat 1s co2 3\nat 1s co 2\n", "s.scn:4: co goes back in time"},
      {"at 0ms rs 128\n", "s.scn:1: rs wants one or two codes from 0 to 127"},
      {"at 0ms rs 1 2 3\n", "s.scn:1: rs wants one or two codes from 0 to 127"},
      {"at 0ms errorcode 5\n", "s.scn:1: errorcode wants three digits"},
      {"at 0ms param 0200 1\n", "s.scn:1: param wants a number of up to three digits and a value"},
      {"at 0ms leak R 1012026 0800\n",
       "s.scn:1: leak wants E, R or I, then optionally DDMMYYYY and HHMM"},
      {"at 0ms hcresult X\n", "s.scn:1: hcresult wants E, R or I"},
      {"device opa\nat 0ms leak R\n", "s.scn:2: this instrument has no leak"},
      {"device gas\nat 0ms errorcode 005\n", "s.scn:2: this instrument has no errorcode"},
  };
  for (const auto& c : cases) {
    try {
      ParseScenario(c.text, "s.scn");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const ScenarioError& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.text;
    }
  }
  EXPECT_THROW(LoadScenario("/nonexistent/s.scn"), ScenarioError);
}

// The instrument on a bare line: requests in, replies out, a clock the test moves.
class Line {
 public:
  explicit Line(Instrument& i) : i_(i) {
    i.send = [this](std::string_view bytes) { replies_ += bytes; };
    i.clockMs = [this] { return ms; };
  }
  std::string Ask(const std::string& command) {
    replies_.clear();
    i_.received(BuildMctcNetFrame(i_.address(), command, "1", ""));
    return replies_;
  }
  std::int64_t ms = 0;

 private:
  Instrument& i_;
  std::string replies_;
};

TEST(SimScenarioTest, ReadingsMoveInStraightLinesAndItemsChangeAtTheirPoints) {
  Instrument gas(Device::Gas, Protocol::Mctc);
  gas.gas = {};
  Line line(gas);
  line.ms = 5000;  // times count from the first request
  gas.play(Scenario{}
               .status(Moment::Ms(0), 'A')
               .status(Moment::Ms(1000), 'H')
               .reading(Moment::Ms(2000), "rpm", 800)
               .reading(Moment::Ms(3000), "rpm", 2800)
               .reading(Moment::Ms(3000), "rpm", 1000)  // a jump
               .reply(Moment::Request(3), "@RS",
                      "0\x17"
                      "0")
               .silent(Moment::Ms(4000), true));
  EXPECT_EQ(line.Ask("@ST"), MctcReply("GAS", "@ST", "A"));
  EXPECT_EQ(gas.gas.rpm, 850);  // before its first point a reading keeps its value
  line.ms += 999;
  EXPECT_EQ(line.Ask("@ST"), MctcReply("GAS", "@ST", "A"));
  EXPECT_EQ(line.Ask("@RS"), MctcReply("GAS", "@RS",
                                       "0\x17"
                                       "0"));  // the third request
  line.ms += 1;
  EXPECT_EQ(line.Ask("@ST"), MctcReply("GAS", "@ST", "H"));
  line.ms += 1500;
  line.Ask("@VA");
  EXPECT_EQ(gas.gas.rpm, 1800);
  line.ms += 499;
  line.Ask("@VA");
  EXPECT_DOUBLE_EQ(gas.gas.rpm, 2798);
  line.ms += 1;
  line.Ask("@VA");
  EXPECT_EQ(gas.gas.rpm, 1000);
  line.ms += 1000;
  EXPECT_EQ(line.Ask("@ST"), "");

  // Per request, in the binary protocol.
  Instrument opa(Device::Opacimeter, Protocol::Binary, 0);
  Line bin(opa);
  opa.play(Scenario{}
               .reading(Moment::Request(1), "k", 0.1)
               .reading(Moment::Request(5), "k", 1.3)
               .binaryStatus(Moment::Request(2), std::string("\x10\x00\x10\x00\xC8", 5))
               .binaryReply(Moment::Request(4), '1', " AQ1234"));
  for (int n = 1; n <= 4; ++n) opa.received(std::string(1, '\0'));  // not requests
  const auto ask = [&](char command) {
    std::string reply;
    opa.send = [&](std::string_view b) { reply += b; };
    opa.received(BuildOwnProtocolFrame(opa.addressByte(), command, ""));
    return reply;
  };
  ask('P');
  EXPECT_DOUBLE_EQ(opa.opa.k, 0.1);
  EXPECT_EQ(ask('?'), BinaryReply(81, '?', std::string("\x10\x00\x10\x00\xC8", 5)));
  ask('P');
  EXPECT_DOUBLE_EQ(opa.opa.k, 0.7);
  EXPECT_EQ(ask('1'), BinaryReply(81, '1', " AQ1234"));
  ask('P');
  EXPECT_DOUBLE_EQ(opa.opa.k, 1.3);
}

TEST(SimScenarioTest, ScenarioThatDoesNotFitTheInstrumentIsRefused) {
  Instrument rpm(Device::EngineSpeed, Protocol::Mctc);
  EXPECT_THROW(rpm.play(Scenario{}.reading(Moment::Ms(0), "co", 1)), ScenarioError);
  Instrument opa(Device::Opacimeter, Protocol::Binary, 0);
  try {
    opa.play(ParseScenario("device opa\nprotocol binary\nat 0ms state check\n", "o.scn"));
    ADD_FAILURE() << "model 0 has no check";
  } catch (const ScenarioError& e) {
    EXPECT_STREQ(e.what(), "o.scn:3: this instrument has no state \"check\"");
  }
}

// A scenario item holds from its point until a command moves the instrument on; the
// item's next point takes over again.
TEST(SimScenarioTest, CommandsMoveTheInstrumentBetweenScenarioPoints) {
  Instrument gas(Device::Gas, Protocol::Mctc);
  Line line(gas);
  gas.play(
      ParseScenario("version 1.4\n"
                    "at 0ms state standby\n"
                    "at 0ms rs 12\n"
                    "at 0ms param 47 0.498\n"
                    "at 0ms leak I 30112026 0900\n"
                    "at 0ms hcresult I\n"
                    "at 10s state warmup\n",
                    "g.scn"));
  const auto data = [&](const std::string& command) {
    const std::string r = line.Ask(command);
    return r.substr(8 + command.size(), r.size() - 11 - command.size());
  };
  EXPECT_EQ(data("@ST"), "B");
  EXPECT_EQ(data("ID").substr(42, 3), "1.4");
  EXPECT_EQ(data("@RS"), "\x8C\x17\x80");
  EXPECT_EQ(data("@LI"), "0.498");
  EXPECT_EQ(data("ET"),
            "I\x17"
            "30112026\x17"
            "0900");
  EXPECT_EQ(data("EH"), "I");
  line.Ask("SB");
  line.ms = 9999;
  EXPECT_EQ(data("@ST"), "H");  // woken by "SB", not put back by the scenario
  line.ms = 10000;
  EXPECT_EQ(data("@ST"), "A");
}

// Each example file plays on the instrument it names, from power-on to measuring (the
// binary gas analyser after the program's start, 'E').
TEST(SimScenarioTest, ExampleScenariosReachMeasuring) {
  const struct {
    const char* file;
    char ask;         // MCTC-NET: "@ST"; binary: the command
    int first, last;  // the status character or byte 7
    char start = 0;   // binary: sent at 10 s
  } cases[] = {
      {"gas-analyser", 0, 'A', 'H'},
      {"opacimeter", 0, 'A', 'H'},
      {"gas-analyser-binary", '?', 2, 129, 'E'},
      {"opacimeter-binary", '?', 0x10, 0x10},
  };
  for (const auto& c : cases) {
    const Scenario s = LoadScenario(
        (plat::test::SourceDir() / "tests/sim/scenarios" / (std::string(c.file) + ".scn"))
            .string());
    ASSERT_TRUE(s.device && s.protocol) << c.file;
    Instrument i(*s.device, *s.protocol, s.model.value_or(0));
    std::string out;
    std::int64_t ms = 0;
    i.send = [&](std::string_view b) { out += b; };
    i.clockMs = [&] { return ms; };
    i.play(s);
    const auto status = [&] {
      out.clear();
      if (c.ask == 0) {
        i.received(BuildMctcNetFrame(i.address(), "@ST", "1", ""));
        return out.size() > 4 ? static_cast<unsigned char>(out[out.size() - 4]) : -1;
      }
      i.received(BuildOwnProtocolFrame(i.addressByte(), c.ask, ""));
      return out.size() > 6 ? static_cast<unsigned char>(out[6]) : -1;
    };
    EXPECT_EQ(status(), c.first) << c.file;
    ms = 10000;
    if (c.start != 0) i.received(BuildOwnProtocolFrame(i.addressByte(), c.start, ""));
    for (int n = 0; n <= i.autoZeroPolls; ++n) status();
    EXPECT_EQ(status(), c.last) << c.file;
  }
  const Scenario rpm =
      LoadScenario((plat::test::SourceDir() / "tests/sim/scenarios/engine-speed.scn").string());
  Instrument counter(Device::EngineSpeed, Protocol::Mctc);
  EXPECT_NO_THROW(counter.play(rpm));
}

}  // namespace
}  // namespace vs::sim
