// The data-entry dialogs (what each shows, and when it saves what was typed) and the about
// box (its texts, its keys and the system-information button).
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "platform/core/Error.h"
#include "shell/LanguageTable.h"
#include "shell/SettingsStore.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

class DialogsTest : public test::StationTest {
 protected:
  void SetUp() override {
    StationTest::SetUp();
    WriteConf(
        "[VEICOLO]\r\nFeT=Fiat\r\nTarga=AB123CD\r\n[UTENTE]\r\nOperatore=Rossi\r\n"
        "[AMBIENTE]\r\nPressione=101,3\r\n");
    LoadUserData(p_.shell, at());
    LoadAmbientData(p_.shell, at());
    LoadLanguageTexts(p_.shell, dir_.path(), 2);
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
  DVeicoli& veh_ = p_.dveicoli;
  UTENTE& user_ = p_.utente;
  DAMB& amb_ = p_.damb;
};

TEST_F(DialogsTest, OperatorAndAmbientFormsSaveThroughTheirButtonOnly) {
  Modal(user_, [&] {
    EXPECT_EQ(user_.Label3.Caption(), "Testing body");
    EXPECT_EQ(user_.Text1.Text(), "Rossi");
    ui_.type(user_.Text1, "Neri");
    ui_.close(user_);
  });
  EXPECT_EQ(p_.shell.OperatorName, "Rossi");
  Modal(user_, [&] {
    ui_.type(user_.Text1, "Neri");
    ui_.esc(user_);  // Esc presses the button
  });
  EXPECT_EQ(p_.shell.OperatorName, "Neri");
  EXPECT_TRUE(Saved("Operatore=Neri"));
  EXPECT_TRUE(Saved("Ente="));  // empty boxes are saved empty

  Modal(amb_, [&] {
    EXPECT_EQ(amb_.Label5.Caption(), "kPa");
    ui_.type(amb_.Text2, "ca. 99");
    ui_.close(amb_);
  });
  EXPECT_EQ(p_.shell.AmbientPressure, "101,3");
  Modal(amb_, [&] {
    ui_.type(amb_.Text1, "-5.5 C");
    ui_.enter(amb_);
  });
  EXPECT_EQ(p_.shell.AmbientTemperature, "-5.5 C");
  EXPECT_TRUE(Saved("Temperatura=-5.5 C"));
}

TEST_F(DialogsTest, FailedSaveIsToldOnceNamingTheFileAndTheReason) {
  std::filesystem::remove(conf());
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
  p_.shell.VehiclePlate = "in memory only";
  Modal(veh_, [&] {
    EXPECT_EQ(veh_.Label4.Caption(), "Year of registration");
    EXPECT_EQ(veh_.Text2.Text(), "AB123CD");
    ui_.type(veh_.Text2, "ZZ999ZZ");
    ui_.close(veh_);
  });
  EXPECT_EQ(p_.shell.VehiclePlate, "ZZ999ZZ");
  EXPECT_TRUE(Saved("Targa=ZZ999ZZ"));

  veh_.Show();  // modeless, closed by the form that opened it
  ui_.type(veh_.Text1, "Lancia");
  veh_.Unload();
  EXPECT_TRUE(Saved("FeT=Lancia"));

  Program again(plat::EventLoop::ClockKind::Manual);  // after a restart
  again.rt.currentDirectory = dir_.path();
  plat::test::FormDriver ui2(again.rt);
  DVeicoli& veh2 = again.dveicoli;
  ui2.onModal(veh2, [&] {
    EXPECT_EQ(veh2.Text1.Text(), "Lancia");
    ui2.type(veh2.Text3, "VIN42");
    ui2.click(veh2.Command1);
  });
  veh2.Show(plat::ShowMode::Modal);
  EXPECT_TRUE(Saved("Telaio=VIN42"));
}

class AboutTest : public test::StationTest {
 protected:
  frmAbout& about_ = p_.about;
};

TEST_F(AboutTest, ShowsNameVersionAndDescriptionAndClosesOnEnterOrEsc) {
  LoadLanguageTexts(p_.shell, dir_.path(), 3);
  p_.rt.version = {1, 7, 7};
  about_.Show();
  EXPECT_EQ(about_.Caption(), "Vantoscope Info");
  EXPECT_EQ(about_.lblVersion.Caption(), "Ver. 1.7.7");
  EXPECT_EQ(about_.lblDescription.Caption(), p_.shell.LangText[lang::FrmAbout]);
  ui_.enter(about_);
  EXPECT_FALSE(about_.IsLoaded());
  about_.Show();
  ui_.esc(about_);
  EXPECT_FALSE(about_.IsLoaded());
}

TEST_F(AboutTest, StartsTheFirstSystemInformationProgramThatStarts) {
  std::set<std::string> installed = {"kinfocenter", "gnome-system-monitor"};
  std::vector<std::string> started;
  p_.rt.app.setProgramStarter([&](const std::string& program, const std::vector<std::string>&) {
    if (!installed.count(program)) throw plat::RuntimeError(53, "File not found");
    started.push_back(program);
  });
  about_.Show();
  ui_.click(about_.cmdSysInfo);
  EXPECT_EQ(started, std::vector<std::string>{"kinfocenter"});

  installed.clear();
  ui_.answerBox();
  ui_.alt(about_, 'S');
  EXPECT_EQ(ui_.lastBox().text, "Le informazioni sul sistema non sono attualmente disponibili.");
  EXPECT_EQ(ui_.lastBox().title, "Vantoscope");
  EXPECT_TRUE(about_.Visible());
}

}  // namespace
}  // namespace vs
