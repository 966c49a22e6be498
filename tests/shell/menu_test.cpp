// The start menu: start-up, blink, language, the end of the program, the system set-up
// behind its access code, and the openers of the tests and the other forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

#include "platform/serial/MemoryDevice.h"
#include "platform/text/Cp1252.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

namespace fs = std::filesystem;
using MenuTest = test::StationTest;

// Old reading logs go from the program's folder only; a step that fails is skipped.
TEST_F(MenuTest, StartLoadsTheStationSkippingWhatFailsAndBlinksEverySecond) {
  fs::create_directories(bin_ / "smoke.log" / "x");  // cannot be deleted
  for (const fs::path& log : {bin_ / "gas.log", dir_ / "gas.log", dir_ / "smoke.log"}) {
    plat::test::WriteBytes(log, "x");
  }
  WriteConf(
      "\xff\xfe[LINGUA\r\nTLingua=abc\r\n[RPM]\r\nTCOMrpm=\x01\r\nExternRPM=1\r\n[UTENTE]\r\n"
      "Operatore=B\r\n[IMPOSTAZIONI]\r\nAbiM=\xff\r\nKquad=zz\r\n");
  Menu& m = Start();
  EXPECT_FALSE(fs::exists(bin_ / "gas.log"));
  EXPECT_TRUE(fs::exists(dir_ / "gas.log") && fs::exists(dir_ / "smoke.log"));
  EXPECT_EQ(std::tie(p_.shell.OperatorName, p_.shell.ExternRpm), std::tuple("B", 1));
  EXPECT_EQ(m.LabelTit.Caption(), "ANALISI GAS E FUMI");  // code 0: Italian
  std::string seen;
  for (int i = 0; i < 5; ++i, ui_.advance(1000)) seen += m.Picture1.Visible() ? '1' : '0';
  EXPECT_EQ(seen, "10101");
}

