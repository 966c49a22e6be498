// The shell's forms: the start menu and what it opens, the data-entry dialogs, the about box
// and the three message boxes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>
#include <vector>

#include "link/ReplyParsers.h"
#include "link/SmokeRpmReplies.h"
#include "platform/core/Error.h"
#include "platform/serial/MemoryDevice.h"
#include "platform/text/Cp1252.h"
#include "shell/LanguageKeys.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

// Memory ports for the engine-speed counter (1) and the gas analyser and opacimeter (2).
class ShellFormsTest : public test::StationTest {
 protected:
  void SetUp() override {
    StationTest::SetUp();
    counterLine_ = p_.rt.serial.attachMemory(p_.shell.RpmComPort = 1);
    p_.rt.serial.attachMemory(p_.shell.OpaComPort = p_.shell.GasComPort = 2);
  }
  // Shows `f` modally; `inside` runs in its modal loop and must close it.
  void Modal(plat::Form& f, std::function<void()> inside) {
    ui_.onModal(f, std::move(inside));
    f.Show(plat::ShowMode::Modal);
    EXPECT_FALSE(f.IsLoaded());
  }
  Menu& m_ = p_.menu;
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
  std::string seen;
  for (int i = 0; i < 5; ++i, ui_.advance(1000)) seen += m.Picture1.Visible() ? '1' : '0';
  EXPECT_EQ(std::tuple(fs::exists(bin_ / "gas.log"), fs::exists(dir_ / "gas.log"),
                       p_.shell.OperatorName, p_.shell.ExternRpm, seen),
            std::tuple(false, true, "B", 1, "10101"));
}

// No texts from "Lingua.ini": told once, naming the file, and the menus keep a caption.
TEST_F(ShellFormsTest, LanguageFileWithoutTextsIsToldOnceAndTheMenusStay) {
  for (const std::string lingua :  // "": no file
       {"", "\x01garbage\xff\r\n=x\r\n[INGLESE]\r\nMen\xF9Lingua=&Language\r\n"}) {
    Program bare(plat::EventLoop::ClockKind::Manual);  // no Conf.ini
    bare.rt.currentDirectory = bin_;
    if (!lingua.empty()) plat::test::WriteBytes(bin_ / "Lingua.ini", lingua);
    plat::test::FormDriver ui(bare.rt);
    ui.answerBox();
    const Menu& m = (bare.menu.Show(), bare.menu);
    ASSERT_EQ(ui.boxes().size(), 1u);
    const char* told = lingua.empty() ? "mancante" : "Nessun testo della lingua ITALIANO";
    EXPECT_THAT(ui.boxes()[0].text, AllOf(HasSubstr(told), HasSubstr(bin_ / "Lingua.ini")));
    EXPECT_EQ(
        std::tuple(m.Visible(), m.LabelTit.Caption(), m.UTILITY.Caption(), m.MISURAG.Caption()),
        std::tuple(true, "", "MenùUtility", "ANFUMOMisura"));
  }
}

