// The simulator program on a real pseudo-terminal, reached through a COM<n> link in the
// current directory as a station reaches an instrument: one scenario per device.
#include <poll.h>
#include <signal.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "platform/serial/SerialPort.h"
#include "sim/Instrument.h"
#include "state/ProgramState.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"
#include "support/WaitFor.h"

namespace vs {
namespace {

// The next line vantoscope-sim wrote ("" when none comes within 5 s).
std::string Line(FILE* out) {
  char buf[512] = {};
  pollfd p{fileno(out), POLLIN, 0};
  if (::poll(&p, 1, 5000) > 0 && std::fgets(buf, sizeof buf, out)) buf[strcspn(buf, "\n")] = 0;
  return buf;
}

TEST(SimPtyTest, EachDeviceAnswersItsScenarioThroughCom3) {
  plat::test::TempFolder dir("vs-simpty");
  ProgramState p{plat::EventLoop::ClockKind::Manual};
  p.rt.currentDirectory = dir.path();
  const std::string sim =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "vantoscope-sim").string();
  const auto shipped = [](const char* name) {
    return (plat::test::SourceDir() / "tests/sim/scenarios" / name).string();
  };
  // Each reply is split in three writes; the first request finds the scenario's start.
  const struct {
    std::string scenario, ask, reply, seen;
  } rows[] = {
      {shipped("gas-analyser.scn"), BuildMctcNetFrame("GAS", "@ST", "1", ""),
       sim::MctcReply("GAS", "@ST", "A"), "request GAS @ST"},
      {shipped("gas-analyser-binary.scn"), BuildOwnProtocolFrame(49, '?', ""),
       sim::BinaryReply(49, '?', std::string{2, 3, 0, 0, 0}), "request 49 ?"},
      {shipped("engine-speed.scn"), BuildMctcNetFrame("RPM", "VE", "1", ""),
       sim::MctcReply("RPM", "VE", std::string("850") + kEtb + "70"), "request RPM VE"},
      {"device opa\nprotocol binary\nmodel 0\nat 0ms state warmup\n",
       BuildOwnProtocolFrame(81, '?', ""),
       sim::BinaryReply(81, '?', std::string{0, 0, 16, 0, '\xC8'}), "request 81 ?"},
      {"device gas\nat 1s torque 5\n", "", "",
       "vantoscope-sim: " + (dir / "s.scn").string() + ":2: this instrument has no \"torque\""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.seen);
    std::string file = row.scenario;
    if (file.find('\n') != std::string::npos) {
      file = (dir / "s.scn").string();
      plat::test::WriteBytes(file, row.scenario);
    }
    // The shell's pid is the simulator's after exec.
    FILE* out = ::popen(("echo $$; exec '" + sim + "' --scenario '" + file +
                         "' --split 3 --pty --link '" + (dir / "COM3").string() + "' 2>&1")
                            .c_str(),
                        "r");
    ASSERT_NE(out, nullptr);
    std::setvbuf(out, nullptr, _IONBF, 0);
    const int pid = std::stoi(Line(out));
    const std::string first = Line(out);
    if (row.ask.empty()) {
      EXPECT_EQ(first, row.seen);
    } else {
      EXPECT_EQ(first.substr(0, 9), "pty /dev/");
      plat::SerialPort port(p.rt.serial);
      std::string got;
      port.setCommPort(3);
      port.setRThreshold(1);
      port.OnComm = [&] { got += port.Input(); };
      port.setPortOpen(true);
      port.Output(row.ask);
      plat::test::WaitFor(p.rt.loop, [&] { return got.size() >= row.reply.size(); });
      EXPECT_EQ(got, row.reply);
      EXPECT_EQ(Line(out), row.seen);
    }
    ::kill(pid, SIGTERM);
    ::pclose(out);
  }
}

}  // namespace
}  // namespace vs
