// The recognition form scanning a station of in-memory lines: simulated instruments on some
// ports, silent lines and lines that cannot be opened on the others.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
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

// One question the form wrote: when, on which port, to which address.
struct Asked {
  plat::Millis at;
  int port;
  std::string address;
  friend bool operator==(const Asked&, const Asked&) = default;
};

void PrintTo(const Asked& a, std::ostream* os) {
  *os << a.at << " ms Com" << a.port << " " << a.address;
}

// "ComN no connect" CR LF for each port of the list.
std::string NoConnect(std::initializer_list<int> ports) {
  std::string s;
  for (int n : ports) s += "Com" + std::to_string(n) + " no connect\r\n";
  return s;
}
// The same for the ports from .. to.
std::string NoConnectFrom(int from, int to) {
  std::string s;
  for (int n = from; n <= to; ++n) s += NoConnect({n});
  return s;
}

class RecognitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
    p_.rt.currentDirectory = dir_.path();
    LoadLanguageTexts(p_.shell, dir_.path(), 1);
    // Every port is a line of its own: silent until a test puts an instrument on it.
    for (int n = 1; n <= 16; ++n) {
      lines_[n] = p_.rt.serial.attachMemory(n);
      Log(n);
    }
    rpm_.identity = {"GIRITEC", "RX-2", "OM-0815", "R0042", "01022031", "2.5", "7"};
  }

  void Put(Instrument& instrument, int port) {
    sim::Attach(instrument, lines_[port], &p_.rt.loop);
    Log(port);
  }
  void Unopenable(int port) { lines_[port]->setAvailable(false); }
  // Each frame the form writes to port n is one question: its address is bytes 2 to 4.
  void Log(int n) {
    auto before = lines_[n]->onWrite;
    lines_[n]->onWrite = [this, n, before](std::string_view bytes) {
      asked_.push_back({p_.rt.loop.now() - started_, n, std::string(bytes.substr(1, 3))});
      if (before) before(bytes);
    };
  }
  void Start() {
    started_ = p_.rt.loop.now();
    ui_.click(f_.Command1);
  }
  // Ticks until the scan has ended (at most a whole scan of silent ports).
  void RunScan() {
    for (int i = 0; i < 60 && f_.Port != 0; ++i) ui_.advance(500);
    ASSERT_EQ(f_.Port, 0) << "the scan did not end";
  }
  bool AnyPortOpen() const {
    for (int n = 1; n <= 16; ++n) {
      if (lines_[n]->isOpen()) return true;
    }
    return false;
  }

  plat::test::TempFolder dir_{"vs-recog"};
  Program p_{plat::EventLoop::ClockKind::Manual};
  plat::test::FormDriver ui_{p_.rt};
  RiconosciMCTC& f_ = p_.riconosciMCTC;
  std::shared_ptr<plat::MemoryDevice> lines_[17];
  Instrument gas_{Device::Gas, Protocol::Mctc};
  Instrument opa_{Device::Opacimeter, Protocol::Mctc, 5};
  Instrument rpm_{Device::EngineSpeed, Protocol::Mctc};
  std::vector<Asked> asked_;
  plat::Millis started_ = 0;
};

TEST_F(RecognitionTest, ScanAsksEachPortInTurnAndReportsWhatAnswered) {
  Put(gas_, 2);
  Put(opa_, 3);
  Put(rpm_, 5);
  Unopenable(7);
  f_.Show();
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kRed);

  started_ = p_.rt.loop.now();
  ui_.enter(f_);  // the start button is the default button
  EXPECT_EQ(f_.Label3.Caption(), "Ricerca in corso...");
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kGreen);
  EXPECT_FALSE(f_.Command1.Enabled());
  ui_.advance(500);
  EXPECT_EQ(f_.Text2.Text(), "Com1 GAS");
  EXPECT_TRUE(lines_[1]->isOpen());
  EXPECT_EQ(lines_[1]->baud(), 9600);
  ui_.advance(500 * 15);  // the tick that finds port 7 unopenable
  EXPECT_EQ(f_.Text2.Text(), "Com7 KO");
  RunScan();

  // A silent line takes three ticks, the opacimeter two, the gas analyser and a line that
  // cannot be opened one: 3+1+2+3+3+3+1 + 9*3 = 43 ticks, then the tick that ends the scan.
  std::vector<Asked> expected;
  plat::Millis t = 500;
  const auto ask = [&](int port, std::initializer_list<const char*> addresses) {
    for (const char* a : addresses) {
      expected.push_back({t, port, a});
      t += 500;
    }
  };
  ask(1, {"GAS", "OPA", "RPM"});
  ask(2, {"GAS"});
  ask(3, {"GAS", "OPA"});
  for (int n : {4, 5, 6}) ask(n, {"GAS", "OPA", "RPM"});
  t += 500;  // port 7
  for (int n = 8; n <= 16; ++n) ask(n, {"GAS", "OPA", "RPM"});
  EXPECT_EQ(asked_, expected);
  EXPECT_EQ(p_.rt.loop.now() - started_, 44 * 500);

  EXPECT_EQ(f_.Text3.Text(), NoConnect({1}) + "Com2   " + kGasLine + "\r\n" + "Com3   " + kGasLine +
                                 "\r\n" + NoConnect({4}) + "Com5   " + kRpmLine + "\r\n" +
                                 NoConnect({6}) + NoConnectFrom(8, 16));
  EXPECT_EQ(f_.Label3.Caption(), "Ricerca terminata");
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kYellow);
  EXPECT_TRUE(f_.Command1.Enabled());
  EXPECT_FALSE(f_.Timer1.Enabled());
  EXPECT_EQ(f_.Text2.Text(), "Com0");
  EXPECT_FALSE(AnyPortOpen());
  // The last instrument that answered is the program's instrument identity.
  EXPECT_EQ(p_.link.InstrMake, "GIRITEC");
  EXPECT_EQ(p_.link.GasSerialNumber, "R0042");
}

