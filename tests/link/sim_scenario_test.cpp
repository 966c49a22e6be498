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
    std::string message;
  } cases[] = {
      {"device gas\n\nat 1x rpm 800\n",
       "s.scn:3: bad point (want at 250ms|1.5s|#3 and: READING NUMBER, state NAME or param "
       "NUMBER VALUE)"},
      {"model 1 2\n",
       "s.scn:1: bad line (want device gas|opa|rpm, protocol mctc|binary, model N or at)"},
      {"device opa\nprotocol binary\nat 0ms state measuring\n",
       "s.scn:3: this instrument has no \"state measuring\""},
      {"at 1s rpm 800\nat #5 rpm 900\n", "s.scn:2: rpm mixes times and request numbers"},
      {"at 2s co 1\nat 1s co2 3\nat 1s co 2\n", "s.scn:3: co goes back in time"},
  };
  for (const auto& c : cases) {
    try {
      const Scenario s = ParseScenario(c.text, "s.scn");
      Instrument(s.device.value_or(Device::Gas), s.protocol.value_or(Protocol::Mctc), 0).play(s);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const ScenarioError& e) {
      EXPECT_EQ(e.what(), c.message) << c.text;
    }
  }
  for (const char* text : {"at #0 rpm 8", "at 0ms rpm 8,5", "at 0ms state", "at", "at 0ms param 1",
                           "device car", "protocol rs232", "model -1"}) {
    EXPECT_THROW(ParseScenario(text, "s.scn"), ScenarioError) << text;
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
      ParseScenario("at 2s rpm 800\nat 3s rpm 2800\nat 3s rpm 1000\nat 0ms state standby\n"
                    "at 10s state warmup\nat #3 param 47 0.498\n",
                    "g.scn"));
  const auto ask = [&](const std::string& command, std::int64_t later) {
    ms += later;
    out.clear();
    gas.received(BuildMctcNetFrame("GAS", command, "1", ""));
    return out;
  };
  EXPECT_EQ(ask("@ST", 0), MctcReply("GAS", "@ST", "B"));
  EXPECT_EQ(gas.gas.rpm, 850);  // before its first point a reading keeps its value
  ask("SB", 0);                 // wakes it: the scenario's point does not put it back
  EXPECT_EQ(ask("@ST", 1999), MctcReply("GAS", "@ST", "H"));
  EXPECT_EQ(gas.gas.rpm, 850);
  EXPECT_EQ(ask("@LI", 0), MctcReply("GAS", "@LI", "0.498"));  // from the third request on
  const std::pair<int, double> steps[] = {{1, 800}, {500, 1800}, {499, 2798}, {1, 1000}};
  for (const auto& [later, rpm] : steps) {
    ask("@VA", later);
    EXPECT_DOUBLE_EQ(gas.gas.rpm, rpm) << ms;
  }
  EXPECT_EQ(ask("@ST", 15000 - ms), MctcReply("GAS", "@ST", "A"));
}

}  // namespace
}  // namespace vs::sim