// A station whose "Lingua.ini" gives no texts: the operator is told once, naming the file,
// and the menus keep a caption.
TEST_F(MenuTest, LanguageFileWithoutTextsIsToldOnceAndTheMenusStay) {
  const struct {
    const char *lingua, *told;  // lingua nullptr: no file
  } cases[] = {
      {nullptr, "mancante"},
      {"\x01garbage\xff\r\n=x\r\n[INGLESE]\r\nMen\xF9Lingua=&Language\r\n",
       "Nessun testo della lingua ITALIANO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told);
    Program bare(plat::EventLoop::ClockKind::Manual);  // no Conf.ini
    bare.rt.currentDirectory = bin_;
    fs::remove(bin_ / "Lingua.ini");
    if (c.lingua != nullptr) plat::test::WriteBytes(bin_ / "Lingua.ini", c.lingua);
    plat::test::FormDriver ui(bare.rt);
    ui.answerBox();
    Menu& m = bare.menu;
    m.Show();
    EXPECT_TRUE(m.Visible());
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_NE(ui.boxes()[0].text.find(c.told), std::string::npos) << ui.boxes()[0].text;
    EXPECT_NE(ui.boxes()[0].text.find((bin_ / "Lingua.ini").string()), std::string::npos);
    EXPECT_EQ(std::tie(m.LabelTit.Caption(), m.UTILITY.Caption(), m.MISURAG.Caption()),
              std::tuple("", "MenùUtility", "ANFUMOMisura"));
  }
}

// The shipped file re-saved as UTF-8 by an editor loads with no message.
TEST_F(MenuTest, ChoosingALanguageWritesItsCodeAtOnce) {
  const std::string cp1252 = plat::test::ReadBytes(dir_ / "Lingua.ini");
  plat::test::WriteBytes(dir_ / "Lingua.ini", plat::Cp1252ToUtf8(cp1252));
  Menu& m = Start();
  EXPECT_TRUE(ui_.boxes().empty());
  EXPECT_EQ(std::tie(m.UTILITY.Caption(), m.LINGUA.Caption()), std::tuple("&Utilità", "&Lingua"));
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
  int unloads = 0;
  p_.angas.addDiscardAction([&] { ++unloads; });
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
  EXPECT_EQ(ReadConf(), "[LINGUA]\r\nTLingua=3\r\n");
  EXPECT_EQ(unloads, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, MenuEndTest, ::testing::Values("esc", "enter", "button", "close"));

TEST_F(MenuTest, SystemSetUpOpensOnlyBehindTheExactCode) {
  Menu& m = Start();
  Password& pw = p_.password;
  const auto opens = [&](std::function<void()> inPassword) {
    ui_.onModal(pw, std::move(inPassword));
    ui_.clearJournal();
    ui_.menu(m.SYSSU);
    return Count("modal SYS_SET_UP") == 1;
  };
  const auto type = [&](const char* code) {
    return [&, code] { ui_.type(pw.Text1, code), ui_.enter(pw); };
  };
  ui_.onEveryModal(p_.sysSetUp, [&] { ui_.click(p_.sysSetUp.CAnnulla); });
  EXPECT_TRUE(opens(type("PELTO")));
  EXPECT_TRUE(ui_.boxes().empty());
  ui_.answerEveryBox(plat::MsgBoxResult::OK);
  EXPECT_FALSE(opens([&] { ui_.close(pw); }));  // right just before, closed now: not right
  EXPECT_EQ(ui_.lastBox().text, "Password non Valida");
  for (const char* code : {"pelto", " PELTO", "PELTO ", "PELT", ""}) {
    EXPECT_FALSE(opens(type(code))) << code;
  }
  EXPECT_FALSE(opens([&] { ui_.click(pw.Annulla); }));
  EXPECT_EQ(ui_.boxes().size(), 6u);  // none for the cancel
}

// The form shows the stored options; Salva keeps the coefficients only when both are
// numbers, and a grey box counts as not checked.
TEST_F(MenuTest, SystemSetUpFormSavesOnlyNumbers) {
  using Options = std::tuple<int, double, double>;
  const auto options = [&] {
    return Options(p_.shell.SystemEnableMask, p_.shell.GasKquad, p_.shell.GasKlin);
  };
  SYS_SET_UP& f = p_.sysSetUp;
  p_.rt.regional = plat::RegionalSettings::Italian();
  ui_.onModal(f, [&] {
    EXPECT_EQ(std::tie(f.TKquad.Text(), f.TKlin.Text()), std::tuple("1E-09", "0,008"));
    for (plat::CheckBox* box : {&f.CkAbilOpa, &f.CkAbilKymra, &f.CkAbilTt}) ui_.click(*box);
    ui_.type(f.TKlin, "0,009");
    ui_.enter(f);  // CSalva is the default button
  });
  f.Show(plat::ShowMode::Modal);
  EXPECT_EQ(options(), Options(7, 1E-09, 0.009));
  // Each Windows-1252 byte XOR 0xA7; the mask is followed by "Vrin".
  EXPECT_EQ(ReadConf(),
            "[IMPOSTAZIONI]\r\nAbiM=\x90\xF1\xD5\xCE\xC9\r\nKquad=\x96\xE2\x8A\x97\x9E\r\n"
            "Klin=\x97\x8B\x97\x97\x9E\r\n");

  ui_.onModal(f, [&] {
    EXPECT_EQ(std::tuple(f.CkAbilOpa.Value(), f.CkAbilKymra.Value(), f.CkAbilTt.Value()),
              std::tuple(1, 1, 1));
    const std::string before = ReadConf();
    f.CkAbilKymra.setValue(plat::CheckBox::kGrayed);
    for (const auto& [kquad, klin, told] :
         {std::tuple("3E-09", "0.5.1", "Klin"), std::tuple("", "0,02", "Kquad")}) {
      ui_.type(f.TKquad, kquad), ui_.type(f.TKlin, klin);
      ui_.answerBox();
      ui_.click(f.CSalva);
      EXPECT_NE(ui_.lastBox().text.find(told), std::string::npos) << ui_.lastBox().text;
      EXPECT_TRUE(f.Visible());
    }
    EXPECT_TRUE(f.TKquad.hasFocus());
    EXPECT_EQ(options(), Options(7, 1E-09, 0.009));
    EXPECT_EQ(ReadConf(), before);
    ui_.type(f.TKquad, "2E-09");
    ui_.click(f.CSalva);
  });
  f.Show(plat::ShowMode::Modal);
  EXPECT_EQ(options(), Options(5, 2E-09, 0.02));
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
  Menu& m_ = p_.menu;
  RPM& rpm_ = p_.rpm;
  std::shared_ptr<plat::MemoryDevice> counterLine_;
};

TEST_F(MenuOpenersTest, OnlyOneTestAtATime) {
  ui_.click(m_.CmdAnGas);
  EXPECT_FALSE(m_.Timer1.Enabled());
  EXPECT_TRUE(p_.angas.Visible() && !p_.angas.modal());
  EXPECT_FALSE(rpm_.IsLoaded());  // no external source configured
  p_.link.GasFormActive = 0;
  ui_.fkey(m_, 1);  // again: the flag is raised again, the form is not loaded twice
  EXPECT_EQ(std::tie(p_.link.GasFormActive, p_.shell.ExclamStampaPending), std::tuple(1, 0));
  EXPECT_EQ(Count("load ANGAS"), 1);
  m_.ZOrder();
  ui_.click(m_.CmdAnFumo);
  EXPECT_FALSE(p_.anfumo.IsLoaded());
  EXPECT_EQ(p_.link.OpaFormActive, 0);
  EXPECT_EQ(p_.rt.forms.activeForm(), &p_.angas);
  ui_.close(p_.angas);
  EXPECT_TRUE(m_.Timer1.running());  // the test form's unload restarts the blink
  ui_.fkey(m_, 3);
  ui_.fkey(m_, 1);
  EXPECT_FALSE(p_.angas.IsLoaded());
  EXPECT_EQ(std::tie(p_.link.OpaFormActive, p_.shell.ExclamStampaPending), std::tuple(1, 1));
}

TEST_F(MenuOpenersTest, SmokeTestWithExternalCounterShowsTheEngineSpeedFormFirst) {
  p_.shell.ExternOilTemp = 1;
  // The smoke test's first tick shows its start notice; the operator closes it.
  ui_.onModal(p_.exclamStampa, [&] { ui_.click(p_.exclamStampa.Command1); });
  ui_.fkey(m_, 3);
  const auto& j = ui_.journal();
  EXPECT_LT(std::find(j.begin(), j.end(), "show RPM"),
            std::find(j.begin(), j.end(), "show ANFUMO"));
  EXPECT_EQ(rpm_.windowState(), plat::WindowState::Minimized);
  counterLine_->takeWritten();
  ui_.advance(300);
  EXPECT_NE(counterLine_->takeWritten(), "");  // it goes on polling behind the test
}

// The engine-speed item shows its form modally and then closes the tests; during a test
// with an external counter it only brings that counter's form to the front.
TEST_F(MenuOpenersTest, EngineSpeedItem) {
  ui_.onEveryModal(rpm_, [&] { ui_.close(rpm_); });
  ui_.click(m_.CmdRPM);  // no test open: the blink stays off
  EXPECT_EQ(Count("modal RPM"), 1);
  const bool shown = m_.Picture1.Visible();
  ui_.advance(5000);
  EXPECT_EQ(m_.Picture1.Visible(), shown);
  ui_.fkey(m_, 1);
  ui_.fkey(m_, 5);
  EXPECT_FALSE(p_.angas.IsLoaded());
  EXPECT_EQ(Count("unload ANFUMO"), 0);  // not loaded: stays unloaded
  EXPECT_TRUE(m_.Timer1.running());

  p_.shell.ExternRpm = 1;
  ui_.fkey(m_, 1);
  ui_.fkey(m_, 5);
  EXPECT_EQ(Count("modal RPM"), 2);
  EXPECT_EQ(rpm_.windowState(), plat::WindowState::Normal);
  EXPECT_EQ(p_.rt.forms.activeForm(), &rpm_);
  EXPECT_TRUE(p_.angas.IsLoaded());
}

TEST_F(MenuOpenersTest, OtherItemsOpenWhatIsBuiltAndNothingElse) {
  ui_.onModal(p_.ansu, [&] { ui_.esc(p_.ansu); });
  ui_.fkey(m_, 2);
  EXPECT_TRUE(m_.Timer1.running());
  EXPECT_EQ(p_.rt.forms.loaded().size(), 1u);
  ui_.onModal(p_.riconosciMCTC, [&] { ui_.esc(p_.riconosciMCTC); });
  ui_.menu(m_.RICONOSCI);
  ui_.onModal(p_.opasu, [&] { ui_.esc(p_.opasu); });
  ui_.fkey(m_, 4);
  ui_.onModal(p_.utente, [&] { ui_.close(p_.utente); });
  ui_.menu(m_.DVEIC);  // the operator form, not the vehicle form
  ui_.onModal(p_.damb, [&] { ui_.close(p_.damb); });
  ui_.menu(m_.DAMBIENT);
  ui_.click(m_.Image1);
  ui_.click(m_.Image1);
  for (const char* form : {"ANSU", "RiconosciMCTC", "OPASU", "UTENTE", "DAMB"}) {
    EXPECT_EQ(Count(std::string("modal ") + form), 1) << form;
  }
  EXPECT_EQ(Count("load DVeicoli"), 0);
  EXPECT_TRUE(p_.about.Visible() && !p_.about.modal());
  EXPECT_EQ(Count("load frmAbout"), 1);
}

}  // namespace
}  // namespace vs
