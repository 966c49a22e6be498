// The opacimeter set-up: what it takes from "Conf.ini", the identification over its own
// exchange against a simulated opacimeter, and SAVE.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "shell/LanguageTable.h"
#include "sim/Instrument.h"
#include "smoke/smoke_form_fixture.h"

namespace vs {
namespace {

using sim::Device;
using sim::Instrument;
using sim::Protocol;

class OpasuTest : public test::SmokeFormTest {
 protected:
  void SetUp() override { SmokeFormTest::SetUp(); }
  // Shows the set-up modally; `inside` runs in its modal loop, then Esc closes it.
  void Modal(std::function<void()> inside) {
    ui_.onModal(su_, [&] {
      inside();
      ui_.esc(su_);
    });
    su_.Show(plat::ShowMode::Modal);
    EXPECT_FALSE(su_.IsLoaded());
  }
  // The selected speed button, 1 to 4; 0 when none is.
  int Speed() const {
    const plat::OptionButton* o[] = {&su_.Option1, &su_.Option2, &su_.Option3, &su_.Option4};
    for (int i = 0; i < 4; ++i)
      if (o[i]->Value()) return i + 1;
    return 0;
  }
  OPASU& su_ = p_.opasu;
};

std::string Conf(const std::string& comopa, const std::string& modopa) {
  return "[COMOPA]\r\n" + comopa + "[MODOPA]\r\n" + modopa;
}

TEST_F(OpasuTest, LoadShowsTheStoredSetUpAndTakesWhatTheControlsCannotShow) {
  const std::string identity =
      "Marca=KARVESTON\r\nNOmologa=OM-1\r\nModello=OPA-735\r\nNserie=AQ77\r\n"
      "Versione=2.1\r\nScadenza=31/12/2030\r\n";
  struct Row {
    const char* what;
    std::string com, mod;
    int listModel, model, listUnit, unit, port, speed, comMode, address;
  } rows[] = {
      {"as stored", "TModCom=2\r\nTCOM=3\r\nTBRate=2\r\n", "Modello=2\r\nUnitOpa=1\r\n",  //
       2, 2, 1, 1, 3, 2, 1, 65},
      {"the MCTC-NET model keeps the address", "TModCom=1\r\nTCOM=16\r\nTBRate=1\r\n",
       "Modello=5\r\nUnitOpa=0\r\n", 5, 5, 0, 0, 16, 1, 2, 9},
      {"a model outside the list selects nothing", "TModCom=1\r\nTCOM=2\r\nTBRate=4\r\n",
       "Modello=9\r\nUnitOpa=-1\r\n", -1, 9, -1, -1, 2, 4, 1, 9},
      {"nothing selected stays so", "TModCom=2\r\nTCOM=2\r\nTBRate=3\r\n",
       "Modello=-1\r\nUnitOpa=2\r\n", -1, -1, 0, 0, 2, 3, 2, 9},
      {"unit below -1, port 0, speed 5", "TModCom=2\r\nTCOM=0\r\nTBRate=5\r\n",
       "Modello=0\r\nUnitOpa=-7\r\n", 0, 0, 0, 0, 1, 0, 1, 81},
      {"port above 16", "TModCom=1\r\nTCOM=17\r\nTBRate=0\r\n", "Modello=1\r\nUnitOpa=x\r\n", 1, 1,
       0, 0, 1, 0, 1, 65},
      {"port below 0", "TCOM=-3\r\n", "", 0, 0, 0, 0, 1, 0, 1, 81},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    p_.shell = ShellState{};
    LoadLanguageTexts(p_.shell, dir_.path(), 2);
    p_.link.ActiveComMode = 0;
    p_.smoke.OpaDeviceAddress = 9;
    WriteConf(Conf(r.com + identity, r.mod));
    Modal([&] {
      EXPECT_EQ(su_.Combo1.ListIndex(), r.listModel);
      EXPECT_EQ(su_.Combo2.ListIndex(), r.listUnit);
      EXPECT_EQ(su_.Text5.Text(), std::to_string(r.port));
      EXPECT_EQ(su_.VScroll1.Value(), r.port);
      EXPECT_EQ(Speed(), r.speed);
      EXPECT_EQ(su_.Text3.Text(), "OPA-735");
      EXPECT_EQ(su_.Text7.Text(), "31/12/2030");
    });
    EXPECT_EQ(p_.shell.OpaModelIndex, r.model);
    EXPECT_EQ(p_.shell.OpaUnitIndex, r.unit);
    EXPECT_EQ(p_.shell.OpaComPort, r.port);
    EXPECT_EQ(p_.link.ActiveComMode, r.comMode);
    EXPECT_EQ(p_.smoke.OpaDeviceAddress, r.address);
    EXPECT_EQ(p_.link.InstrSerial, "AQ77");
  }
}

class OpasuLineTest : public OpasuTest {
 protected:
  void SetUp() override {
    OpasuTest::SetUp();
    WriteConf(Conf("TModCom=1\r\nTCOM=4\r\nTBRate=2\r\nMarca=OLD\r\n", "Modello=0\r\n"));
    line_ = p_.rt.serial.attachMemory(4);
    sim::Attach(opa_, line_, &p_.rt.loop);
  }
  std::shared_ptr<plat::MemoryDevice> line_;
  Instrument opa_{Device::Opacimeter, Protocol::Mctc, 5};
};

TEST_F(OpasuLineTest, IdentificationFillsTheIdentityAndPicksTheModelOverItsOwnExchange) {
  // A smoke test's exchange in the middle of a request: the set-up leaves it alone.
  p_.link.McnAddress = "GAS", p_.link.McnCommand = "@VA", p_.link.McnCommandLen = 3;
  opa_.identity = {"KARVESTON", "OPA-735/HD  ", "OM-9", "AN555", "01022031", "3.2", "7"};
  opa_.splitInto = 3;
  Modal([&] {
    ui_.click(su_.ComFind);
    ui_.settle();
    EXPECT_EQ(su_.Text1.Text(), "KARVESTON");
    EXPECT_EQ(su_.Text3.Text(), "OPA-735/HD");
    EXPECT_EQ(su_.Text4.Text(), "AN555");
    EXPECT_EQ(su_.Text6.Text(), "3.2");
    EXPECT_EQ(su_.Text7.Text(), "01/02/2031");
    EXPECT_EQ(su_.Combo1.ListIndex(), 2);

    opa_.identity.model = "OPA-150";
    ui_.click(su_.ComFind);
    ui_.settle();
    EXPECT_EQ(su_.Combo1.ListIndex(), 5);
    EXPECT_EQ(p_.link.ActiveComMode, 2);

    opa_.identity.model = "opa-735";  // no model of the list: the choice stays
    ui_.click(su_.ComFind);
    ui_.settle();
    EXPECT_EQ(su_.Text3.Text(), "opa-735");
    EXPECT_EQ(su_.Combo1.ListIndex(), 5);
  });
  ASSERT_EQ(opa_.requests.size(), 3u);
  EXPECT_EQ(opa_.requests[0].command, "ID");
  EXPECT_EQ(p_.link.McnAddress, "GAS");
  EXPECT_EQ(p_.link.McnCommand, "@VA");
  EXPECT_EQ(p_.link.McnCommandLen, 3);
  EXPECT_EQ(p_.link.InstrSerial, "AN555");  // the identity stays after ESC
  EXPECT_FALSE(line_->isOpen());
}

TEST_F(OpasuLineTest, NoAnswerAnotherAddressOrAnUnopenablePortLeaveTheBoxesBlank) {
  Modal([&] {
    opa_.silent = true;
    ui_.click(su_.ComFind);
    ui_.advance(5000);
    EXPECT_EQ(su_.Text1.Text(), " ");

    // A gas analyser's frame on the line is not the opacimeter's answer.
    Instrument gas(Device::Gas, Protocol::Mctc);
    line_->send(gas.replyTo({"ID", ""}));
    ui_.settle();
    EXPECT_EQ(su_.Text1.Text(), " ");

    line_->setAvailable(false);
    ui_.answerBox();
    ui_.click(su_.ComFind);
    EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
    EXPECT_EQ(ui_.lastBox().text.rfind("COM4 cannot be opened\r\n", 0), 0u) << ui_.lastBox().text;
    EXPECT_TRUE(su_.Visible());
  });
}

TEST_F(OpasuLineTest, SaveWritesBothSectionsAsTheyStandInMemory) {
  opa_.identity = {"KARVESTON", "OPA-264", "OM-9", "AM12", "01022031", "1.0", "7"};
  ui_.answerBox();
  Modal([&] {
    ui_.choose(su_.Combo2, 1);
    ui_.click(su_.Option1);
    ui_.scroll(su_.VScroll1, 4);
    ui_.click(su_.ComFind);
    ui_.settle();
    ui_.click(su_.ComSave);
    EXPECT_TRUE(su_.Visible());
  });
  EXPECT_EQ(ui_.lastBox().text, "Settings saved.");
  EXPECT_EQ(ReadConf(),
            "[COMOPA]\r\nTModCom=1\r\nTCOM=4\r\nTBRate=1\r\nMarca=KARVESTON\r\nNOmologa=OM-9\r\n"
            "Modello=OPA-264\r\nNserie=AM12\r\nVersione=1.0\r\nScadenza=01/02/2031\r\n"
            "[MODOPA]\r\nModello=0\r\nUnitOpa=1\r\n");
}

TEST_F(OpasuTest, FailedSaveIsReportedInsteadOfSaved) {
  std::filesystem::create_directory(conf());
  ui_.answerBox();
  Modal([&] { ui_.click(su_.ComSave); });
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_NE(ui_.lastBox().text.find(conf().string()), std::string::npos) << ui_.lastBox().text;
  EXPECT_EQ(ui_.lastBox().text.find("Settings saved."), std::string::npos);
}

TEST_F(OpasuTest, SpinnerTakesTheFocusOfThePortBoxAndColoursIt) {
  Modal([&] {
    ui_.focus(su_.Text5);
    EXPECT_EQ(p_.rt.forms.activeForm()->ActiveControl(), &su_.VScroll1);
    EXPECT_EQ(su_.Text5.BackColor(), 0x80FFFFu);
    ui_.focus(su_.Combo1);
    EXPECT_EQ(su_.Text5.BackColor(), plat::colors::kWindowBackground);
  });
}

}  // namespace
}  // namespace vs
