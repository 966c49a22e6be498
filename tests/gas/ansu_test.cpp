// The gas-analyser set-up: what it loads, how it asks the analyser for its identity and
// which model that names, and exactly what "Applica" writes.
#include <gtest/gtest.h>

#include <string>

#include "gas/GasSetUp.h"
#include "gas_station_fixture.h"
#include "link/MctcNetFrame.h"

namespace vs {
namespace {

using sim::Device;
using sim::Instrument;
using sim::Protocol;

std::string Conf(const std::string& tcom, const std::string& tbrate, const std::string& model) {
  return "[COMKYMRA]\r\nTModCom=1\r\nTCOM=" + tcom + "\r\nTBRate=" + tbrate +
         "\r\nMarca=OLD\r\nNOmologa=H-1\r\nModello=KYMRAGAS-410\r\nNserie=S-1\r\n"
         "Versione=1.0\r\nScadenza=01/01/2020\r\n[MODKYMRA]\r\nModello=" +
         model + "\r\n";
}

class AnsuTest : public test::GasFolderTest {
 protected:
  void SetUp() override {
    GasFolderTest::SetUp();
    for (int n : {1, 3}) {
      lines_[n] = p_.rt.serial.attachMemory(n);
      Log(n);
    }
  }
  void Put(Instrument& instrument, int port) {
    sim::Attach(instrument, lines_[port], &p_.rt.loop);
    Log(port);
  }
  void Log(int n) {
    auto before = lines_[n]->onWrite;
    lines_[n]->onWrite = [this, n, before](std::string_view b) {
      written_[n] += b;
      if (before) before(b);
    };
  }
  void Write(const std::string& conf) { plat::test::WriteBytes(dir_ / "Conf.ini", conf); }

