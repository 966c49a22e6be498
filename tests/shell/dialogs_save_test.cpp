// The data-entry dialogs: what each shows, and when it saves what was typed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

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
        "[VEICOLO]\r\nFeT=Fiat Panda\r\nTarga=AB123CD\r\nTelaio=ZFA1\r\nAnno=2004\r\nMod=1.2\r\n"
        "[UTENTE]\r\nOperatore=Rossi\r\nResponsabileTecn=Verdi\r\nEnte=Officina\r\n"
        "[AMBIENTE]\r\nTemperatura=20\r\nPressione=101,3\r\nUmidit\xe0Relativa=50\r\n");
    LoadUserData(p_);
    LoadAmbientData(p_);
    LoadLanguageTexts(p_, 2);
  }
  // Shows `f` modally; `inside` runs in its modal loop and must close it.
  void Modal(plat::Form& f, std::function<void()> inside) {
    ui_.onModal(f, std::move(inside));
    f.Show(plat::ShowMode::Modal);
    EXPECT_FALSE(f.IsLoaded());
  }
  DVeicoli& veh_ = p_.shellForms.dveicoli;
  UTENTE& user_ = p_.shellForms.utente;
  DAMB& amb_ = p_.shellForms.damb;
};

TEST_F(DialogsTest, OperatorFormSavesThroughItsButtonEnterAndEscOnly) {
  Modal(user_, [&] {
    EXPECT_EQ(user_.Caption(), "User Data");
    EXPECT_EQ(user_.Label3.Caption(), "Testing body");
    EXPECT_EQ(user_.Command1.Caption(), "&Apply");
    EXPECT_EQ(user_.Text1.Text(), "Rossi");
    ui_.type(user_.Text1, "Neri");
    ui_.close(user_);
  });
  EXPECT_EQ(p_.shell.OperatorName, "Rossi");
  EXPECT_NE(ReadConf().find("Operatore=Rossi"), std::string::npos);

  Modal(user_, [&] {
    EXPECT_EQ(user_.Text1.Text(), "Rossi");
    ui_.type(user_.Text1, "Neri");
    ui_.type(user_.Text3, "");
    ui_.esc(user_);
  });
  EXPECT_EQ(p_.shell.OperatorName, "Neri");
  EXPECT_EQ(p_.shell.AgencyName, "");
  EXPECT_NE(ReadConf().find("Operatore=Neri\r\n"), std::string::npos);
  EXPECT_NE(ReadConf().find("Ente=\r\n"), std::string::npos);

  Modal(user_, [&] {
    ui_.type(user_.Text2, "Gialli");
    ui_.enter(user_);  // Enter in a box presses the default button
  });
  EXPECT_EQ(p_.shell.TechnicalManager, "Gialli");
}

TEST_F(DialogsTest, AmbientFormKeepsTheTextAsTyped) {
  Modal(amb_, [&] {
    EXPECT_EQ(amb_.Caption(), "Ambient Data");
    EXPECT_EQ(amb_.Label5.Caption(), "kPa");
    EXPECT_EQ(amb_.Text2.Text(), "101,3");
    ui_.type(amb_.Text2, "ca. 99");
    ui_.close(amb_);
  });
  EXPECT_EQ(p_.shell.AmbientPressure, "101,3");
  Modal(amb_, [&] {
    ui_.type(amb_.Text1, "-5.5 C");
    ui_.type(amb_.Text3, "");
    ui_.click(amb_.Command1);
  });
  EXPECT_EQ(p_.shell.AmbientTemperature, "-5.5 C");
  p_.shell.AmbientHumidity = "x";
  LoadAmbientData(p_);
  EXPECT_EQ(p_.shell.AmbientTemperature, "-5.5 C");
  EXPECT_EQ(p_.shell.AmbientHumidity, "");
}

TEST_F(DialogsTest, VehicleFormSavesHoweverItCloses) {
  Modal(veh_, [&] {
    EXPECT_EQ(veh_.Caption(), "Vehicle Data");
    EXPECT_EQ(veh_.Label4.Caption(), "Year of registration");
    EXPECT_EQ(veh_.Text2.Text(), "AB123CD");
    EXPECT_TRUE(veh_.Text1.MultiLine());
    ui_.type(veh_.Text2, "ZZ999ZZ");
    ui_.type(veh_.Text5, "");
    ui_.close(veh_);
  });
  EXPECT_EQ(p_.shell.VehiclePlate, "ZZ999ZZ");
  EXPECT_NE(ReadConf().find("Targa=ZZ999ZZ"), std::string::npos);
  EXPECT_NE(ReadConf().find("Mod=\r\n"), std::string::npos);

  // Modeless, closed by the form that opened it.
  veh_.Show();
  ui_.type(veh_.Text1, "Lancia Y");
  veh_.Unload();
  EXPECT_NE(ReadConf().find("FeT=Lancia Y"), std::string::npos);

  // It reads the stored values at every load, not what is held in memory...
  p_.shell.VehiclePlate = "in memory";
  Modal(veh_, [&] {
    EXPECT_EQ(veh_.Text2.Text(), "ZZ999ZZ");
    ui_.type(veh_.Text3, "VIN42");
    ui_.esc(veh_);
  });
  // ... also after a restart.
  Program again(plat::EventLoop::ClockKind::Manual);
  again.rt.currentDirectory = dir_;
  LoadLanguageTexts(again, 1);
  plat::test::FormDriver ui2(again.rt);
  ui2.onModal(again.shellForms.dveicoli, [&] {
    EXPECT_EQ(again.shellForms.dveicoli.Text3.Text(), "VIN42");
    EXPECT_EQ(again.shellForms.dveicoli.Label1.Caption(), "Fabbrica e tipo");
    ui2.click(again.shellForms.dveicoli.Command1);
  });
  again.shellForms.dveicoli.Show(plat::ShowMode::Modal);
}

}  // namespace
}  // namespace vs