TEST_F(RecognitionTest, LateOrMalformedRepliesAndTheNextScan) {
  gas_.replyDelayMs = 600;  // the reply comes after the next tick: lost
  Put(gas_, 2);
  rpm_.replyDelayMs = 450;  // still within its tick
  rpm_.splitInto = 3;
  Put(rpm_, 5);
  opa_.setReply("ID", "ONLY-A-MAKE");  // cannot be split: blanked, still ends the port
  Put(opa_, 9);
  f_.Show();
  Start();
  RunScan();
  // The seven blanked texts, three blanks between them.
  const std::string blanked = "Com9" + std::string(3 + 1 + 3 + 1 + 3 + 1 + 3 + 1, ' ');
  EXPECT_EQ(f_.Text3.Text(), NoConnect({1, 2, 3, 4}) + "Com5   " + kRpmLine + "\r\n" +
                                 NoConnect({6, 7, 8}) + blanked + "\r\n" + NoConnectFrom(10, 16));
  int onPort2 = 0, onPort9 = 0;
  for (const Asked& a : asked_) {
    onPort2 += a.port == 2;
    onPort9 += a.port == 9;
  }
  EXPECT_EQ(onPort2, 3);  // the lost reply did not stop the questions
  EXPECT_EQ(onPort9, 2);
  EXPECT_EQ(p_.link.InstrMake, " ");

  // A second scan starts from scratch: the report no longer holds the first one's lines.
  gas_.replyDelayMs = 0;
  opa_.clearReplies();
  Start();
  EXPECT_EQ(f_.Text3.Text(), "");
  RunScan();
  EXPECT_EQ(f_.Text3.Text(), NoConnect({1}) + "Com2   " + kGasLine + "\r\n" + NoConnect({3, 4}) +
                                 "Com5   " + kRpmLine + "\r\n" + NoConnect({6, 7, 8}) + "Com9   " +
                                 kGasLine + "\r\n" + NoConnectFrom(10, 16));
}

TEST_F(RecognitionTest, EscBeforeAScanClosesTheFormAndTheMenuOpensItModally) {
  p_.menu.Show();
  ui_.onModal(f_, [&] {
    EXPECT_EQ(f_.Label3.Caption(), "Premere Ricerca per iniziare");
    ui_.esc(f_);
  });
  ui_.menu(p_.menu.RICONOSCI);
  const auto& j = ui_.journal();
  EXPECT_NE(std::find(j.begin(), j.end(), "modal RiconosciMCTC"), j.end());
  EXPECT_FALSE(f_.IsLoaded());
  EXPECT_FALSE(f_.MSComm3.PortOpen());
}

TEST_F(RecognitionTest, EscDuringAScanStopsItClosesThePortAndShowsWhatWasFound) {
  Put(gas_, 2);
  Unopenable(6);
  f_.Show();
  Start();
  ui_.advance(500 * 5 + 200);  // port 3 has been asked "GAS": its port is open
  ASSERT_TRUE(lines_[3]->isOpen());
  ui_.esc(f_);
  EXPECT_FALSE(lines_[3]->isOpen());
  EXPECT_EQ(f_.Port, 0);
  EXPECT_EQ(f_.Label3.Caption(), "Ricerca terminata");
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kYellow);
  EXPECT_TRUE(f_.Command1.Enabled());
  EXPECT_EQ(f_.Text2.Text(), "Com0");
  // Ports not tried yet read " no connect", also the one that could not have been opened.
  EXPECT_EQ(f_.Text3.Text(), NoConnect({1}) + "Com2   " + kGasLine + "\r\n" + NoConnectFrom(3, 16));
  const auto questions = asked_.size();
  ui_.advance(5000);
  EXPECT_EQ(asked_.size(), questions);  // the timer is off

  // The next scan opens its first port again and lists it.
  Start();
  ui_.advance(500);
  EXPECT_TRUE(lines_[1]->isOpen());
  EXPECT_EQ(asked_.back(), (Asked{500, 1, "GAS"}));
  ui_.advance(1200);
  ui_.esc(f_);
  EXPECT_FALSE(lines_[1]->isOpen());
  EXPECT_EQ(f_.Text3.Text(), NoConnectFrom(1, 16));
  EXPECT_TRUE(f_.IsLoaded());
  ui_.esc(f_);  // no scan running now: the form closes
  EXPECT_FALSE(f_.IsLoaded());
}

TEST_F(RecognitionTest, AStartClosesAPortLeftOpenAndCloseBoxStopsTheScan) {
  f_.Show();
  f_.MSComm3.setCommPort(9);
  f_.MSComm3.setPortOpen(true);
  Start();
  EXPECT_FALSE(lines_[9]->isOpen());
  ui_.advance(500);
  EXPECT_EQ(asked_, (std::vector<Asked>{{500, 1, "GAS"}}));

  // Closing the form mid-scan closes its port and stops its timer; the next load is idle.
  ui_.close(f_);
  EXPECT_FALSE(lines_[1]->isOpen());
  f_.Show();
  EXPECT_EQ(f_.Port, 0);
  EXPECT_EQ(f_.Label3.BackColor(), plat::colors::kRed);
  ui_.advance(2000);
  EXPECT_EQ(asked_.size(), 1u);
}

}  // namespace
}  // namespace vs
