// The shell's forms: the start menu (start-up, blink, language, the end of the program, the
// system set-up behind its access code, the openers of the tests and the other forms), the
// data-entry dialogs, the about box and the three message boxes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "link/ReplyParsers.h"
#include "link/SmokeRpmReplies.h"
#include "platform/core/Error.h"
#include "platform/serial/MemoryDevice.h"
#include "platform/text/Cp1252.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;

// The station with memory ports for the engine-speed counter (1) and for the gas analyser
// and the opacimeter (2), which the test forms open.
class ShellFormsTest : public test::StationTest {
 protected:
  void SetUp() override {
    StationTest::SetUp();
    counterLine_ = p_.rt.serial.attachMemory(1);
    p_.shell.OpaComPort = p_.shell.GasComPort = 2;
    p_.rt.serial.attachMemory(2);
  }
  // Shows `f` modally; `inside` runs in its modal loop and must close it.
  void Modal(plat::Form& f, std::function<void()> inside) {
    ui_.onModal(f, std::move(inside));
    f.Show(plat::ShowMode::Modal);
    EXPECT_FALSE(f.IsLoaded());
  }
  bool Saved(const std::string& line) const {
    return ReadConf().find(line + "\r\n") != std::string::npos;
  }
  // What the smoke test form does with an opacimeter error code.
  void ErrorCode(const char* code) {
    if (const auto alarm = ShowOpaErrorCode(p_.link, p_.shell, code)) p_.ShowOpaAlarm(*alarm);
  }
  Menu& m_ = p_.menu;
  RPM& rpm_ = p_.rpm;
  ANFUMO& anfumo_ = p_.anfumo;
  std::shared_ptr<plat::MemoryDevice> counterLine_;
};

// Old reading logs go from the program's folder only; a step that fails is skipped.
TEST_F(ShellFormsTest, StartLoadsTheStationSkippingWhatFailsAndBlinksEverySecond) {
  fs::create_directories(bin_ / "smoke.log" / "x");  // cannot be deleted
  plat::test::WriteBytes(bin_ / "gas.log", "x"), plat::test::WriteBytes(dir_ / "gas.log", "x");
  WriteConf(
      "\xff\xfe[LINGUA\r\nTLingua=abc\r\n[RPM]\r\nTCOMrpm=\x01\r\nExternRPM=1\r\n[UTENTE]\r\n"
      "Operatore=B\r\n[IMPOSTAZIONI]\r\nAbiM=\xff\r\nKquad=zz\r\n");
  Menu& m = Start();
  EXPECT_FALSE(fs::exists(bin_ / "gas.log"));
  EXPECT_TRUE(fs::exists(dir_ / "gas.log"));
  EXPECT_EQ(std::tie(p_.shell.OperatorName, p_.shell.ExternRpm), std::tuple("B", 1));
  std::string seen;
  for (int i = 0; i < 5; ++i, ui_.advance(1000)) seen += m.Picture1.Visible() ? '1' : '0';
  EXPECT_EQ(seen, "10101");
}

// A station whose "Lingua.ini" gives no texts: the operator is told once, naming the file,
// and the menus keep a caption.
TEST_F(ShellFormsTest, LanguageFileWithoutTextsIsToldOnceAndTheMenusStay) {
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
    EXPECT_THAT(ui.boxes()[0].text, AllOf(HasSubstr(c.told), HasSubstr(bin_ / "Lingua.ini")));
    EXPECT_EQ(std::tie(m.LabelTit.Caption(), m.UTILITY.Caption(), m.MISURAG.Caption()),
              std::tuple("", "MenùUtility", "ANFUMOMisura"));
  }
}

// Choosing a language writes its code at once (the shipped file re-saved as UTF-8 by an
// editor loads with no message). Esc and the close box write it again and end the program
// without running any other form's unload step.
class MenuLanguageAndEndTest : public ShellFormsTest,
                               public ::testing::WithParamInterface<const char*> {};