  ANSU& f_ = p_.ansu;
  std::shared_ptr<plat::MemoryDevice> lines_[4];
  std::string written_[4];
};

TEST_F(AnsuTest, SearchIdentifiesTheAnalyserOnItsOwnExchangeAndApplicaWritesBothSections) {
  Write(Conf("3", "4", "0"));
  Instrument gas{Device::Gas, Protocol::Mctc};
  gas.identity = {"KARVESTON", "KYMRAGAS-530   ", "OM-4711", "AQ123456", "31122030", "1.5", "0"};
  gas.splitInto = 3;  // the reply comes in three pieces
  Put(gas, 3);
  // A gas test's exchange is under way: the search must leave it alone.
  LinkState& l = p_.link;
  l.McnAddress = "OPA";
  l.McnCommand = "@VA";
  l.McnCommandLen = 3;
  l.McnDevNumberLen = 1;

  f_.Show();
  EXPECT_EQ(f_.Text5.Text(), "3");
  EXPECT_TRUE(f_.Option4.Value());  // the disabled 38400 is shown all the same
  EXPECT_EQ(f_.Combo1.ListIndex(), 0);
  EXPECT_EQ(f_.Text3.Text(), "KYMRAGAS-410");
  EXPECT_EQ(p_.gas.GasDeviceAddress, 49);

  ui_.click(f_.Command2);
  EXPECT_EQ(written_[3], BuildMctcNetFrame("GAS", "ID", "1", ""));
  EXPECT_EQ(lines_[3]->baud(), 9600);  // the search never asks at 38400
  ui_.settle();
  EXPECT_EQ(f_.Text1.Text(), "KARVESTON");
  EXPECT_EQ(f_.Text3.Text(), "KYMRAGAS-530");  // shown and kept without the blanks
  EXPECT_EQ(f_.Text7.Text(), "31/12/2030");
  EXPECT_EQ(f_.Combo1.ListIndex(), 2);
  EXPECT_EQ(p_.shell.GasComMode, 1);
  EXPECT_EQ(p_.gas.GasDeviceAddress, 33);
  EXPECT_EQ(l.McnAddress, "OPA");
  EXPECT_EQ(l.McnCommand, "@VA");
  EXPECT_EQ(l.McnCommandLen, 3);

  // What the operator types into the identity boxes is not saved.
  ui_.type(f_.Text1, "TYPED");
  ui_.click(f_.Option2);
  ui_.answerBox();
  ui_.click(f_.CmdApl);
  EXPECT_EQ(ui_.lastBox().text, Text(lang::RPMSUSave));
  EXPECT_TRUE(f_.Visible());
  EXPECT_EQ(plat::test::ReadBytes(dir_ / "Conf.ini"),
            "[COMKYMRA]\r\nTModCom=1\r\nTCOM=3\r\nTBRate=2\r\nMarca=KARVESTON\r\n"
            "NOmologa=OM-4711\r\nModello=KYMRAGAS-530\r\nNserie=AQ123456\r\nVersione=1.5\r\n"
            "Scadenza=31/12/2030\r\n[MODKYMRA]\r\nModello=2\r\n");
  // The printed pages show the stored analyser at once, not the one of the last start.
  EXPECT_EQ(p_.shell.GasMake, "KARVESTON");
  EXPECT_EQ(p_.shell.GasHomologation, "OM-4711");
}

TEST_F(AnsuTest, PortOutsideTheStationOpensAsPortOne) {
  for (const char* stored : {"0", "17", "-2"}) {
    SCOPED_TRACE(stored);
    Write(Conf(stored, "1", "1"));
    f_.Show();
    EXPECT_EQ(f_.Text5.Text(), "1");
    EXPECT_EQ(p_.shell.GasComPort, 1);
    written_[1].clear();
    ui_.click(f_.Command2);
    EXPECT_EQ(lines_[1]->baud(), 1200);
    EXPECT_EQ(written_[1], BuildMctcNetFrame("GAS", "ID", "1", ""));
    f_.Unload();
  }
}

TEST_F(AnsuTest, FailuresAreTold) {
  Write(Conf("3", "2", "1"));
  lines_[3]->setAvailable(false);
  f_.Show();
  ui_.answerBox();
  ui_.click(f_.Command2);
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
  EXPECT_EQ(ui_.lastBox().text.rfind("COM3 " + Text(lang::RiconoscimentoImpo) + "\r\n", 0), 0u);
  EXPECT_TRUE(written_[3].empty());

  // A write that fails is told, and nothing is said to have been saved.
  p_.rt.currentDirectory = dir_ / "gone";
  ui_.answerBox();
  ui_.click(f_.CmdApl);
  ASSERT_EQ(ui_.boxes().size(), 2u);
  EXPECT_NE(ui_.lastBox().text.find((dir_ / "gone" / "Conf.ini").string()), std::string::npos);
  EXPECT_NE(ui_.lastBox().text, Text(lang::RPMSUSave));
}

TEST(GasIdentityTest, ModelNamedByTheFirstTwelveCharactersOfAParsedIdentity) {
  struct Case {
    const char* model;
    int fields;  // fields in the reply
    bool parsed;
    int index;
    int comMode;
  };
  const Case cases[] = {
      {"KYMRAGAS-410", 7, true, 0, 1},   {"KYMRAGAS-420XL", 7, true, 1, 1},
      {"KYMRAGAS-530  ", 6, true, 2, 1}, {"kymragas-410", 7, true, 3, 2},
      {"TOPAZ", 7, true, 3, 2},          {"KYMRAGAS-410", 5, false, 3, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    LinkState l;
    const std::string all[] = {"K", c.model, "H", "S", "31122030", "1.5", "0"};
    std::string data;
    for (int i = 0; i < c.fields; ++i) data += (i ? std::string(1, kEtb) : "") + all[i];
    const IdentifiedModel m = TakeGasIdentity(l, sim::MctcReply("GAS", "ID", data), 2, 1);
    EXPECT_EQ(m.parsed, c.parsed);
    if (c.parsed) {
      EXPECT_EQ(m.modelIndex, c.index);
      EXPECT_EQ(m.comMode, c.comMode);
      EXPECT_EQ(l.InstrModel.back(), c.model[std::string(c.model).find_last_not_of(' ')]);
    }
  }
}

}  // namespace
}  // namespace vs
