// Scenarios of the simulated instruments: one for each device played by the simulator
// program on a real pseudo-terminal, reached through a COM<n> link in the current directory
// as a station reaches an instrument (and a bad one refused); and how an instrument moves
// through a scenario in time and per request.
#include <poll.h>
#include <signal.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "platform/serial/SerialPort.h"
#include "sim/Instrument.h"
#include "state/ProgramState.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"
#include "support/WaitFor.h"

namespace vs::sim {
namespace {

// The next line vantoscope-sim wrote ("" when none comes within 5 s).
std::string Line(FILE* out) {
  char buf[512] = {};
  pollfd p{fileno(out), POLLIN, 0};
  if (::poll(&p, 1, 5000) > 0 && std::fgets(buf, sizeof buf, out)) buf[strcspn(buf, "\n")] = 0;
  return buf;
}

TEST(SimScenarioTest, EachDeviceAnswersItsScenarioThroughCom3) {
  plat::test::TempFolder dir("vs-simpty");
  ProgramState p{plat::EventLoop::ClockKind::Manual};
  p.rt.currentDirectory = dir.path();
  const std::string sim =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "vantoscope-sim").string();
  const auto shipped = [](const char* name) {
    return plat::test::ReadBytes(plat::test::SourceDir() / "tests/sim/scenarios" / name);
  };
  // Scenario, request, reply, the line printed. Each reply is split in three writes; the first
  // request finds the scenario's start.
  const std::array<std::string, 4> rows[] = {
      {shipped("gas-analyser.scn"), BuildMctcNetFrame("GAS", "@ST", "1", ""),
       MctcReply("GAS", "@ST", "A"), "request GAS @ST"},
      {shipped("gas-analyser-binary.scn"), BuildOwnProtocolFrame(49, '?', ""),
       BinaryReply(49, '?', std::string{2, 3, 0, 0, 0}), "request 49 ?"},
      {shipped("engine-speed.scn"), BuildMctcNetFrame("RPM", "VE", "1", ""),
       MctcReply("RPM", "VE", std::string("850") + kEtb + "70"), "request RPM VE"},
      {"device opa\nprotocol binary\nmodel 0\nat 0ms state warmup\n",
       BuildOwnProtocolFrame(81, '?', ""), BinaryReply(81, '?', std::string{0, 0, 16, 0, '\xC8'}),
       "request 81 ?"},
      {"device gas\nat 1s torque 5\n", "", "",
       "vantoscope-sim: s.scn:2: this instrument has no \"torque\""},
  };
  for (const auto& [scenario, ask, reply, seen] : rows) {
    SCOPED_TRACE(seen);
    plat::test::WriteBytes(dir / "s.scn", scenario);
    // The shell's pid is the simulator's after exec.
    FILE* out = ::popen(("cd '" + dir.path().string() + "' && echo $$ && exec '" + sim +
                         "' --scenario s.scn --split 3 --pty --link COM3 2>&1")
                            .c_str(),
                        "r");
    ASSERT_NE(out, nullptr);
    std::setvbuf(out, nullptr, _IONBF, 0);
    const int pid = std::stoi(Line(out));
    if (!ask.empty()) {
      EXPECT_EQ(Line(out).substr(0, 9), "pty /dev/");
      plat::SerialPort port(p.rt.serial);
      std::string got;
      port.setCommPort(3);
      port.setRThreshold(1);
      port.OnComm = [&] { got += port.Input(); };
      port.setPortOpen(true);
      port.Output(ask);
      plat::test::WaitFor(p.rt.loop, [&, n = reply.size()] { return got.size() >= n; });
      EXPECT_EQ(got, reply);
      ::kill(pid, SIGTERM);  // a refused one ends by itself
    }
    EXPECT_EQ(Line(out), seen);  // the request it saw, or why it refused the scenario
    ::pclose(out);
  }
}

// Times count from the first request; a reading moves in a straight line between its
// points and jumps where two share a moment; a state holds from its point until a command
// moves the instrument on ("SB" wakes it), and its next point takes over again.
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
  // The command, ms later, the reply's data (none: not compared), the rpm then.
  const std::tuple<const char*, int, const char*, double> steps[] = {
      {"@ST", 0, "B", 850},        {"SB", 0, "", 850},        {"@ST", 1999, "H", 850},
      {"@LI", 0, "0.498", 850},    {"@VA", 1, nullptr, 800},  {"@VA", 500, nullptr, 1800},
      {"@VA", 499, nullptr, 2798}, {"@VA", 1, nullptr, 1000}, {"@ST", 7000, "A", 1000}};
  for (const auto& [command, later, data, rpm] : steps) {
    ms += later;
    out.clear();
    gas.received(BuildMctcNetFrame("GAS", command, "1", ""));
    EXPECT_EQ(out, data ? MctcReply("GAS", command, data) : out) << command;
    EXPECT_DOUBLE_EQ(gas.gas.rpm, rpm) << ms;
  }
  // Each of these breaks a rule of the format.
  for (const char* bad : {"at #0 rpm 8", "at 1x rpm 8", "at 0ms rpm 8,5", "at 0ms state", "at",
                          "at 0ms param 1", "device car", "model -1", "at 0ms state ready",
                          "at 2s co 1\nat 1s co 2", "at 1s co 1\nat #5 co 2"}) {
    EXPECT_THROW(Instrument(Device::Gas, Protocol::Mctc).play(ParseScenario(bad, "b")),
                 ScenarioError);
  }
}

}  // namespace
}  // namespace vs::sim
