// The data-entry dialogs (when each saves what was typed), the about box, and the three
// message boxes: the smoke test's request timer, the chain from Exclam to ExclamStampa and
// a box shown again while it is open.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "link/ReplyParsers.h"
#include "link/SmokeRpmReplies.h"
#include "platform/core/Error.h"
#include "shell/SettingsStore.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

class DialogsTest : public test::StationTest {
 protected:
  void SetUp() override {
    StationTest::SetUp();
    p_.shell.OpaComPort = 1;  // the smoke test form opens its port on a memory device
    p_.rt.serial.attachMemory(1);
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
  UTENTE& user_ = p_.utente;
  DAMB& amb_ = p_.damb;
  ANFUMO& anfumo_ = p_.anfumo;
};

TEST_F(DialogsTest, OperatorAndAmbientFormsSaveThroughTheirButtonOnly) {
  WriteConf("[UTENTE]\r\nOperatore=Rossi\r\n[AMBIENTE]\r\nPressione=101,3\r\n");
  LoadUserData(p_.shell, at());
  LoadAmbientData(p_.shell, at());
  Modal(user_, [&] {
    EXPECT_EQ(user_.Text1.Text(), "Rossi");
    ui_.type(user_.Text1, "Neri");
    ui_.close(user_);
  });
  Modal(amb_, [&] { ui_.type(amb_.Text2, "ca. 99"), ui_.close(amb_); });
  EXPECT_EQ(std::tie(p_.shell.OperatorName, p_.shell.AmbientPressure),
            std::tuple("Rossi", "101,3"));
  Modal(user_, [&] { ui_.type(user_.Text1, "Neri"), ui_.esc(user_); });  // Esc presses the button
  Modal(amb_, [&] { ui_.type(amb_.Text1, "-5.5 C"), ui_.enter(amb_); });
  EXPECT_EQ(std::tie(p_.shell.OperatorName, p_.shell.AmbientTemperature),
            std::tuple("Neri", "-5.5 C"));
  EXPECT_TRUE(Saved("Operatore=Neri") && Saved("Ente=") && Saved("Temperatura=-5.5 C"));
}

TEST_F(DialogsTest, FailedSaveIsToldOnceNamingTheFileAndTheReason) {
  std::filesystem::create_directory(conf());  // no file can be written there
  ui_.answerBox();
  Modal(user_, [&] {
    ui_.type(user_.Text1, "Neri");
    ui_.type(user_.Text2, "Verdi");
    ui_.enter(user_);
  });
  ASSERT_EQ(ui_.boxes().size(), 1u);  // one box for the three keys
  const std::string& told = ui_.boxes()[0].text;
  EXPECT_NE(told.find(conf().string()), std::string::npos) << told;
  EXPECT_NE(told.find(std::make_error_code(std::errc::is_a_directory).message()), std::string::npos)
      << told;
  EXPECT_EQ(p_.shell.OperatorName, "Neri");  // what was typed stays on screen
}

TEST_F(DialogsTest, VehicleFormReadsTheFileAndSavesHoweverItCloses) {
  WriteConf("[VEICOLO]\r\nTarga=AB123CD\r\n");
  p_.shell.VehiclePlate = "in memory only";
  DVeicoli& veh = p_.dveicoli;
  Modal(veh, [&] {
    EXPECT_EQ(veh.Text2.Text(), "AB123CD");
    ui_.type(veh.Text2, "ZZ999ZZ");
    ui_.close(veh);
  });
  EXPECT_EQ(p_.shell.VehiclePlate, "ZZ999ZZ");
  veh.Show();  // modeless, closed by the form that opened it
  ui_.type(veh.Text1, "Lancia");
  veh.Unload();
  Modal(veh, [&] { ui_.type(veh.Text3, "VIN42"), ui_.click(veh.Command1); });
  EXPECT_TRUE(Saved("Targa=ZZ999ZZ") && Saved("FeT=Lancia") && Saved("Telaio=VIN42"));
}

TEST_F(DialogsTest, AboutShowsTheVersionAndStartsTheFirstSystemInformationProgramThatStarts) {
  std::set<std::string> installed = {"kinfocenter", "gnome-system-monitor"};
  std::vector<std::string> started;
  p_.rt.app.setProgramStarter([&](const std::string& program, const std::vector<std::string>&) {
    if (!installed.count(program)) throw plat::RuntimeError(53, "File not found");
    started.push_back(program);
  });
  p_.rt.version = {1, 7, 7};
  frmAbout& about = p_.about;
  about.Show();
  EXPECT_EQ(about.lblVersion.Caption(), "Ver. 1.7.7");
  ui_.click(about.cmdSysInfo);
  EXPECT_EQ(started, std::vector<std::string>{"kinfocenter"});
  installed.clear();
  ui_.answerBox();
  ui_.alt(about, 'S');
  EXPECT_EQ(ui_.lastBox().text, "Le informazioni sul sistema non sono attualmente disponibili.");
  EXPECT_TRUE(about.Visible());
  ui_.esc(about);
  EXPECT_FALSE(about.IsLoaded());
}

// An opacimeter error stops the smoke test's requests while Critic shows it; closing the box
// resumes them and never opens a smoke test that was not open. A second error while the box
// is open replaces it, and the requests stay stopped until the operator closes that one.
TEST_F(DialogsTest, OpacimeterErrorStopsTheRequestsUntilCriticCloses) {
  Critic& critic = p_.critic;
  for (const bool smokeOpen : {false, true}) {
    if (smokeOpen) anfumo_.Show();
    ui_.onModal(critic, [&] {
      EXPECT_EQ(std::tie(critic.Caption(), critic.Label1.Caption()),
                std::tuple("ERROR 3", "SPENGERE OPACIMETRO"));
      smokeOpen ? ui_.enter(critic) : ui_.close(critic);
    });
    ErrorCode("003");
    EXPECT_EQ(anfumo_.IsLoaded(), smokeOpen);
  }
  EXPECT_TRUE(anfumo_.Timer1.running());
  ui_.onModal(critic, [&] {
    ui_.onModal(critic, [&] {
      EXPECT_EQ(critic.Caption(), "ERROR 7");
      EXPECT_FALSE(anfumo_.Timer1.Enabled());
      ui_.click(critic.Command1);
    });
    ErrorCode("007");
  });
  ErrorCode("002");
  EXPECT_TRUE(anfumo_.Timer1.running());
  EXPECT_EQ(p_.rt.forms.modalDepth(), 0);
}

TEST_F(DialogsTest, ExclamStampaShownAgainShowsTheNewTextAndLeavesARunningTimerAlone) {
  for (const int language : {1, 2}) {  // a port hint of the gas parser, modeless
    p_.link.ShowParseWarning = -1;
    p_.shell.LanguageCode = static_cast<std::int16_t>(language);
    p_.ShowPortHint(TakePortHint(p_.link, p_.shell, HintInstrument::Gas));
  }
  EXPECT_TRUE(p_.exclamStampa.Visible());
  EXPECT_EQ(p_.exclamStampa.Label1.Caption().rfind("CHOOSE", 0), 0u);
  EXPECT_EQ(Count("load ExclamStampa"), 2);
  ui_.close(p_.exclamStampa);

  anfumo_.Show();
  ui_.advance(10);
  p_.exclamStampa.Open(plat::ShowMode::Modeless);
  ui_.close(p_.exclamStampa);
  ui_.advance(15);  // a restarted timer would tick only at 35 ms
  EXPECT_EQ(anfumo_.SmokeTickCount, 1);
}

TEST_F(DialogsTest, ExclamChainsToExclamStampaOnTheLockStates) {
  const struct {
    const char *status1, *status2;
    bool byOk, chains;
  } cases[] = {{"00048", "00016", true, true},
               {"00016", "00000", true, true},
               {"00016", "00032", true, false},
               {"00048", "00000", false, false}};
  for (const auto& c : cases) {
    p_.link.OpaLuStatus1 = c.status1, p_.link.OpaLuStatus2 = c.status2;
    p_.shell.ExclamPending = -1;
    p_.shell.ExclamMessage = "fine serie", p_.shell.ExclamStampaMessage = "stampare";
    ui_.clearJournal();
    ui_.onModal(p_.exclam, [&] {
      EXPECT_EQ(p_.exclam.Label1.Caption(), "fine serie");
      c.byOk ? ui_.click(p_.exclam.Command1) : ui_.close(p_.exclam);
    });
    if (c.chains) {
      ui_.onModal(p_.exclamStampa, [&] {
        EXPECT_FALSE(p_.exclam.IsLoaded());
        EXPECT_EQ(p_.exclamStampa.Label1.Caption(), "stampare");
        ui_.enter(p_.exclamStampa);
      });
    }
    p_.exclam.Open(plat::ShowMode::Modal);
    EXPECT_EQ(p_.shell.ExclamPending, 0);
    EXPECT_EQ(Count("modal ExclamStampa"), c.chains ? 1 : 0) << c.status1 << " " << c.status2;
  }
  EXPECT_FALSE(anfumo_.IsLoaded());  // closing a box never opens the smoke test
}

}  // namespace
}  // namespace vs