// Screen texts that the chosen language misses are told in one box, at start and at each
// language change that misses some; a whole section loads without one.
TEST_F(ShellFormsTest, MissingScreenTextsAreToldAtStartAndAtEachLanguageChange) {
  // The shipped file without 61 English keys (1, 3, ..., 121).
  std::set<std::string> dropped;
  for (std::size_t k = 1; k < 122; k += 2)
    dropped.insert(plat::Utf8ToCp1252(std::string(lang::kKeys[k])));
  const std::string shipped = plat::test::ReadBytes(dir_ / "Lingua.ini");
  std::string lingua, section;
  for (std::size_t at = 0, next; at < shipped.size(); at = next) {
    next = std::min(shipped.find('\n', at), shipped.size() - 1) + 1;
    const std::string line = shipped.substr(at, next - at);
    if (line.starts_with("[")) section = line.substr(0, line.find(']') + 1);
    if (section != "[INGLESE]" || !dropped.contains(line.substr(0, line.find('=')))) lingua += line;
  }
  plat::test::WriteBytes(dir_ / "Lingua.ini", lingua);
  WriteConf("[LINGUA]\r\nTLingua=2\r\n");
  ui_.answerBox();
  Menu& m = Start();
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_THAT(ui_.lastBox().text, AllOf(HasSubstr("61 of the 167 texts"), HasSubstr("INGLESE"),
                                        HasSubstr((dir_ / "Lingua.ini").string())));
  EXPECT_EQ(m.LabelTit.Caption(), "GAS AND SMOKE ANALYSIS");  // the texts found are shown
  ui_.ctrl(m, 'S'), ui_.ctrl(m, 'I');                         // whole sections: no box
  ui_.answerBox();
  ui_.ctrl(m, 'E');
  EXPECT_EQ(std::tuple(ui_.boxes().size(), ui_.lastBox().text.substr(0, 19)),
            std::tuple(2u, "61 of the 167 texts"));
}

// The program's own messages follow the language the operator chose: each, reached as the
// operator reaches it, holds no Italian sentence in English or Spanish and names its field or
// its file.
TEST_F(ShellFormsTest, ProgramMessagesSpeakTheChosenLanguageAndNameTheirFieldOrFile) {
  Menu& m = Start();
  const fs::path lingua = dir_ / "Lingua.ini", reportLog = bin_ / "report.log";
  const std::string shipped = plat::test::ReadBytes(lingua);
  const auto& t = p_.shell.LangText;
  // Shows `f` modally, does `act` there and closes it by its close box.
  const auto inForm = [&](plat::Form& f, std::function<void()> act) {
    return [&f, act, this] {
      ui_.onModal(f, [&f, act, this] { act(), ui_.close(f); });
      f.Show(plat::ShowMode::Modal);
    };
  };
  // A Lingua.ini whose two other languages lack every third text.
  std::string thinned;
  for (const char* section : {"INGLESE", "SPAGNOLO"}) {
    thinned += "[" + std::string(section) + "]\r\n";
    for (std::size_t k = 1; k < lang::kCount; ++k)
      if (k % 3 != 0) thinned += plat::Utf8ToCp1252(std::string(lang::kKeys[k])) + "=x\r\n";
  }
  using Names = std::vector<std::string>;
  struct Family {
    std::string name;
    std::function<void()> before, after;  // around the operator's choice of language
    std::function<Names()> named;         // what the message names
  };
  const auto nothing = [] {};
  const Family families[] = {
      {"gas limit not a number", nothing,
       inForm(p_.limitian,
              [&] { ui_.type(p_.limitian.Text1, "abc"), ui_.click(p_.limitian.CmdApl); }),
       [] {
         return Names{"RPMmin", "\"abc\""};
       }},
      {"gas test duration too long", nothing,
       inForm(p_.limitian,
              [&] { ui_.type(p_.limitian.Text8, "820"), ui_.click(p_.limitian.CmdApl); }),
       [&] {
         return Names{t[lang::LIMITIANDProva], "819"};
       }},
      {"smoke limit not valid", nothing,
       inForm(p_.limiti, [&] { ui_.type(p_.limiti.Text3, "abc"), ui_.enter(p_.limiti); }),
       [&] {
         return Names{t[lang::LIMITISOp], "\"abc\""};
       }},
      {"system set-up not numeric", nothing,
       inForm(p_.sysSetUp,
              [&] { ui_.type(p_.sysSetUp.TKquad, "abc"), ui_.click(p_.sysSetUp.CSalva); }),
       [] { return Names{"Kquad"}; }},
      {"settings not saved", nothing,
       [&] {
         fs::remove(conf()), fs::create_directory(conf());  // no file can be written there
         ui_.onModal(p_.utente, [&] { ui_.enter(p_.utente); });
         ui_.menu(m.DVEIC);
         fs::remove(conf());
       },
       [&] { return Names{conf().string()}; }},
      {"report.log not written", [&] { fs::create_directory(reportLog); },
       [&] {
         ui_.onModal(p_.stampaOpaB, [&] { ui_.esc(p_.stampaOpaB); });
         p_.stampaOpaB.Show(plat::ShowMode::Modal);
         fs::remove(reportLog);
       },
       [&] { return Names{reportLog.string()}; }},
      {"language file missing", [&] { fs::remove(lingua); }, nothing,
       [&] { return Names{lingua.string()}; }},
      {"language section empty",
       [&] { plat::test::WriteBytes(lingua, "[ITALIANO]\r\nMen\xF9titolo=x\r\n"); }, nothing,
       [&] {
         return Names{lingua.string(), p_.shell.LanguageCode == 2 ? "INGLESE" : "SPAGNOLO"};
       }},
      {"language texts missing", [&] { plat::test::WriteBytes(lingua, thinned); }, nothing,
       [&] {
         return Names{lingua.string(), "56", "167"};
       }},
  };
  // Words of the Italian messages that neither other language uses.
  const char* italian[] = {"non ",    " è ",      "numero",  "numerico", "valore",
                           "massimo", "scritto",  "salvate", "mancante", "Nessun",
                           "Mancano", "nel file", "Errore",  "I menu"};
  for (const Family& f : families) {
    for (const char key : {'E', 'S'}) {
      SCOPED_TRACE(f.name + " " + key);
      ui_.clearBoxes();
      ui_.answerBox();
      f.before();
      ui_.ctrl(m, key);  // the language is chosen, its texts loaded
      f.after();
      ASSERT_EQ(ui_.boxes().size(), 1u);
      const std::string& told = ui_.lastBox().text;
      for (const char* word : italian) EXPECT_THAT(told, Not(HasSubstr(word)));
      for (const std::string& name : f.named()) EXPECT_THAT(told, HasSubstr(name));
      plat::test::WriteBytes(lingua, shipped);
    }
  }
}

