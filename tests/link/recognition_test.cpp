// The recognition form scanning a station of in-memory lines: simulated instruments on some
// ports, silent lines and lines that cannot be opened on the others.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "forms/Program.h"
#include "forms/link/RiconosciMCTC.h"
#include "platform/serial/MemoryDevice.h"
#include "shell/LanguageTable.h"
#include "sim/Instrument.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

using sim::Device;
using sim::Instrument;
using sim::Protocol;

constexpr const char* kGasLine = "KARVESTON   TOPAZ   AQ123456   1.5";
constexpr const char* kRpmLine = "GIRITEC   RX-2   R0042   2.5";

// "ComN no connect" CR LF for each port from .. to.
std::string NoConnect(int from, int to) {
  std::string s;
  for (int n = from; n <= to; ++n) s += "Com" + std::to_string(n) + " no connect\r\n";
  return s;
}
std::string Found(int n, std::string_view line) {
  return "Com" + std::to_string(n) + "   " + std::string(line) + "\r\n";
}

class RecognitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
    p_.rt.currentDirectory = dir_.path();
    LoadLanguageTexts(p_.shell, dir_.path(), 1);
    // Every port is a line of its own, silent until a test puts an instrument on it; each
    // frame the form writes is one question: when, on which port, to which address.
    for (int n = 1; n <= 16; ++n) {
      lines_[n] = p_.rt.serial.attachMemory(n);
      Log(n);
    }
    rpm_.identity = {"GIRITEC", "RX-2", "OM-0815", "R0042", "01022031", "2.5", "7"};
  }
  void Log(int n) {
    lines_[n]->onWrite = [this, n, before = lines_[n]->onWrite](std::string_view bytes) {
      asked_.push_back(std::to_string(p_.rt.loop.now() - started_) + " Com" + std::to_string(n) +
                       " " + std::string(bytes.substr(1, 3)));
      if (before) before(bytes);
    };
  }
  void Put(Instrument& instrument, int port) {
    sim::Attach(instrument, lines_[port], &p_.rt.loop);
    Log(port);
  }
  void Start() {
    started_ = p_.rt.loop.now();
    ui_.click(f_.Command1);
  }

  plat::test::TempFolder dir_{"vs-recog"};
  Program p_{plat::EventLoop::ClockKind::Manual};
  plat::test::FormDriver ui_{p_.rt};
  RiconosciMCTC& f_ = p_.riconosciMCTC;
  std::shared_ptr<plat::MemoryDevice> lines_[17];
  Instrument gas_{Device::Gas, Protocol::Mctc};
  Instrument opa_{Device::Opacimeter, Protocol::Mctc, 5};
  Instrument rpm_{Device::EngineSpeed, Protocol::Mctc};
  std::vector<std::string> asked_;
  plat::Millis started_ = 0;
};

