// The start menu: start-up, blink, language, system set-up and the end of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

class MenuStartupTest : public test::StationTest {};

TEST_F(MenuStartupTest, StartsFromAStationAndDeletesOnlyTheProgramFoldersLogs) {
  WriteConf(
      "[LINGUA]\r\nTLingua=2\r\n[UTENTE]\r\nOperatore=Rossi\r\n[AMBIENTE]\r\nPressione=101,3\r\n"
      "[RPM]\r\nTCOMrpm=3\r\nExternRPM=1\r\n[IMPOSTAZIONI]\r\n");
  Touch(bin_ / "smoke.log");
  Touch(bin_ / "gas.log");
  Touch(dir_ / "smoke.log");
  Touch(dir_ / "gas.log");

  Menu& m = Start();
  EXPECT_FALSE(std::filesystem::exists(bin_ / "smoke.log"));
  EXPECT_FALSE(std::filesystem::exists(bin_ / "gas.log"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "smoke.log"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "gas.log"));

  EXPECT_EQ(p_.shell.LanguageCode, 2);
  EXPECT_EQ(p_.shell.OperatorName, "Rossi");
  EXPECT_EQ(p_.shell.AmbientPressure, "101,3");
  EXPECT_EQ(p_.shell.RpmComPort, 3);
  EXPECT_EQ(p_.shell.ExternRpm, 1);
  EXPECT_EQ(m.Caption(), "Start menù");
  EXPECT_EQ(m.LabelTit.Caption(), "GAS AND SMOKE ANALYSIS");
  EXPECT_EQ(m.MISURAG.Caption(), "Measurement");
  EXPECT_EQ(m.MISURAR.Caption(), "Measurement");
  EXPECT_EQ(m.DVEIC.Caption(), "User Data");
  EXPECT_EQ(m.DAMBIENT.Caption(), "Ambient Data");
  EXPECT_EQ(m.RICONOSCI.Caption(), "COM Scan");
  EXPECT_EQ(m.UTILITY.Caption(), "&Utilities");
  EXPECT_EQ(m.LINGUA.Caption(), "&Language");
  // Design texts in every language.
  EXPECT_EQ(m.SETG.Caption(), "Set-Up");
  EXPECT_EQ(m.KYMRA.Caption(), "&Kymra");
  EXPECT_EQ(m.CmdAnGas.Caption(), "Kymra");
  EXPECT_EQ(m.Label1.Caption(), "KARVESTON");
  EXPECT_FALSE(m.Command1.Visible());
}

TEST_F(MenuStartupTest, AFailingStepIsSkippedAndTheNextOneRuns) {
  // smoke.log cannot be deleted (a folder with something in it): gas.log still goes.
  std::filesystem::create_directories(bin_ / "smoke.log" / "x");
  Touch(bin_ / "gas.log");
  Start();
  EXPECT_TRUE(std::filesystem::exists(bin_ / "smoke.log"));
  EXPECT_FALSE(std::filesystem::exists(bin_ / "gas.log"));
  EXPECT_EQ(p_.shell.LanguageCode, 0);
  EXPECT_EQ(p_.shellForms.menu.LabelTit.Caption(), "ANALISI GAS E FUMI");  // no Conf.ini
}

TEST_F(MenuStartupTest, CorruptOrMissingFilesDoNotStopTheStart) {
  WriteConf(
      "\xff\xfe[LINGUA\r\nTLingua=abc\r\n[RPM]\r\nTCOMrpm=\x01\x02\r\n"
      "[UTENTE]\r\nOperatore=Bianchi\r\n[IMPOSTAZIONI]\r\nAbiM=\xff\xff\r\nKquad=zz\r\n");
  std::filesystem::remove(dir_ / "Lingua.ini");
  Menu& m = Start();
  EXPECT_TRUE(m.Visible());
  EXPECT_EQ(p_.shell.OperatorName, "Bianchi");
  EXPECT_EQ(p_.shell.GasKquad, 1E-09);
  EXPECT_EQ(m.LabelTit.Caption(), "");  // no texts without Lingua.ini
  EXPECT_TRUE(m.Timer1.running());
}

