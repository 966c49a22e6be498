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

// Each text breaks one rule of the format (parsed, then played on a gas analyser over
// MCTC-NET, or on the instrument it names); the message names the file and the line.
TEST(SimScenarioTest, BadScenariosAreRefused) {
  for (const char* text :
       {"at #0 rpm 8", "at 1x rpm 8", "at 0ms rpm 8,5", "at 0ms state", "at", "at 0ms param 1",
        "device car", "protocol rs232", "model -1", "at 0ms torque 5", "at 0ms state ready",
        "device rpm\nat 0ms param 020 1", "at 2s co 1\nat 1s co 2", "at 1s co 1\nat #5 co 2"}) {
    try {
      const Scenario s = ParseScenario(text, "s.scn");
      Instrument(s.device.value_or(Device::Gas), Protocol::Mctc).play(s);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ScenarioError& e) {
      EXPECT_TRUE(std::string(e.what()).starts_with("s.scn:")) << e.what();
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