// Answers on time, late, split and malformed, and a port that cannot be opened; then a
// scan stopped by Esc, one stopped by closing the form.
TEST_F(RecognitionTest, ScanAsksEachPortInTurnAndReportsWhatAnswered) {
  Instrument malformed{Device::Opacimeter, Protocol::Mctc, 5}, late{Device::Gas, Protocol::Mctc};
  malformed.setReply("ID", "ONLY-A-MAKE");  // cannot be split: blanked, still ends the port
  late.replyDelayMs = 600;                  // after the next tick: lost
  rpm_.replyDelayMs = 450;                  // still within its tick
  rpm_.splitInto = 3;
  Put(gas_, 2);
  Put(opa_, 3);
  Put(rpm_, 5);
  lines_[7]->setAvailable(false);
  Put(malformed, 9);
  Put(late, 11);
  f_.Show();
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kRed);

  started_ = p_.rt.loop.now();
  ui_.enter(f_);  // the start button is the default button
  EXPECT_EQ(f_.Label3.Caption(), "Ricerca in corso...");
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kGreen);
  EXPECT_FALSE(f_.Command1.Enabled());
  ui_.advance(500);
  EXPECT_EQ(f_.Text2.Text(), "Com1 GAS");
  EXPECT_EQ(lines_[1]->baud(), 9600);
  ui_.advance(500 * 15);  // the tick that finds port 7 unopenable
  EXPECT_EQ(f_.Text2.Text(), "Com7 KO");
  for (int i = 0; i < 60 && f_.Port != 0; ++i) ui_.advance(500);

  // One tick per question, a port that cannot be opened takes one; then the tick that ends
  // the scan.
  std::vector<std::string> expected;
  const std::string kAddress[] = {"GAS", "OPA", "RPM"};
  plat::Millis t = 500;
  for (int n = 1; n <= 16; ++n) {
    if (n == 7) t += 500;
    const int questions = n == 2 ? 1 : n == 3 || n == 9 ? 2 : n == 7 ? 0 : 3;
    for (int q = 0; q < questions; ++q, t += 500) {
      expected.push_back(std::to_string(t) + " Com" + std::to_string(n) + " " + kAddress[q]);
    }
  }
  EXPECT_EQ(asked_, expected);
  EXPECT_EQ(p_.rt.loop.now() - started_, t);
  EXPECT_EQ(f_.Text3.Text(), NoConnect(1, 1) + Found(2, kGasLine) + Found(3, kGasLine) +
                                 NoConnect(4, 4) + Found(5, kRpmLine) + NoConnect(6, 6) +
                                 NoConnect(8, 8) +
                                 Found(9, std::string(4 + 3 * 3, ' ')) +  // 4 blanked texts
                                 NoConnect(10, 16));
  EXPECT_EQ(f_.Label3.Caption(), "Ricerca terminata");
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kYellow);
  EXPECT_TRUE(f_.Command1.Enabled());
  EXPECT_FALSE(f_.Timer1.Enabled());
  EXPECT_EQ(f_.Text2.Text(), "Com0");
  for (int n = 1; n <= 16; ++n) EXPECT_FALSE(lines_[n]->isOpen()) << n;
  // The last instrument that answered is the program's identity, as far as it parsed.
  EXPECT_EQ(p_.link.InstrMake, " ");
  EXPECT_EQ(p_.link.GasSerialNumber, "R0042");

  // Esc mid-scan: the next scan starts from an empty report, and ports not tried read
  // " no connect", also one that could not have been opened.
  Start();
  EXPECT_EQ(f_.Text3.Text(), "");
  ui_.advance(500 * 5 + 200);  // port 3 has been asked "GAS": its port is open
  ASSERT_TRUE(lines_[3]->isOpen());
  ui_.esc(f_);
  EXPECT_FALSE(lines_[3]->isOpen());
  EXPECT_EQ(f_.Port, 0);
  EXPECT_EQ(f_.Label3.Caption(), "Ricerca terminata");
  EXPECT_TRUE(f_.Command1.Enabled());
  EXPECT_EQ(f_.Text3.Text(), NoConnect(1, 1) + Found(2, kGasLine) + NoConnect(3, 16));
  const auto questions = asked_.size();
  ui_.advance(5000);
  EXPECT_EQ(asked_.size(), questions);  // the timer is off

  // A start closes a port left open, so that its first port can open; closing the form
  // mid-scan closes its port and stops its timer; the next load is idle, and Esc then
  // closes the form.
  f_.MSComm3.setCommPort(9);
  f_.MSComm3.setPortOpen(true);
  Start();
  EXPECT_FALSE(lines_[9]->isOpen());
  ui_.advance(500);
  EXPECT_EQ(asked_.back(), "500 Com1 GAS");
  ui_.close(f_);
  EXPECT_FALSE(lines_[1]->isOpen());
  f_.Show();
  EXPECT_EQ(f_.Port, 0);
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kRed);
  ui_.advance(2000);
  EXPECT_EQ(asked_.size(), questions + 1);
  ui_.esc(f_);
  EXPECT_FALSE(f_.IsLoaded());
}

}  // namespace
}  // namespace vs
