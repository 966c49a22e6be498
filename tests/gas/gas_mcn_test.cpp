// The gas test form talking MCTC-NET to a simulated analyser, tick by tick on the manual
// clock: the opening (both command forms), warm-up, the leak check, stand-by, auto-zero,
// the HC residue check and measuring with readings and "gas.log".
#include <gtest/gtest.h>

#include <string>

#include "gas_station_fixture.h"
#include "link/MctcNetFrame.h"
#include "platform/text/Numbers.h"

namespace vs {
namespace {

using sim::Device;
using sim::Instrument;
using sim::Protocol;

std::string Fields(std::initializer_list<const char*> f) {
  std::string s;
  for (const char* x : f) s += (s.empty() ? "" : std::string(1, kEtb)) + x;
  return s;
}

class GasMcnTest : public test::GasFolderTest {
 protected:
  void SetUp() override {
    GasFolderTest::SetUp();
    plat::test::WriteBytes(dir_ / "Conf.ini",
                           "[COMKYMRA]\r\nTModCom=2\r\nTCOM=2\r\nTBRate=2\r\nModello=TOPAZ\r\n"
                           "Nserie=AQ123456\r\n[MODKYMRA]\r\nModello=3\r\n");
    p_.shell.GasComPort = 2;
    p_.shell.GasBaudIndex = 2;
    p_.shell.GasComMode = 2;
    p_.rt.loop.setLocalTime({2026, 12, 7, 9, 5, 7});
    line_ = p_.rt.serial.attachMemory(2);
    gas_.setState("warmup");
    gas_.params["047"] = "0.512";
    gas_.autoZeroPolls = 5;
  }
  void Open(const char* version) {
    gas_.identity.version = version;
    sim::Attach(gas_, line_, &p_.rt.loop);
    p_.link.GasFormActive = 1;
    f_.Show();
  }
  // The commands the analyser got in the next n ticks, one blank between them.
  std::string Ticks(int n) {
    const std::size_t from = gas_.requests.size();
    ui_.advance(25 * n);
    std::string s;
    for (std::size_t i = from; i < gas_.requests.size(); ++i)
      s += (s.empty() ? "" : " ") + gas_.requests[i].command;
    return s;
  }

  ANGAS& f_ = p_.angas;
  std::shared_ptr<plat::MemoryDevice> line_;
  Instrument gas_{Device::Gas, Protocol::Mctc};
};

TEST_F(GasMcnTest, NewerAnalyserFromIdentityThroughTheChecksToMeasuring) {
  Open("1.5");
  EXPECT_EQ(Ticks(1), "ID");
  EXPECT_EQ(Ticks(1), "@SD");
  EXPECT_EQ(gas_.clockSet, Fields({"07122026", "090507"}));
  EXPECT_EQ(Ticks(1), "@LU");  // "@LA" is skipped in the same tick
  EXPECT_EQ(gas_.requests.back().data, "047");
  EXPECT_EQ(f_.Label7.Caption(), "0.512");
  EXPECT_EQ(Ticks(1), "@ST");
  EXPECT_EQ(f_.Label5.Caption(), Text(lang::ANFUMORiscal));
  EXPECT_TRUE(f_.Combo1.Enabled() && f_.Command6.Enabled());
  EXPECT_EQ(Ticks(3), "@RS @VA @ST");
  EXPECT_EQ(f_.Label8.Caption(), plat::FormatDouble(gas_.gas.co, p_.rt.regional));

  ui_.click(f_.Command7);  // logging on; no line until the analyser measures
  ui_.click(f_.Command1);  // Start: the leak check first
  EXPECT_EQ(Ticks(1), "ET");
  EXPECT_EQ(f_.Stato, "ETER");
  gas_.setState("standby");
  // Stand-by after a valid leak check wakes the analyser, which then zeroes itself; every
  // fourth auto-zero status fetches the codes once; the first measuring status after
  // auto-zero asks for the HC residue check, whose pass starts the test phases.
  EXPECT_EQ(Ticks(4), "@ST SB @ST AZ");
  EXPECT_EQ(Ticks(1), "@ST");
  EXPECT_EQ(f_.Label5.Caption(), Text(lang::ANGASCal));
  EXPECT_TRUE(f_.PBar1.Visible());
  EXPECT_EQ(f_.Label8.Caption(), "- - -");
  EXPECT_EQ(Ticks(8), "@ST @ST @ST @RS @ST @ST HC EH");
  EXPECT_EQ(f_.Label5.Caption(), "Test HC");
  EXPECT_EQ(Ticks(2), "EH EH");
  EXPECT_EQ(f_.GasPhase, "MINIMO");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "gas.log"));
  EXPECT_EQ(Ticks(4), "@ST @RS @VA @ST");
  EXPECT_EQ(f_.Label5.Caption(), Text(lang::ANFUMOMisura));
  EXPECT_FALSE(f_.Combo1.Enabled());
  EXPECT_EQ(f_.Label15.Caption(), plat::FormatDouble(gas_.gas.rpm, p_.rt.regional));
  const std::string log = plat::test::ReadBytes(dir_ / "gas.log");
  EXPECT_EQ(log.rfind(f_.Label8.Caption() + "\t" + f_.Label10.Caption() + "\t", 0), 0u) << log;
  EXPECT_NE(log.find("\tAQ123456 \r\n"), std::string::npos) << log;
  EXPECT_EQ(p_.link.McnCommandLen, 3);
}

