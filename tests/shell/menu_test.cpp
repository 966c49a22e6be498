// The start menu: start-up, blink, language, system set-up, the end of the program, and
// its openers, with stand-in forms for the parts that register theirs later.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/Runtime.h"
#include "platform/core/Error.h"
#include "platform/serial/MemoryDevice.h"
#include "platform/text/Cp1252.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

using plat::WindowState;

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
}

// A station whose "Lingua.ini" gives no texts: the operator is told once, naming the file,
// and the menus keep a caption.
TEST_F(MenuStartupTest, LanguageFileWithoutTextsIsToldOnceAndTheMenusStay) {
  const struct {
    const char* lingua;  // nullptr: no file
    const char* told;
  } cases[] = {
      {nullptr, "mancante"},
      {"\x01garbage\xff\r\n=x\r\n", "Nessun testo della lingua ITALIANO"},
      {"[INGLESE]\r\nMen\xF9Lingua=&Language\r\n", "Nessun testo della lingua ITALIANO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told);
    Program bare(plat::EventLoop::ClockKind::Manual);  // no Conf.ini
    bare.rt.currentDirectory = bin_;
    std::filesystem::remove(bin_ / "Lingua.ini");
    if (c.lingua != nullptr) plat::test::WriteBytes(bin_ / "Lingua.ini", c.lingua);
    plat::test::FormDriver ui(bare.rt);
    ui.answerBox();
    Menu& m = bare.menu;
    m.Show();
    EXPECT_TRUE(m.Visible());
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_NE(ui.boxes()[0].text.find(c.told), std::string::npos) << ui.boxes()[0].text;
    EXPECT_NE(ui.boxes()[0].text.find((bin_ / "Lingua.ini").string()), std::string::npos);
    EXPECT_EQ(m.LabelTit.Caption(), "");
    EXPECT_EQ(m.UTILITY.Caption(), "MenùUtility");
    EXPECT_EQ(m.LINGUA.Caption(), "MenùLingua");
    EXPECT_EQ(m.MISURAG.Caption(), "ANFUMOMisura");
  }
}

// An editor re-saved the shipped file as UTF-8: every text still loads, with no message.
TEST_F(MenuStartupTest, LanguageFileResavedAsUtf8LoadsEveryText) {
  const std::string cp1252 = plat::test::ReadBytes(dir_ / "Lingua.ini");
  plat::test::WriteBytes(dir_ / "Lingua.ini", plat::Cp1252ToUtf8(cp1252));
  Menu& m = Start();
  EXPECT_TRUE(ui_.boxes().empty());
  EXPECT_EQ(m.LabelTit.Caption(), "ANALISI GAS E FUMI");
  EXPECT_EQ(m.UTILITY.Caption(), "&Utilità");
  EXPECT_EQ(m.LINGUA.Caption(), "&Lingua");
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
  ANGAS& angas = p_.angas;
  int unloads = 0;
  angas.addDiscardAction([&] { ++unloads; });
  Menu& m = Start();
  p_.shell.GasComPort = 1;
  p_.rt.serial.attachMemory(1);
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
  EXPECT_EQ(unloads, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, MenuEndTest, ::testing::Values("esc", "enter", "button", "close"));

TEST_F(MenuStartupTest, SystemSetUpOpensOnlyBehindTheRightCode) {
  Menu& m = Start();
  Password& pw = p_.password;
  auto attempt = [&](std::function<void()> inPassword) {
    ui_.onModal(pw, std::move(inPassword));
    ui_.clearJournal();
    ui_.menu(m.SYSSU);
    return Count("modal SYS_SET_UP") == 1;
  };
  auto type = [&](const char* code) {
    return [&, code] { ui_.type(pw.Text1, code), ui_.enter(pw); };
  };
  ui_.onEveryModal(p_.sysSetUp, [&] { ui_.close(p_.sysSetUp); });
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

class MenuOpenersTest : public test::StationTest {
 protected:
  void SetUp() override {
    StationTest::SetUp();
    counterLine_ = p_.rt.serial.attachMemory(1);  // the engine-speed counter's port
    p_.shell.OpaComPort = 2;  // the smoke test form opens its port on a memory device
    p_.rt.serial.attachMemory(2);
    Start();
    p_.shell.GasComPort = 2;  // the gas test's analyser
    p_.rt.serial.attachMemory(2);
  }
  long Where(const std::string& entry) const {
    const auto& j = ui_.journal();
    return std::find(j.begin(), j.end(), entry) - j.begin();
  }

  Menu& m_ = p_.menu;
  ANGAS& angas_ = p_.angas;
  RPM& rpm_ = p_.rpm;
  std::shared_ptr<plat::MemoryDevice> counterLine_;
  ANFUMO& anfumo_ = p_.anfumo;
};

TEST_F(MenuOpenersTest, GasTestStopsTheBlinkAndOpensModeless) {
  ui_.click(m_.CmdAnGas);
  EXPECT_FALSE(m_.Timer1.Enabled());
  EXPECT_EQ(p_.link.GasFormActive, 1);
  EXPECT_EQ(p_.shell.ExclamStampaPending, 0);
  EXPECT_TRUE(angas_.Visible() && !angas_.modal());
  EXPECT_FALSE(rpm_.IsLoaded());  // no external source configured
  p_.link.GasFormActive = 0;
  ui_.fkey(m_, 1);  // again: the flag is raised again, the form is not loaded twice
  EXPECT_EQ(p_.link.GasFormActive, 1);
  EXPECT_EQ(Count("load ANGAS"), 1);
}

TEST_F(MenuOpenersTest, SmokeTestWithExternalCounterShowsTheEngineSpeedFormFirst) {
  p_.shell.ExternOilTemp = 1;
  // The smoke test's first tick shows its start notice; the operator closes it.
  ui_.onModal(p_.exclamStampa, [&] { ui_.click(p_.exclamStampa.Command1); });
  ui_.fkey(m_, 3);
  EXPECT_EQ(p_.link.OpaFormActive, 1);
  EXPECT_EQ(p_.shell.ExclamStampaPending, 1);
  EXPECT_LT(Where("show RPM"), Where("show ANFUMO"));
  EXPECT_EQ(rpm_.windowState(), WindowState::Minimized);
  counterLine_->takeWritten();
  ui_.advance(300);
  EXPECT_NE(counterLine_->takeWritten(), "");  // it goes on polling behind the test
}

TEST_F(MenuOpenersTest, OnlyOneTestAtATime) {
  ui_.click(m_.CmdAnGas);
  m_.ZOrder();
  ui_.click(m_.CmdAnFumo);
  EXPECT_FALSE(anfumo_.IsLoaded());
  EXPECT_EQ(p_.link.OpaFormActive, 0);
  EXPECT_EQ(p_.shell.ExclamStampaPending, 0);
  EXPECT_EQ(p_.rt.forms.activeForm(), &angas_);
  ui_.close(angas_);
  EXPECT_TRUE(m_.Timer1.running());  // the test form's unload restarts the blink
  ui_.fkey(m_, 3);
  ui_.fkey(m_, 1);
  EXPECT_FALSE(angas_.IsLoaded());
  EXPECT_EQ(p_.link.OpaFormActive, 1);
}

TEST_F(MenuOpenersTest, EngineSpeedItemShowsItsFormModallyThenClosesTheTests) {
  ui_.onEveryModal(rpm_, [&] { ui_.close(rpm_); });
  ui_.click(m_.CmdRPM);  // no test open: the blink stays off
  EXPECT_EQ(Count("modal RPM"), 1);
  const bool shown = m_.Picture1.Visible();
  ui_.advance(5000);
  EXPECT_EQ(m_.Picture1.Visible(), shown);

  ui_.fkey(m_, 1);
  ui_.fkey(m_, 5);
  EXPECT_FALSE(angas_.IsLoaded());
  EXPECT_EQ(Count("unload ANFUMO"), 0);  // not loaded: stays unloaded
  EXPECT_TRUE(m_.Timer1.running());
}

TEST_F(MenuOpenersTest, EngineSpeedItemBringsTheTestsCounterFormToTheFront) {
  p_.shell.ExternRpm = 1;
  ui_.fkey(m_, 1);
  ui_.fkey(m_, 5);
  EXPECT_EQ(Count("modal RPM"), 0);
  EXPECT_EQ(rpm_.windowState(), WindowState::Normal);
  EXPECT_EQ(p_.rt.forms.activeForm(), &rpm_);
  EXPECT_TRUE(angas_.IsLoaded());
}

TEST_F(MenuOpenersTest, OtherItemsOpenWhatIsBuiltAndNothingElse) {
  ui_.onModal(p_.ansu, [&] { ui_.esc(p_.ansu); });
  ui_.fkey(m_, 2);
  EXPECT_EQ(Count("modal ANSU"), 1);
  EXPECT_TRUE(m_.Timer1.running());
  EXPECT_EQ(p_.rt.forms.loaded().size(), 1u);
  ui_.onModal(p_.riconosciMCTC, [&] { ui_.esc(p_.riconosciMCTC); });
  ui_.menu(m_.RICONOSCI);
  EXPECT_EQ(Count("modal RiconosciMCTC"), 1);

  ui_.onModal(p_.opasu, [&] { ui_.esc(p_.opasu); });
  ui_.fkey(m_, 4);
  EXPECT_EQ(Count("modal OPASU"), 1);

  ui_.onModal(p_.utente, [&] { ui_.close(p_.utente); });
  ui_.menu(m_.DVEIC);  // the operator form, not the vehicle form
  ui_.onModal(p_.damb, [&] { ui_.close(p_.damb); });
  ui_.menu(m_.DAMBIENT);
  ui_.click(m_.Image1);
  ui_.click(m_.Image1);
  EXPECT_EQ(Count("modal UTENTE") + Count("modal DAMB"), 2);
  EXPECT_EQ(Count("load DVeicoli"), 0);
  EXPECT_TRUE(p_.about.Visible() && !p_.about.modal());
  EXPECT_EQ(Count("load frmAbout"), 1);
}

}  // namespace
}  // namespace vs
