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
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Program.h"
#include "link/FrameCollector.h"
#include "link/OwnProtocolFrame.h"
#include "link/ReplyParsers.h"
#include "link/Senders.h"
#include "link/SmokeRpmReplies.h"
#include "platform/serial/SerialPort.h"
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

  bool WaitFor(const std::function<bool()>& cond) { return plat::test::WaitFor(p.rt.loop, cond); }

  plat::test::TempFolder dir{"vs-simpty"};
  Program p{plat::EventLoop::ClockKind::Manual};
};

TEST_F(SimPtyTest, GasAnalyserAnswersIdentificationAndValues) {
  SimProcess sim({"--device", "gas", "--protocol", "mctc", "--pty", "--link",
                  (dir / "COM3").string(), "--split", "3", "--reply",
                  "@VA=0.5|0.4|13.9|88|1.1|0.998|90|760|12"});
  ASSERT_TRUE(sim.running());
  ASSERT_EQ(sim.Line().substr(0, 9), "pty /dev/");

  plat::SerialPort port(p.rt);
  std::string buffer;
  std::vector<McnCollected> frames;
  port.setCommPort(3);
  port.setRThreshold(1);
  port.OnComm = [&] {
    McnCollected got = CollectSetupReply(p.link, buffer, port.Input());
    if (got.status != McnCollected::Status::Waiting) frames.push_back(std::move(got));
  };
  port.setPortOpen(true);
  p.link.ports.AnsuMSComm6 = &port;
  p.link.McnAddress = "GAS";
  p.link.McnDevNumberLen = 1;

  p.link.McnCommand = "ID";
  p.link.McnCommandLen = 2;
  SendMctcNetFrameToGasSetup(p, "GAS", "ID", "1", "");
  EXPECT_EQ(sim.Line(), "request GAS ID");
  ASSERT_TRUE(WaitFor([&] { return !frames.empty(); }));
  ASSERT_EQ(frames[0].status, McnCollected::Status::Accepted);
  ParseIdReply(p, frames[0].frame, 2, 1);
  EXPECT_EQ(p.link.InstrMake, "KARVESTON");
  EXPECT_EQ(p.link.InstrExpiry, "31/12/2030");

  p.link.McnCommand = "@VA";
  p.link.McnCommandLen = 3;
  SendMctcNetFrameToGasSetup(p, "GAS", "@VA", "1", "");
  ASSERT_TRUE(WaitFor([&] { return frames.size() == 2; }));
  ParseGasVaReply(p, frames[1].frame, 3, 1);
  EXPECT_DOUBLE_EQ(p.link.GasCO2, 13.9);
  EXPECT_DOUBLE_EQ(p.link.GasRpm, 760);
  EXPECT_DOUBLE_EQ(p.link.GasNOx, 12);
}

TEST_F(SimPtyTest, OpacimeterAnswersInTheBinaryProtocol) {
  SimProcess sim({"--device", "opa", "--protocol", "binary", "--model", "0", "--pty", "--link",
                  (dir / "COM4").string()});
  ASSERT_TRUE(sim.running());
  ASSERT_EQ(sim.Line().substr(0, 9), "pty /dev/");

  plat::SerialPort port(p.rt);
  std::string buffer;
  std::string reply;
  port.setCommPort(4);
  port.setRThreshold(1);
  port.OnComm = [&] {
    AppendReceived(buffer, port.Input(), true);
    if (CheckOwnProtocolReply(buffer, 81, p.link.PendingCommand) == OwnReplyCheck::Complete) {
      reply = std::exchange(buffer, {});
    }
  };
  port.setPortOpen(true);
  p.link.ports.AnfumoMSComm1 = &port;
  p.link.OpaFormActive = 1;
  p.link.PendingCommand = 'P';
  SendOwnProtocolFrame(p, 81, 'P', "");
  EXPECT_EQ(sim.Line(), "request 81 P");
  ASSERT_TRUE(WaitFor([&] { return !reply.empty(); }));
  EXPECT_EQ(reply.size(), 48u);
}

}  // namespace
}  // namespace vs
