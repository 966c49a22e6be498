// The gas-analyser set-up: what it loads, how it asks the analyser for its identity and which
// model that names, exactly what "Applica" writes, and the failures it tells.
#include <gtest/gtest.h>

#include <string>

#include "gas/GasSetUp.h"
#include "gas_fixture.h"
#include "link/MctcNetFrame.h"

namespace vs::test {
namespace {

std::string Conf(const std::string& tcom, const std::string& tbrate, const std::string& model) {
  return "[COMKYMRA]\r\nTModCom=1\r\nTCOM=" + tcom + "\r\nTBRate=" + tbrate +
         "\r\nMarca=OLD\r\nNOmologa=H-1\r\nModello=KYMRAGAS-410\r\nNserie=S-1\r\n"
         "Versione=1.0\r\nScadenza=01/01/2020\r\n[MODKYMRA]\r\nModello=" +
         model + "\r\n";
}

TEST_F(GasTest, AnsuSearchesOnItsOwnExchangeAndApplicaWritesBothSections) {
  ANSU& f = p_.ansu;
  // A stored port the station cannot have opens as port 1.
  sim::Instrument one(sim::Device::Gas, sim::Protocol::Mctc);
  const auto line1 = p_.rt.serial.attachMemory(1);
  sim::Attach(one, line1, &p_.rt.loop);
  for (const char* stored : {"0", "17", "-2"}) {
    plat::test::WriteBytes(dir_ / "Conf.ini", Conf(stored, "1", "1"));
    f.Show();
    EXPECT_EQ(f.Text5.Text(), "1") << stored;
    EXPECT_EQ(p_.shell.GasComPort, 1);
    ui_.click(f.Command2);
    EXPECT_EQ(line1->baud(), 1200);
    f.Unload();
  }
  EXPECT_EQ(one.requests.size(), 3u);

  plat::test::WriteBytes(dir_ / "Conf.ini", Conf("3", "4", "0"));
  sim::Instrument& gas = Analyser(sim::Protocol::Mctc, 3);
  gas.identity = {"KARVESTON", "KYMRAGAS-530   ", "OM-4711", "AQ123456", "31122030", "1.5", "0"};
  gas.splitInto = 3;  // the reply comes in three pieces
  std::string written;
  line_->onWrite = [&, forward = line_->onWrite](std::string_view b) {
    written += b;
    forward(b);
  };
  // A gas test's exchange is under way: the search must leave it alone.
  LinkState& l = p_.link;
  l.McnAddress = "OPA";
  l.McnCommand = "@VA";
  l.McnCommandLen = 3;
  l.McnDevNumberLen = 1;
  f.Show();
  EXPECT_EQ(f.Text5.Text(), "3");
  EXPECT_TRUE(f.Option4.Value());  // the disabled 38400 is shown all the same
  EXPECT_EQ(f.Combo1.ListIndex(), 0);
  EXPECT_EQ(f.Text3.Text(), "KYMRAGAS-410");
  EXPECT_EQ(p_.gas.GasDeviceAddress, 49);
  ui_.click(f.Command2);
  EXPECT_EQ(line_->baud(), 9600);  // the search never asks at 38400
  ui_.settle();
  EXPECT_EQ(written, BuildMctcNetFrame("GAS", "ID", "1", ""));
  EXPECT_EQ(f.Text1.Text(), "KARVESTON");
  EXPECT_EQ(f.Text3.Text(), "KYMRAGAS-530");  // shown and kept without the blanks
  EXPECT_EQ(f.Text7.Text(), "31/12/2030");
  EXPECT_EQ(f.Combo1.ListIndex(), 2);
  EXPECT_EQ(p_.shell.GasComMode, 1);
  EXPECT_EQ(p_.gas.GasDeviceAddress, 33);
  EXPECT_EQ(std::tie(l.McnAddress, l.McnCommand, l.McnCommandLen), std::tuple("OPA", "@VA", 3));

  // What the operator types into the identity boxes is not saved.
  ui_.type(f.Text1, "TYPED");
  ui_.click(f.Option2);
  ui_.answerBox();
  ui_.click(f.CmdApl);
  EXPECT_EQ(ui_.lastBox().text, Text(lang::RPMSUSave));
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(plat::test::ReadBytes(dir_ / "Conf.ini"),
            "[COMKYMRA]\r\nTModCom=1\r\nTCOM=3\r\nTBRate=2\r\nMarca=KARVESTON\r\n"
            "NOmologa=OM-4711\r\nModello=KYMRAGAS-530\r\nNserie=AQ123456\r\nVersione=1.5\r\n"
            "Scadenza=31/12/2030\r\n[MODKYMRA]\r\nModello=2\r\n");
  // The printed pages show the stored analyser at once, not the one of the last start.
  EXPECT_EQ(std::tie(p_.shell.GasMake, p_.shell.GasHomologation),
            std::tuple("KARVESTON", "OM-4711"));

  // A port that cannot be opened, and a write that fails, are told.
  line_->setAvailable(false);
  ui_.answerBox();
  ui_.click(f.Command2);
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
  EXPECT_EQ(ui_.lastBox().text.rfind("COM3 " + Text(lang::RiconoscimentoImpo) + "\r\n", 0), 0u);
  EXPECT_EQ(written, BuildMctcNetFrame("GAS", "ID", "1", ""));
  p_.rt.currentDirectory = dir_ / "gone";
  ui_.answerBox();
  ui_.clearBoxes();
  ui_.click(f.CmdApl);
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_NE(ui_.lastBox().text.find((dir_ / "gone" / "Conf.ini").string()), std::string::npos);
}

TEST(GasIdentityTest, ModelNamedByTheFirstTwelveCharactersOfAParsedIdentity) {
  struct Case {
    const char* model;
    int fields;  // fields in the reply
    bool parsed;
    int index, comMode;
  } const cases[] = {
      {"KYMRAGAS-410", 7, true, 0, 1},   {"KYMRAGAS-420XL", 7, true, 1, 1},
      {"KYMRAGAS-530  ", 6, true, 2, 1}, {"kymragas-410", 7, true, 3, 2},
      {"TOPAZ", 7, true, 3, 2},          {"KYMRAGAS-410", 5, false, 3, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    LinkState l;
    const std::string all[] = {"K", c.model, "H", "S", "31122030", "1.5", "0"};
    std::string data = all[0];
    for (int i = 1; i < c.fields; ++i) data += kEtb + all[i];
    const IdentifiedModel m = TakeGasIdentity(l, sim::MctcReply("GAS", "ID", data), 2, 1);
    EXPECT_EQ(m.parsed, c.parsed);
    if (c.parsed) {
      EXPECT_EQ(std::tuple(m.modelIndex, m.comMode), std::tuple(c.index, c.comMode));
      EXPECT_EQ(l.InstrModel,
                std::string(c.model).substr(0, std::string(c.model).find_last_not_of(' ') + 1));
    }
  }
}

}  // namespace
}  // namespace vs::test
