// The simulator program on a real pseudo-terminal, reached through a COM<n> link in the
// current directory as a station reaches an instrument.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "link/MctcNetFrame.h"
#include "platform/serial/SerialPort.h"
#include "state/ProgramState.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"
#include "support/WaitFor.h"

extern char** environ;

namespace vs {
namespace {

namespace fs = std::filesystem;

// vantoscope-sim running as a child process; its stdout lines can be read.
class SimProcess {
 public:
  // The simulator is built beside the test program.
  explicit SimProcess(std::vector<std::string> args) {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec).parent_path() / "vantoscope-sim";
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    args.insert(args.begin(), exe.string());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    out_ = out[0];
  }
  ~SimProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }
  bool running() const { return pid_ > 0; }

  // The next line of its output ("" after 5 s without one).
  std::string Line() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
      const std::size_t nl = pending_.find('\n');
      if (nl != std::string::npos) {
        std::string line = pending_.substr(0, nl);
        pending_.erase(0, nl + 1);
        return line;
      }
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      char buf[256];
      const ssize_t n = ::read(out_, buf, sizeof buf);
      if (n <= 0) break;
      pending_.append(buf, static_cast<std::size_t>(n));
    }
    return {};
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string pending_;
};

class SimPtyTest : public ::testing::Test {
 protected:
  void SetUp() override { p.rt.currentDirectory = dir.path(); }

  plat::test::TempFolder dir{"vs-simpty"};
  ProgramState p{plat::EventLoop::ClockKind::Manual};
};

// An example scenario through the station's COM3, the replies split in three writes:
// times count from the first request, so the analyser warms up, zeroes and then measures.
TEST_F(SimPtyTest, GasAnalyserScenarioReachesMeasuring) {
  SimProcess sim({"--scenario",
                  (plat::test::SourceDir() / "tests/sim/scenarios/gas-analyser.scn").string(),
                  "--split", "3", "--pty", "--link", (dir / "COM3").string()});
  ASSERT_TRUE(sim.running());
  ASSERT_EQ(sim.Line().substr(0, 9), "pty /dev/");
  plat::SerialPort port(p.rt.serial);
  std::string got;
  port.setCommPort(3);
  port.setRThreshold(1);
  port.OnComm = [&] { got += port.Input(); };
  port.setPortOpen(true);
  const auto ask = [&](std::string_view command) {
    got.clear();
    port.Output(BuildMctcNetFrame("GAS", command, "1", ""));
    plat::test::WaitFor(p.rt.loop, [&] { return got.find(kEtx) != std::string::npos; });
    return got;
  };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ask("@ST"), BuildMctcNetFrame("GAS", "@ST", "1", "A"));
  EXPECT_EQ(sim.Line(), "request GAS @ST");
  std::this_thread::sleep_until(start + std::chrono::milliseconds(1050));
  EXPECT_EQ(ask("@ST"), BuildMctcNetFrame("GAS", "@ST", "1", "H"));
}

TEST_F(SimPtyTest, BadScenarioStopsTheSimulatorWithFileAndLine) {
  plat::test::WriteBytes(dir / "bad.scn", "device gas\nat 1s torque 5\n");
  const std::string command =
      "\"" + (fs::read_symlink("/proc/self/exe").parent_path() / "vantoscope-sim").string() +
      "\" --pty --scenario " + (dir / "bad.scn").string() + " 2>&1";
  FILE* out = ::popen(command.c_str(), "r");
  ASSERT_NE(out, nullptr);
  char buf[256] = {};
  const std::size_t n = std::fread(buf, 1, sizeof buf - 1, out);
  EXPECT_EQ(WEXITSTATUS(::pclose(out)), 2);
  EXPECT_EQ(std::string(buf, n),
            "vantoscope-sim: " + (dir / "bad.scn").string() + ":2: unknown item \"torque\"\n");
}

}  // namespace
}  // namespace vs
