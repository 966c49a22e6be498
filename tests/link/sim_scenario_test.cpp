// Scenarios of the simulated instruments: the file format's errors, and how an instrument
// moves through a scenario in time and per request.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "link/MctcNetFrame.h"
#include "sim/Instrument.h"
#include "sim/Scenario.h"

namespace vs::sim {
namespace {

// Parsed, then played on the instrument the file names.
TEST(SimScenarioTest, BadLinesNameTheFileAndTheLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"device gas\n\nat 1x rpm 800\n", "s.scn:3: bad moment \"1x\" (want e.g. 250ms, 1.5s or #3)"},
      {"at #0 rpm 800\n", "s.scn:1: bad moment \"#0\" (want e.g. 250ms, 1.5s or #3)"},
      {"# c\nat 0ms rpm 8,5\n", "s.scn:2: bad value \"8,5\" for rpm (want a number)"},
      {"at 0ms torque 5\n", "s.scn:1: unknown item \"torque\""},
      {"at 0ms\n", "s.scn:1: missing item after the moment"},
      {"at 0ms state\n", "s.scn:1: state wants one name"},
      {"device car\n", "s.scn:1: unknown device \"car\" (gas, opa or rpm)"},
      {"protocol rs232\n", "s.scn:1: unknown protocol \"rs232\" (mctc or binary)"},
      {"model 1 2\n", "s.scn:1: model wants one value"},
      {"speed 3\n", "s.scn:1: unknown line \"speed\""},
      {"at 0ms param 0200 1\n", "s.scn:1: param wants a number of up to three digits and a value"},
      {"at 0ms leak R 1012026 0800\n",
       "s.scn:1: leak wants E, R or I, then optionally DDMMYYYY and HHMM"},
      {"device rpm\nat 0ms k 1\n", "s.scn:2: this instrument has no reading \"k\""},
      {"device opa\nat 0ms leak R\n", "s.scn:2: this instrument has no leak"},
      {"device gas\nprotocol binary\nat 0ms param 047 1\n", "s.scn:3: param is for MCTC-NET"},
      {"device gas\nat 1s rpm 800\nat #5 rpm 900\n",
       "s.scn:3: rpm mixes times and request numbers"},
      {"device gas\nat 2s co 1\nat 1s co2 3\nat 1s co 2\n", "s.scn:4: co goes back in time"},
      {"device opa\nprotocol binary\nat 0ms state check\n",
       "s.scn:3: this instrument has no state \"check\""},
  };
  for (const auto& c : cases) {
    try {
      const Scenario s = ParseScenario(c.text, "s.scn");
      Instrument(s.device.value_or(Device::Gas), s.protocol.value_or(Protocol::Mctc), 0).play(s);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const ScenarioError& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.text;
    }
  }
  EXPECT_THROW(LoadScenario("/nonexistent/s.scn"), ScenarioError);
}

// Times count from the first request; a reading moves in a straight line between its
// points and jumps where two share a moment; a state holds from its point until a command
// moves the instrument on, and its next point takes over again.
TEST(SimScenarioTest, ReadingsMoveInStraightLinesAndStatesHoldUntilACommand) {
  Instrument gas(Device::Gas, Protocol::Mctc);
  std::int64_t ms = 5000;
  std::string out;
  gas.send = [&](std::string_view bytes) { out += bytes; };
  gas.clockMs = [&] { return ms; };
  gas.play(
      ParseScenario("at 2s rpm 800\nat 3s rpm 2800\nat 3s rpm 1000\n"
                    "at 0ms state standby\nat 10s state warmup\nat #3 param 047 0.498\n",
                    "g.scn"));
  const auto ask = [&](const std::string& command) {
    out.clear();
    gas.received(BuildMctcNetFrame("GAS", command, "1", ""));
    return out;
  };
  EXPECT_EQ(ask("@ST"), MctcReply("GAS", "@ST", "B"));
  EXPECT_EQ(gas.gas.rpm, 850);  // before its first point a reading keeps its value
  ask("SB");                    // wakes it: the scenario's point does not put it back
  ms += 1999;
  EXPECT_EQ(ask("@ST"), MctcReply("GAS", "@ST", "H"));
  EXPECT_EQ(gas.gas.rpm, 850);
  EXPECT_EQ(ask("@LI"), MctcReply("GAS", "@LI", "0.498"));  // from the third request on
  ms += 1;
  ask("@VA");
  EXPECT_EQ(gas.gas.rpm, 800);
  ms += 500;
  ask("@VA");
  EXPECT_EQ(gas.gas.rpm, 1800);
  ms += 499;
  ask("@VA");
  EXPECT_DOUBLE_EQ(gas.gas.rpm, 2798);
  ms += 1;
  ask("@VA");
  EXPECT_EQ(gas.gas.rpm, 1000);
  ms = 15000;
  EXPECT_EQ(ask("@ST"), MctcReply("GAS", "@ST", "A"));
}

}  // namespace
}  // namespace vs::sim