TEST_F(MenuStartupTest, PictureBlinksEverySecondFromTheFirstTickOn) {
  Menu& m = Start();
  std::string seen;
  for (int i = 0; i < 5; ++i) {
    seen += m.Picture1.Visible() ? '1' : '0';
    ui_.advance(1000);
  }
  EXPECT_EQ(seen, "10101");
}

TEST_F(MenuStartupTest, ChoosingALanguageWritesItsCodeAtOnce) {
  Menu& m = Start();
  ui_.ctrl(m, 'E');
  EXPECT_NE(ReadConf().find("TLingua=2"), std::string::npos);
  EXPECT_EQ(m.LabelTit.Caption(), "GAS AND SMOKE ANALYSIS");
  ui_.ctrl(m, 'S');
  EXPECT_NE(ReadConf().find("TLingua=3"), std::string::npos);
  EXPECT_EQ(m.LINGUA.Caption(), "&Idioma");
  ui_.menu(m.LINGITA);
  EXPECT_NE(ReadConf().find("TLingua=1"), std::string::npos);
  EXPECT_EQ(m.DAMBIENT.Caption(), "Dati Ambientali");
  EXPECT_FALSE(ui_.ended());
}

// Esc, Enter and the close box each save the language code and end the program without
// running any other form's unload step.
class MenuEndTest : public test::StationTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MenuEndTest, EndsAfterSavingTheLanguageCode) {
  WriteConf("[LINGUA]\r\nTLingua=3\r\n");
  test::StandInForm angas(p_, "ANGAS");
  p_.shellForms.ANGAS = &angas;
  Menu& m = Start();
  ui_.fkey(m, 1);
  ASSERT_TRUE(angas.IsLoaded());
  WriteConf("");  // whatever happened to the file meanwhile, the code is written at the end

  const std::string how = GetParam();
  if (how == "esc") ui_.esc(m);
  if (how == "enter") ui_.enter(m);
  if (how == "button") ui_.click(m.CmdOut);
  if (how == "close") ui_.close(m);
  EXPECT_TRUE(ui_.ended());
  EXPECT_EQ(ui_.exitCode(), 0);
  EXPECT_NE(ReadConf().find("TLingua=3"), std::string::npos);
  EXPECT_EQ(angas.unloads, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, MenuEndTest, ::testing::Values("esc", "enter", "button", "close"));

TEST_F(MenuStartupTest, SystemSetUpOpensOnlyBehindTheRightCode) {
  Menu& m = Start();
  auto attempt = [&](std::function<void()> inPassword) {
    ui_.onModal(p_.password, std::move(inPassword));
    ui_.clearJournal();
    ui_.clearBoxes();
    ui_.menu(m.SYSSU);
  };
  ui_.onModal(p_.sysSetUp, [&] { ui_.close(p_.sysSetUp); });
  attempt([&] {
    ui_.type(p_.password.Text1, "PELTO");
    ui_.enter(p_.password);
  });
  EXPECT_NE(std::find(ui_.journal().begin(), ui_.journal().end(), "modal SYS_SET_UP"),
            ui_.journal().end());
  EXPECT_TRUE(ui_.boxes().empty());

  ui_.answerBox();
  attempt([&] { ui_.close(p_.password); });  // right before, closed now: not right
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(ui_.lastBox().text, "Password non Valida");
  EXPECT_EQ(ui_.lastBox().title, "Vantoscope");
  EXPECT_EQ(ui_.lastBox().buttons, plat::MsgBoxButtons::OK);

  ui_.answerBox();
  attempt([&] {
    ui_.type(p_.password.Text1, "pelto");
    ui_.enter(p_.password);
  });
  EXPECT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(ui_.journal().end(),
            std::find(ui_.journal().begin(), ui_.journal().end(), "modal SYS_SET_UP"));

  attempt([&] { ui_.click(p_.password.Annulla); });
  EXPECT_TRUE(ui_.boxes().empty());
  EXPECT_FALSE(p_.sysSetUp.IsLoaded());
}

}  // namespace
}  // namespace vs