// A language chosen is written at once (the shipped file re-saved as UTF-8 loads silently);
// Esc and the close box write it again and end the program without other forms' unload steps.
class MenuLanguageAndEndTest : public ShellFormsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MenuLanguageAndEndTest, CodeWrittenAtOnceAndAtTheEnd) {
  const std::string cp1252 = plat::test::ReadBytes(dir_ / "Lingua.ini");
  plat::test::WriteBytes(dir_ / "Lingua.ini", plat::Cp1252ToUtf8(cp1252));
  Menu& m = Start();
  EXPECT_EQ(std::tuple(ui_.boxes().size(), m.UTILITY.Caption(), m.LINGUA.Caption()),
            std::tuple(0u, "&Utilità", "&Lingua"));
  ui_.ctrl(m, 'E');
  EXPECT_EQ(ReadConf(), "[LINGUA]\r\nTLingua=2\r\n");
  int unloads = 0;
  p_.angas.addDiscardAction([&] { ++unloads; });
  ui_.fkey(m, 1), ui_.menu(m.LINGSPA);
  EXPECT_EQ(std::tuple(m.UTILITY.Caption(), ui_.ended()), std::tuple("&Utilidades", false));
  WriteConf("");  // whatever happened to the file meanwhile, the code is written at the end
  GetParam() ? ui_.esc(m) : ui_.close(m);
  EXPECT_EQ(std::tuple(ui_.ended(), ui_.exitCode(), ReadConf(), unloads),
            std::tuple(true, 0, "[LINGUA]\r\nTLingua=3\r\n", 0));
}

INSTANTIATE_TEST_SUITE_P(EscOrCloseBox, MenuLanguageAndEndTest, ::testing::Bool());

