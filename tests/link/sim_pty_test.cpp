// The simulator program on a real pseudo-terminal, reached through a COM<n> link in the
// current directory as a station reaches an instrument: one scenario per device.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "platform/serial/SerialPort.h"
#include "sim/Instrument.h"
#include "state/ProgramState.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"
#include "support/WaitFor.h"

extern char** environ;

namespace vs {
namespace {

// vantoscope-sim (built beside the test program) as a child; its output read line by line.
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> args) {
    args.insert(args.begin(),
                (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "vantoscope-sim")
                    .string());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    EXPECT_EQ(posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    out_ = out[0];
  }
  ~SimProcess() {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    ::close(out_);
  }
  // The next line of its output ("" when none comes within 5 s).
  std::string Line() {
    std::string line;
    char c = 0;
    for (pollfd p{out_, POLLIN, 0}; ::poll(&p, 1, 5000) > 0 && ::read(out_, &c, 1) == 1;) {
      if (c == '\n') return line;
      line += c;
    }
    return line;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
};

TEST(SimPtyTest, EachDeviceAnswersItsScenarioThroughCom3) {
  plat::test::TempFolder dir("vs-simpty");
  ProgramState p{plat::EventLoop::ClockKind::Manual};
  p.rt.currentDirectory = dir.path();
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
       sim::MctcReply("RPM", "VE",
                      "850\x17"
                      "70"),
       "request RPM VE"},
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
    SimProcess sim(
        {"--scenario", file, "--split", "3", "--pty", "--link", (dir / "COM3").string()});
    if (row.ask.empty()) {
      EXPECT_EQ(sim.Line(), row.seen);
      continue;
    }
    ASSERT_EQ(sim.Line().substr(0, 9), "pty /dev/");
    plat::SerialPort port(p.rt.serial);
    std::string got;
    port.setCommPort(3);
    port.setRThreshold(1);
    port.OnComm = [&] { got += port.Input(); };
    port.setPortOpen(true);
    port.Output(row.ask);
    plat::test::WaitFor(p.rt.loop, [&] { return got.size() >= row.reply.size(); });
    EXPECT_EQ(got, row.reply);
    EXPECT_EQ(sim.Line(), row.seen);
  }
}

}  // namespace
}  // namespace vs