TEST_F(GasMcnTest, OlderAnalyserReadsTheFuelSettingsAndSendsThemBackAsSixFields) {
  gas_.fuelSettings = Fields({"BENZINA", "NO CAT", "04", "2", "1.730", "0.000"});
  Open("1.4");
  EXPECT_EQ(Ticks(5), "ID @SD @LA @LI ST");
  EXPECT_EQ(f_.Combo1.Text(), f_.Combo1.List(0));
  EXPECT_EQ(f_.Combo3.Text(), f_.Combo3.List(1));
  EXPECT_EQ(f_.Label7.Caption(), "0.512");
  // Back to four strokes while warming up: the fuel read from "@LA" goes out as two words.
  ui_.choose(f_.Combo3, 0);
  EXPECT_EQ(Ticks(3), "@SA ST @RS");  // the choice takes the place of the status cycle's request
  EXPECT_EQ(gas_.fuelSettings, Fields({"BENZINA", "NO CAT", "04", "4", "1.730", "0.000"}));
}

TEST_F(GasMcnTest, LeakTestFromItsButtonGivesStartAndStandByBackWhenTheStationSkipsIt) {
  p_.shell.SystemEnableMask = 4;  // "Disable leak test request"
  Open("1.5");
  EXPECT_EQ(Ticks(4), "ID @SD @LU @ST");
  ui_.answerBox(plat::MsgBoxResult::OK);
  ui_.click(f_.Command6);
  EXPECT_FALSE(f_.Command1.Enabled() || f_.Command4.Enabled());
  EXPECT_TRUE(f_.Label38.Visible());
  EXPECT_EQ(Ticks(3), "TT ET @ST");
  EXPECT_TRUE(f_.Command1.Enabled() && f_.Command4.Enabled());
  EXPECT_FALSE(f_.Label38.Visible());
}

TEST_F(GasMcnTest, ExpiredLeakCheckBoxComesAfterTheReplyAndOnlyOnceWhileOpen) {
  gas_.leakDate = "05122026";
  gas_.leakTime = "0900";
  Open("1.5");
  EXPECT_EQ(Ticks(7), "ID @SD @LU @ST @RS @VA @ST");
  gas_.setState("measuring");
  gas_.rsCode1 = 25;  // the analyser asks for the leak check on every measuring status
  ui_.click(f_.Command1);
  // The box stays open for half a second; the exchange goes on under it.
  ui_.answerBox(plat::MsgBoxResult::OK, 500);
  const std::string under = Ticks(1);
  EXPECT_EQ(under.rfind("ET @ST @RS @VA @ST ET @ST", 0), 0u) << under;
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(ui_.lastBox().text, Text(lang::ANGASETmsgbox));
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Exclamation);
  EXPECT_NE(f_.Label5.Caption(), "ERRORE COM");
  EXPECT_EQ(p_.link.McnEtFlag, "I");
}

}  // namespace
}  // namespace vs