// A wrong code, or the close box even right after the right code, is told; a cancel is not.
TEST_F(ShellFormsTest, SystemSetUpOpensOnlyBehindTheExactCode) {
  Menu& m = Start();
  Password& pw = p_.password;
  ui_.onEveryModal(p_.sysSetUp, [&] { ui_.click(p_.sysSetUp.CAnnulla); });
  ui_.answerEveryBox(plat::MsgBoxResult::OK);
  std::string opened;
  for (const std::string code :
       {"PELTO", "close", "pelto", " PELTO", "PELTO ", "PELT", "", "cancel"}) {
    ui_.onModal(pw, [&] {
      code == "close"    ? ui_.close(pw)
      : code == "cancel" ? ui_.click(pw.Annulla)
                         : (ui_.type(pw.Text1, code), ui_.enter(pw));
    });
    ui_.clearJournal();
    ui_.menu(m.SYSSU);
    opened += std::to_string(Count("modal SYS_SET_UP"));
  }
  EXPECT_EQ(std::tuple(opened, ui_.boxes().size(), ui_.lastBox().text),
            std::tuple("10000000", 6u, "Password non Valida"));
}

// Salva keeps the coefficients only when both are numbers; a grey box counts as not checked.
TEST_F(ShellFormsTest, SystemSetUpFormSavesOnlyNumbers) {
  ShellState& s = p_.shell;
  const auto options = [&] { return std::tuple(int{s.SystemEnableMask}, s.GasKquad, s.GasKlin); };
  SYS_SET_UP& f = p_.sysSetUp;
  p_.rt.regional = plat::RegionalSettings::Italian();
  ui_.answerEveryBox(plat::MsgBoxResult::OK);
  Modal(f, [&] {
    for (plat::CheckBox* box : {&f.CkAbilOpa, &f.CkAbilKymra, &f.CkAbilTt}) ui_.click(*box);
    ui_.type(f.TKlin, "0,009"), ui_.enter(f);  // CSalva is the default button
  });
  // Each Windows-1252 byte XOR 0xA7; the mask is followed by "Vrin".
  const std::string saved =
      "[IMPOSTAZIONI]\r\nAbiM=\x90\xF1\xD5\xCE\xC9\r\nKquad=\x96\xE2\x8A\x97\x9E\r\n"
      "Klin=\x97\x8B\x97\x97\x9E\r\n";
  EXPECT_EQ(std::tuple(options(), ReadConf()), std::tuple(std::tuple(7, 1E-09, 0.009), saved));
  Modal(f, [&] {
    EXPECT_EQ(std::tuple(f.CkAbilOpa.Value(), f.CkAbilKymra.Value(), f.CkAbilTt.Value(),
                         f.TKquad.Text(), f.TKlin.Text()),
              std::tuple(1, 1, 1, "1E-09", "0,009"));
    f.CkAbilKymra.setValue(plat::CheckBox::kGrayed);
    std::string told;
    for (const auto& [kquad, klin] : {std::pair("3E-09", "0.5.1"), std::pair("", "0,02")}) {
      ui_.type(f.TKquad, kquad), ui_.type(f.TKlin, klin), ui_.click(f.CSalva);
      told += ui_.lastBox().text + " ";
    }
    EXPECT_EQ(std::tuple(told, f.Visible(), f.TKquad.hasFocus(), options(), ReadConf()),
              std::tuple("Klin: valore non numerico. Kquad: valore non numerico. ", true, true,
                         std::tuple(7, 1E-09, 0.009), saved));
    ui_.type(f.TKquad, "2E-09"), ui_.click(f.CSalva);
  });
  EXPECT_EQ(options(), std::tuple(5, 2E-09, 0.02));
}

