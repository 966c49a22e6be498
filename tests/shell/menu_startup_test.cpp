// The start menu: start-up, blink, language, system set-up and the end of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

class MenuStartupTest : public test::StationTest {};

TEST_F(MenuStartupTest, LoadsTheStationAndDeletesOnlyTheProgramFoldersLogs) {
  WriteConf("[LINGUA]\r\nTLingua=2\r\n[UTENTE]\r\nOperatore=Rossi\r\n[RPM]\r\nExternRPM=1\r\n");
  for (const char* log : {"smoke.log", "gas.log"}) Touch(bin_ / log), Touch(dir_ / log);
  Menu& m = Start();
  EXPECT_FALSE(std::filesystem::exists(bin_ / "smoke.log"));
  EXPECT_FALSE(std::filesystem::exists(bin_ / "gas.log"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "smoke.log"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "gas.log"));
  EXPECT_EQ(p_.shell.OperatorName, "Rossi");
  EXPECT_EQ(p_.shell.ExternRpm, 1);
  EXPECT_EQ(m.LabelTit.Caption(), "GAS AND SMOKE ANALYSIS");
  EXPECT_EQ(m.MISURAR.Caption(), "Measurement");
  EXPECT_EQ(m.DVEIC.Caption(), "User Data");
  EXPECT_EQ(m.LINGUA.Caption(), "&Language");
  EXPECT_EQ(m.SETG.Caption(), "Set-Up");  // design text in every language
}

TEST_F(MenuStartupTest, FailingStepsAreSkippedAndTheStartCompletes) {
  std::filesystem::create_directories(bin_ / "smoke.log" / "x");  // cannot be deleted
  Touch(bin_ / "gas.log");
  WriteConf(
      "\xff\xfe[LINGUA\r\nTLingua=abc\r\n[RPM]\r\nTCOMrpm=\x01\r\n[UTENTE]\r\nOperatore=B\r\n"
      "[IMPOSTAZIONI]\r\nAbiM=\xff\r\nKquad=zz\r\n");
  Menu& m = Start();
  EXPECT_FALSE(std::filesystem::exists(bin_ / "gas.log"));
  EXPECT_EQ(p_.shell.OperatorName, "B");
  EXPECT_EQ(m.LabelTit.Caption(), "ANALISI GAS E FUMI");  // code 0: Italian
  EXPECT_TRUE(m.Timer1.running());

  Program bare(plat::EventLoop::ClockKind::Manual);  // no Conf.ini, no Lingua.ini
  bare.rt.currentDirectory = bin_;
  plat::test::FormDriver ui(bare.rt);
  bare.shellForms.menu.Show();
  EXPECT_TRUE(bare.shellForms.menu.Visible());
  EXPECT_EQ(bare.shellForms.menu.LabelTit.Caption(), "");
}

TEST_F(MenuStartupTest, PictureBlinksEverySecondFromTheFirstTickOn) {
  Menu& m = Start();
  std::string seen;
  for (int i = 0; i < 5; ++i, ui_.advance(1000)) seen += m.Picture1.Visible() ? '1' : '0';
  EXPECT_EQ(seen, "10101");
}

TEST_F(MenuStartupTest, ChoosingALanguageWritesItsCodeAtOnce) {
  Menu& m = Start();
  ui_.ctrl(m, 'E');
  EXPECT_NE(ReadConf().find("TLingua=2"), std::string::npos);
  EXPECT_EQ(m.LabelTit.Caption(), "GAS AND SMOKE ANALYSIS");
  ui_.menu(m.LINGSPA);
  EXPECT_NE(ReadConf().find("TLingua=3"), std::string::npos);
  EXPECT_EQ(m.UTILITY.Caption(), "&Utilidades");
  EXPECT_FALSE(ui_.ended());
}

// Esc, Enter, the button and the close box each save the language code and end the program
// without running any other form's unload step.
class MenuEndTest : public test::StationTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MenuEndTest, EndsAfterSavingTheLanguageCode) {
  WriteConf("[LINGUA]\r\nTLingua=3\r\n");
  test::StandInForm angas(p_, "ANGAS");
  p_.shellForms.ANGAS = &angas;
  Menu& m = Start();
  ui_.fkey(m, 1);
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
  Password& pw = p_.shellForms.password;
  auto attempt = [&](std::function<void()> inPassword) {
    ui_.onModal(pw, std::move(inPassword));
    ui_.clearJournal();
    ui_.menu(m.SYSSU);
    const auto& j = ui_.journal();
    return std::find(j.begin(), j.end(), "modal SYS_SET_UP") != j.end();
  };
  auto type = [&](const char* code) {
    return [&, code] { ui_.type(pw.Text1, code), ui_.enter(pw); };
  };
  ui_.onEveryModal(p_.shellForms.sysSetUp, [&] { ui_.close(p_.shellForms.sysSetUp); });
  EXPECT_TRUE(attempt(type("PELTO")));
  EXPECT_TRUE(ui_.boxes().empty());

  ui_.answerBox();
  EXPECT_FALSE(attempt([&] { ui_.close(pw); }));  // right just before, closed now: not right
  EXPECT_EQ(ui_.lastBox().text, "Password non Valida");
  EXPECT_EQ(ui_.lastBox().title, "Vantoscope");

  ui_.answerBox();
  EXPECT_FALSE(attempt(type("pelto")));
  EXPECT_FALSE(attempt([&] { ui_.click(pw.Annulla); }));
  EXPECT_EQ(ui_.boxes().size(), 2u);  // none for the cancel
}

}  // namespace
}  // namespace vs