TEST_P(MenuLanguageAndEndTest, CodeWrittenAtOnceAndAtTheEnd) {
  const std::string cp1252 = plat::test::ReadBytes(dir_ / "Lingua.ini");
  plat::test::WriteBytes(dir_ / "Lingua.ini", plat::Cp1252ToUtf8(cp1252));
  Menu& m = Start();
  EXPECT_TRUE(ui_.boxes().empty());
  EXPECT_EQ(std::tie(m.UTILITY.Caption(), m.LINGUA.Caption()), std::tuple("&Utilità", "&Lingua"));
  ui_.ctrl(m, 'E');
  EXPECT_EQ(ReadConf(), "[LINGUA]\r\nTLingua=2\r\n");
  ui_.menu(m.LINGSPA);
  EXPECT_EQ(m.UTILITY.Caption(), "&Utilidades");
  int unloads = 0;
  p_.angas.addDiscardAction([&] { ++unloads; });
  ui_.fkey(m, 1);
  EXPECT_FALSE(ui_.ended());
  WriteConf("");  // whatever happened to the file meanwhile, the code is written at the end
  std::string(GetParam()) == "esc" ? ui_.esc(m) : ui_.close(m);
  EXPECT_TRUE(ui_.ended());
  EXPECT_EQ(ui_.exitCode(), 0);
  EXPECT_EQ(ReadConf(), "[LINGUA]\r\nTLingua=3\r\n");
  EXPECT_EQ(unloads, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, MenuLanguageAndEndTest, ::testing::Values("esc", "close"));

TEST_F(ShellFormsTest, SystemSetUpOpensOnlyBehindTheExactCode) {
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
TEST_F(ShellFormsTest, SystemSetUpFormSavesOnlyNumbers) {
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
      EXPECT_THAT(ui_.lastBox().text, HasSubstr(told));
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

// While one test form is open, the other test's button only brings it to the front. The
// engine-speed item shows its form modally and then closes the tests; during a test with an
// external counter it only brings that counter's form to the front.
TEST_F(ShellFormsTest, OnlyOneTestAtATimeAndTheEngineSpeedItem) {
  Start();
  ui_.onEveryModal(rpm_, [&] { ui_.close(rpm_); });
  ui_.click(m_.CmdAnGas);
  EXPECT_FALSE(m_.Timer1.Enabled());
  EXPECT_TRUE(p_.angas.Visible() && !p_.angas.modal() && !rpm_.IsLoaded());
  m_.ZOrder();
  ui_.click(m_.CmdAnFumo);
  EXPECT_FALSE(p_.anfumo.IsLoaded());
  EXPECT_EQ(std::tie(p_.link.GasFormActive, p_.link.OpaFormActive, p_.shell.ExclamStampaPending),
            std::tuple(1, 0, 0));
  EXPECT_EQ(p_.rt.forms.activeForm(), &p_.angas);
  ui_.click(m_.CmdRPM);
  EXPECT_EQ(Count("modal RPM"), 1);
  EXPECT_FALSE(p_.angas.IsLoaded());
  EXPECT_EQ(Count("unload ANFUMO"), 0);  // not loaded: stays unloaded
  EXPECT_TRUE(m_.Timer1.running());      // the test form's unload restarts the blink
  p_.shell.ExternRpm = 1;
  ui_.fkey(m_, 1), ui_.fkey(m_, 5);
  EXPECT_EQ(Count("modal RPM"), 1);
  EXPECT_EQ(rpm_.windowState(), plat::WindowState::Normal);
  EXPECT_EQ(p_.rt.forms.activeForm(), &rpm_);
  EXPECT_TRUE(p_.angas.IsLoaded());
  ui_.close(p_.angas);
  ui_.fkey(m_, 3), ui_.fkey(m_, 1);
  EXPECT_FALSE(p_.angas.IsLoaded());
  EXPECT_EQ(std::tie(p_.link.OpaFormActive, p_.shell.ExclamStampaPending), std::tuple(1, 1));
}

// With an external counter the engine-speed form opens first, minimised, and goes on
// polling behind the test.
TEST_F(ShellFormsTest, SmokeTestWithExternalCounterShowsTheEngineSpeedFormFirst) {
  Start();
  p_.shell.ExternOilTemp = 1;
  ui_.onModal(p_.exclamStampa, [&] { ui_.click(p_.exclamStampa.Command1); });  // start notice
  ui_.fkey(m_, 3);
  const auto& j = ui_.journal();
  EXPECT_LT(std::find(j.begin(), j.end(), "show RPM"),
            std::find(j.begin(), j.end(), "show ANFUMO"));
  EXPECT_EQ(rpm_.windowState(), plat::WindowState::Minimized);
  counterLine_->takeWritten();
  ui_.advance(300);
  EXPECT_NE(counterLine_->takeWritten(), "");
}

// The operator and ambient forms, from the menu, save through their button only; a failed
// save is told once, naming the file and the reason, and what was typed stays on screen.
TEST_F(ShellFormsTest, OperatorAndAmbientFormsSaveThroughTheirButtonOnly) {
  WriteConf("[UTENTE]\r\nOperatore=Rossi\r\n[AMBIENTE]\r\nPressione=101,3\r\n");
  UTENTE& user = p_.utente;
  DAMB& amb = p_.damb;
  ui_.onModal(user, [&] {
    EXPECT_EQ(user.Text1.Text(), "Rossi");
    ui_.type(user.Text1, "Neri"), ui_.close(user);
  });
  ui_.menu(Start().DVEIC);  // the operator form, not the vehicle form
  ui_.onModal(amb, [&] { ui_.type(amb.Text2, "ca. 99"), ui_.close(amb); });
  ui_.menu(m_.DAMBIENT);
  EXPECT_EQ(std::tuple(Count("modal UTENTE"), Count("modal DAMB"), Count("load DVeicoli")),
            std::tuple(1, 1, 0));
  EXPECT_EQ(std::tie(p_.shell.OperatorName, p_.shell.AmbientPressure),
            std::tuple("Rossi", "101,3"));
  Modal(user, [&] { ui_.type(user.Text1, "Neri"), ui_.esc(user); });  // Esc presses the button
  Modal(amb, [&] { ui_.type(amb.Text1, "-5.5 C"), ui_.enter(amb); });
  EXPECT_EQ(std::tie(p_.shell.OperatorName, p_.shell.AmbientTemperature),
            std::tuple("Neri", "-5.5 C"));
  EXPECT_TRUE(Saved("Operatore=Neri") && Saved("Ente=") && Saved("Temperatura=-5.5 C"));

  fs::remove(conf());
  fs::create_directory(conf());  // no file can be written there
  ui_.answerBox();
  Modal(user, [&] { ui_.type(user.Text1, "Bo"), ui_.type(user.Text2, "Verdi"), ui_.enter(user); });
  ASSERT_EQ(ui_.boxes().size(), 1u);  // one box for the three keys
  const std::string reason = std::make_error_code(std::errc::is_a_directory).message();
  EXPECT_THAT(ui_.boxes()[0].text, AllOf(HasSubstr(conf()), HasSubstr(reason)));
  EXPECT_EQ(p_.shell.OperatorName, "Bo");
}

// The vehicle form reads the file when it loads and saves by its close box and its button
// alike (closed by the gas test's button it saves too, tested there).
TEST_F(ShellFormsTest, VehicleFormReadsTheFileAndSavesHoweverItCloses) {
  WriteConf("[VEICOLO]\r\nTarga=AB123CD\r\n");
  p_.shell.VehiclePlate = "in memory only";
  DVeicoli& veh = p_.dveicoli;
  Modal(veh, [&] {
    EXPECT_EQ(veh.Text2.Text(), "AB123CD");
    ui_.type(veh.Text2, "ZZ999ZZ"), ui_.close(veh);
  });
  Modal(veh, [&] { ui_.type(veh.Text3, "VIN42"), ui_.click(veh.Command1); });
  EXPECT_TRUE(Saved("Targa=ZZ999ZZ") && Saved("Telaio=VIN42"));
}

// F2 and F4 open the set-up forms modally; the picture opens the about box, modeless and
// once, whose button starts the first system information program that starts.
TEST_F(ShellFormsTest, SetUpItemsAndTheAboutBox) {
  ui_.onModal(p_.ansu, [&] { ui_.esc(p_.ansu); });
  ui_.fkey(Start(), 2);
  EXPECT_TRUE(m_.Timer1.running());
  EXPECT_EQ(p_.rt.forms.loaded().size(), 1u);  // nothing else is left open
  ui_.onModal(p_.opasu, [&] { ui_.esc(p_.opasu); });
  ui_.fkey(m_, 4);
  EXPECT_EQ(std::tuple(Count("modal ANSU"), Count("modal OPASU")), std::tuple(1, 1));

  std::set<std::string> installed = {"kinfocenter", "gnome-system-monitor"};
  std::vector<std::string> started;
  p_.rt.app.setProgramStarter([&](const std::string& program, const std::vector<std::string>&) {
    if (!installed.count(program)) throw plat::RuntimeError(53, "File not found");
    started.push_back(program);
  });
  frmAbout& about = p_.about;
  ui_.click(m_.Image1), ui_.click(m_.Image1);
  EXPECT_TRUE(about.Visible() && !about.modal());
  EXPECT_EQ(Count("load frmAbout"), 1);
  ui_.click(about.cmdSysInfo);
  EXPECT_EQ(started, std::vector<std::string>{"kinfocenter"});
  installed.clear();
  ui_.answerBox();
  ui_.alt(about, 'S');
  EXPECT_EQ(ui_.lastBox().text, "Le informazioni sul sistema non sono attualmente disponibili.");
  ui_.esc(about);
  EXPECT_FALSE(about.IsLoaded());
}

// An opacimeter error stops the smoke test's requests while Critic shows it; closing the box
// resumes them and never opens a smoke test that was not open. A second error while the box
// is open replaces it, and the requests stay stopped until the operator closes that one.
TEST_F(ShellFormsTest, OpacimeterErrorStopsTheRequestsUntilCriticCloses) {
  Critic& critic = p_.critic;
  for (const bool smokeOpen : {false, true}) {
    if (smokeOpen) anfumo_.Show();
    ui_.onModal(critic, [&] { smokeOpen ? ui_.enter(critic) : ui_.close(critic); });
    ErrorCode("003");
    EXPECT_EQ(anfumo_.IsLoaded(), smokeOpen);
  }
  EXPECT_TRUE(anfumo_.Timer1.running());
  ui_.onModal(critic, [&] {
    ui_.onModal(critic, [&] {
      EXPECT_EQ(critic.Caption() + " " + critic.Label1.Caption(),
                "ERROR 7 TEMPERATURA TROPPO ALTA, SPENGERE OPACIMETRO");
      EXPECT_FALSE(anfumo_.Timer1.Enabled());
      ui_.click(critic.Command1);
    });
    ErrorCode("007");
  });
  ErrorCode("002");
  EXPECT_TRUE(anfumo_.Timer1.running());
  EXPECT_EQ(p_.rt.forms.modalDepth(), 0);
}

// A port hint shows ExclamStampa modeless; closing it restarts the smoke test's requests
// only when they are stopped, since restarting a running timer would delay its next tick.
TEST_F(ShellFormsTest, ExclamStampaLeavesARunningTimerAlone) {
  p_.link.ShowParseWarning = -1;
  p_.shell.LanguageCode = 2;
  p_.ShowPortHint(TakePortHint(p_.link, p_.shell, HintInstrument::Gas));
  EXPECT_TRUE(p_.exclamStampa.Visible() && !p_.exclamStampa.modal());
  EXPECT_EQ(p_.exclamStampa.Label1.Caption().rfind("CHOOSE", 0), 0u);
  ui_.close(p_.exclamStampa);
  anfumo_.Show();
  ui_.advance(10);
  p_.exclamStampa.Open(plat::ShowMode::Modeless);
  ui_.close(p_.exclamStampa);
  ui_.advance(15);  // a restarted timer would tick only at 35 ms
  EXPECT_EQ(anfumo_.SmokeTickCount, 1);
}

// Exclam's OK, not its close box, goes on to ExclamStampa when the lock states ask for it.
TEST_F(ShellFormsTest, ExclamChainsToExclamStampaOnTheLockStates) {
  const std::tuple<const char*, const char*, bool, bool> cases[] = {
      // status 1, status 2, closed by OK, chains
      {"00048", "00016", true, true},
      {"00016", "00000", true, true},
      {"00016", "00032", true, false},
      {"00048", "00000", false, false}};
  p_.shell.ExclamMessage = "fine serie", p_.shell.ExclamStampaMessage = "stampare";
  for (const auto& [status1, status2, byOk, chains] : cases) {
    p_.link.OpaLuStatus1 = status1, p_.link.OpaLuStatus2 = status2;
    p_.shell.ExclamPending = -1;
    ui_.clearJournal();
    ui_.onModal(p_.exclam, [&, ok = byOk] {
      EXPECT_EQ(p_.exclam.Label1.Caption(), "fine serie");
      ok ? ui_.click(p_.exclam.Command1) : ui_.close(p_.exclam);
    });
    if (chains) {
      ui_.onModal(p_.exclamStampa, [&] {
        EXPECT_FALSE(p_.exclam.IsLoaded());
        EXPECT_EQ(p_.exclamStampa.Label1.Caption(), "stampare");
        ui_.enter(p_.exclamStampa);
      });
    }
    p_.exclam.Open(plat::ShowMode::Modal);
    EXPECT_EQ(p_.shell.ExclamPending, 0);
    EXPECT_EQ(Count("modal ExclamStampa"), chains ? 1 : 0) << status1 << " " << status2;
  }
  EXPECT_FALSE(anfumo_.IsLoaded());  // closing a box never opens the smoke test
}

}  // namespace
}  // namespace vs