// One test at a time; the engine-speed item shows its form modally, then closes the tests. An
// external counter's form opens first, minimised and polling, and the item only raises it.
TEST_F(ShellFormsTest, OnlyOneTestAtATimeAndTheEngineSpeedForm) {
  RPM& rpm = p_.rpm;
  ui_.onEveryModal(rpm, [&] { ui_.close(rpm); });
  ui_.onModal(p_.exclamStampa, [&] { ui_.click(p_.exclamStampa.Command1); });  // start notice
  ui_.click(Start().CmdAnGas);
  EXPECT_TRUE(!m_.Timer1.Enabled() && p_.angas.Visible() && !p_.angas.modal() && !rpm.IsLoaded());
  m_.ZOrder();
  ui_.click(m_.CmdAnFumo);
  EXPECT_EQ(std::tuple(p_.anfumo.IsLoaded(), p_.rt.forms.activeForm(), p_.link.GasFormActive,
                       p_.link.OpaFormActive, p_.shell.ExclamStampaPending),
            std::tuple(false, &p_.angas, 1, 0, 0));
  // The gas test is unloaded and restarts the blink; the smoke test, not loaded, stays so.
  ui_.click(m_.CmdRPM);
  EXPECT_EQ(std::tuple(Count("modal RPM"), p_.angas.IsLoaded(), Count("unload ANFUMO"),
                       m_.Timer1.running()),
            std::tuple(1, false, 0, true));
  p_.shell.ExternRpm = 1;
  ui_.fkey(m_, 1), ui_.fkey(m_, 5);
  EXPECT_EQ(std::tuple(Count("modal RPM"), rpm.windowState(), p_.rt.forms.activeForm(),
                       p_.angas.IsLoaded()),
            std::tuple(1, plat::WindowState::Normal, &rpm, true));
  ui_.close(p_.angas);
  p_.shell.ExternRpm = 0, p_.shell.ExternOilTemp = 1;
  ui_.clearJournal();
  ui_.fkey(m_, 3), ui_.fkey(m_, 1);
  EXPECT_LT(std::ranges::find(ui_.journal(), "show RPM"),
            std::ranges::find(ui_.journal(), "show ANFUMO"));
  EXPECT_EQ(std::tuple(rpm.windowState(), p_.angas.IsLoaded(), p_.link.OpaFormActive,
                       p_.shell.ExclamStampaPending),
            std::tuple(plat::WindowState::Minimized, false, 1, 1));
  counterLine_->takeWritten(), ui_.advance(300);
  EXPECT_NE(counterLine_->takeWritten(), "");
}

// Saved by button, Esc or close box as each form allows (the vehicle form reads the file); a
// failed save is told once, naming the file and the reason, and what was typed stays.
TEST_F(ShellFormsTest, DataFormsSaveAsTheyCloseAndTellAFailedSaveOnce) {
  WriteConf(
      "[UTENTE]\r\nOperatore=Rossi\r\n[AMBIENTE]\r\nPressione=101,3\r\n[VEICOLO]\r\n"
      "Targa=AB123CD\r\n");
  UTENTE& user = p_.utente;
  DAMB& amb = p_.damb;
  DVeicoli& veh = p_.dveicoli;
  ui_.onModal(user, [&] {
    EXPECT_EQ(user.Text1.Text(), "Rossi");
    ui_.type(user.Text1, "Neri"), ui_.close(user);
  });
  ui_.menu(Start().DVEIC);  // the operator form, not the vehicle form
  ui_.onModal(amb, [&] { ui_.type(amb.Text2, "ca. 99"), ui_.close(amb); });
  ui_.menu(m_.DAMBIENT);
  EXPECT_EQ(std::tuple(Count("modal UTENTE"), Count("modal DAMB"), Count("load DVeicoli"),
                       p_.shell.OperatorName, p_.shell.AmbientPressure),
            std::tuple(1, 1, 0, "Rossi", "101,3"));
  Modal(user, [&] { ui_.type(user.Text1, "Neri"), ui_.esc(user); });  // Esc presses the button
  Modal(amb, [&] {
    // Each row's unit beside its box.
    for (auto [box, unit, text] : {std::tuple(&amb.Text1, &amb.Label4, "°C"),
                                   {&amb.Text2, &amb.Label5, "kPa"},
                                   {&amb.Text3, &amb.Label6, "%"}}) {
      EXPECT_EQ(std::tuple(unit->Caption(), unit->Visible(), unit->Top(),
                           unit->Left() >= box->Left() + box->Width()),
                std::tuple(text, true, box->Top(), true));
    }
    ui_.type(amb.Text1, "-5.5 C"), ui_.enter(amb);
  });
  p_.shell.VehiclePlate = "in memory only";
  Modal(veh, [&] {
    EXPECT_EQ(veh.Text2.Text(), "AB123CD");
    ui_.type(veh.Text2, "ZZ999ZZ"), ui_.close(veh);
  });
  Modal(veh, [&] { ui_.type(veh.Text3, "VIN42"), ui_.click(veh.Command1); });
  EXPECT_EQ(
      std::tuple(p_.shell.OperatorName, p_.shell.AmbientTemperature, ReadConf()),
      std::tuple("Neri", "-5.5 C",
                 "[UTENTE]\r\nOperatore=Neri\r\nResponsabileTecn=\r\nEnte=\r\n[AMBIENTE]\r\n"
                 "Pressione=101,3\r\nTemperatura=-5.5 C\r\nUmidit\xE0Relativa=\r\n[VEICOLO]\r\n"
                 "Targa=ZZ999ZZ\r\nFeT=\r\nTelaio=VIN42\r\nAnno=\r\nMod=\r\n"));

  fs::remove(conf()), fs::create_directory(conf());  // no file can be written there
  ui_.answerBox();
  Modal(user, [&] { ui_.type(user.Text1, "Bo"), ui_.type(user.Text2, "Verdi"), ui_.enter(user); });
  ASSERT_EQ(ui_.boxes().size(), 1u);  // one box for the three keys
  EXPECT_THAT(ui_.boxes()[0].text,
              AllOf(HasSubstr(conf()),
                    HasSubstr(std::make_error_code(std::errc::is_a_directory).message())));
  EXPECT_EQ(p_.shell.OperatorName, "Bo");
}

// F2 and F4 open the set-up forms modally; the picture opens the about box, modeless and
// once, whose button starts the first system information program that starts.
TEST_F(ShellFormsTest, SetUpItemsAndTheAboutBox) {
  ui_.onModal(p_.ansu, [&] { ui_.esc(p_.ansu); });
  ui_.onModal(p_.opasu, [&] { ui_.esc(p_.opasu); });
  ui_.fkey(Start(), 2);
  EXPECT_TRUE(m_.Timer1.running() && p_.rt.forms.loaded().size() == 1u);  // nothing else open
  ui_.fkey(m_, 4);
  EXPECT_EQ(std::tuple(Count("modal ANSU"), Count("modal OPASU")), std::tuple(1, 1));

  std::set<std::string> installed = {"kinfocenter", "gnome-system-monitor"};
  std::vector<std::string> started;
  p_.rt.app.setProgramStarter([&](const std::string& program, const std::vector<std::string>&) {
    if (!installed.count(program)) throw plat::RuntimeError(53, "File not found");
    started.push_back(program);
  });
  ui_.click(m_.Image1), ui_.click(m_.Image1);
  EXPECT_TRUE(p_.about.Visible() && !p_.about.modal() && Count("load frmAbout") == 1);
  ui_.click(p_.about.cmdSysInfo);
  EXPECT_EQ(started, std::vector<std::string>{"kinfocenter"});
  installed.clear(), ui_.answerBox(), ui_.alt(p_.about, 'S');
  EXPECT_EQ(ui_.lastBox().text, "Le informazioni sul sistema non sono attualmente disponibili.");
  ui_.esc(p_.about);
  EXPECT_FALSE(p_.about.IsLoaded());
}

// Critic stops the smoke test's requests until closed, never opening a smoke test; a second
// error replaces the open box, and the requests stay stopped until that one is closed.
TEST_F(ShellFormsTest, OpacimeterErrorStopsTheRequestsUntilCriticCloses) {
  Critic& critic = p_.critic;
  ANFUMO& smoke = p_.anfumo;
  const auto errorCode = [&](const char* code) {  // as the smoke test form does
    if (const auto alarm = ShowOpaErrorCode(p_.link, p_.shell, code)) p_.ShowOpaAlarm(*alarm);
  };
  for (const bool smokeOpen : {false, true}) {
    if (smokeOpen) smoke.Show();
    ui_.onModal(critic, [&] { smokeOpen ? ui_.enter(critic) : ui_.close(critic); });
    errorCode("003");
    EXPECT_EQ(smoke.IsLoaded(), smokeOpen);
  }
  EXPECT_TRUE(smoke.Timer1.running());
  ui_.onModal(critic, [&] {
    ui_.onModal(critic, [&] {
      EXPECT_EQ(
          std::tuple(critic.Caption() + " " + critic.Label1.Caption(), smoke.Timer1.Enabled()),
          std::tuple("ERROR 7 TEMPERATURA TROPPO ALTA, SPENGERE OPACIMETRO", false));
      ui_.click(critic.Command1);
    });
    errorCode("007");
  });
  errorCode("002");
  EXPECT_TRUE(smoke.Timer1.running() && p_.rt.forms.modalDepth() == 0);
}

// Exclam's OK goes on to ExclamStampa on the lock states; a port hint shows ExclamStampa
// modeless, and closing it restarts only stopped requests (a restart would delay a tick).
TEST_F(ShellFormsTest, ExclamChainsOnTheLockStatesAndExclamStampaLeavesARunningTimerAlone) {
  const std::tuple<const char*, const char*, bool, bool> cases[] = {
      // status 1, status 2, closed by OK, chains
      {"00048", "00016", true, true},
      {"00016", "00000", true, true},
      {"00016", "00032", true, false},
      {"00048", "00000", false, false}};
  bool byOk = false;
  ui_.onEveryModal(p_.exclam, [&] { byOk ? ui_.click(p_.exclam.Command1) : ui_.close(p_.exclam); });
  ui_.onEveryModal(p_.exclamStampa, [&] {
    EXPECT_FALSE(p_.exclam.IsLoaded());
    ui_.enter(p_.exclamStampa);
  });
  for (const auto& [status1, status2, ok, chains] : cases) {
    p_.link.OpaLuStatus1 = status1, p_.link.OpaLuStatus2 = status2, byOk = ok;
    p_.shell.ExclamPending = -1, ui_.clearJournal();
    p_.exclam.Open(plat::ShowMode::Modal);
    EXPECT_EQ(std::tuple(p_.shell.ExclamPending, Count("modal ExclamStampa")),
              std::tuple(0, chains ? 1 : 0))
        << status1 << " " << status2;
  }
  p_.link.ShowParseWarning = -1, p_.shell.LanguageCode = 2;
  p_.ShowPortHint(TakePortHint(p_.link, p_.shell, HintInstrument::Gas));
  EXPECT_TRUE(p_.exclamStampa.Visible() && !p_.exclamStampa.modal());
  EXPECT_EQ(p_.exclamStampa.Label1.Caption().rfind("CHOOSE", 0), 0u);
  ui_.close(p_.exclamStampa);
  EXPECT_FALSE(p_.anfumo.IsLoaded());
  p_.anfumo.Show();
  ui_.advance(10);
  p_.exclamStampa.Open(plat::ShowMode::Modeless);
  ui_.close(p_.exclamStampa);
  ui_.advance(15);  // a restarted timer would tick only at 35 ms
  EXPECT_EQ(p_.anfumo.SmokeTickCount, 1);
}

}  // namespace
}  // namespace vs
