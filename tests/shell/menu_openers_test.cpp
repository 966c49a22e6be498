// The start menu's openers: the tests, the engine-speed form, the set-up and data forms and
// the about box, with stand-in forms for the parts that register their forms later.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/core/Error.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

using plat::ShowMode;
using plat::WindowState;

class MenuOpenersTest : public test::StationTest {
 protected:
  void SetUp() override {
    StationTest::SetUp();
    p_.shellForms.ANGAS = &angas_;
    p_.shellForms.ANFUMO = &anfumo_;
    p_.shellForms.RPM = &rpm_;
    rpm_.restartsBlink = false;
    Start();
  }
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(ui_.journal().begin(), ui_.journal().end(), entry));
  }
  std::size_t Where(const std::string& entry) const {
    return static_cast<std::size_t>(std::find(ui_.journal().begin(), ui_.journal().end(), entry) -
                                    ui_.journal().begin());
  }

  Menu& m_ = p_.shellForms.menu;
  test::StandInForm angas_{p_, "ANGAS"}, anfumo_{p_, "ANFUMO"}, rpm_{p_, "RPM"};
};

TEST_F(MenuOpenersTest, GasTestStopsTheBlinkAndOpensModeless) {
  ui_.click(m_.CmdAnGas);
  EXPECT_FALSE(m_.Timer1.Enabled());
  EXPECT_EQ(p_.link.GasFormActive, 1);
  EXPECT_EQ(p_.link.OpaFormActive, 0);
  EXPECT_EQ(p_.shell.ExclamStampaPending, 0);
  EXPECT_TRUE(angas_.Visible());
  EXPECT_FALSE(angas_.modal());
  EXPECT_FALSE(rpm_.IsLoaded());  // no external source configured

  // Its own opener again: flag raised again, the form comes to the front, not reloaded.
  p_.link.GasFormActive = 0;
  ui_.fkey(m_, 1);
  EXPECT_EQ(p_.link.GasFormActive, 1);
  EXPECT_EQ(Count("load ANGAS"), 1);

  // Closing the test starts the blink again.
  ui_.close(angas_);
  EXPECT_TRUE(m_.Timer1.running());
}

TEST_F(MenuOpenersTest, SmokeTestWithExternalCounterShowsTheEngineSpeedFormFirst) {
  p_.shell.ExternOilTemp = 1;
  ui_.fkey(m_, 3);
  EXPECT_EQ(p_.link.OpaFormActive, 1);
  EXPECT_EQ(p_.shell.ExclamStampaPending, 1);
  ASSERT_TRUE(rpm_.Visible());
  EXPECT_LT(Where("show RPM"), Where("show ANFUMO"));
  EXPECT_EQ(rpm_.windowState(), WindowState::Minimized);
  ui_.advance(100);
  EXPECT_EQ(rpm_.ticks, 4);  // it goes on polling behind the test
  EXPECT_EQ(p_.rt.forms.activeForm(), &anfumo_);
}

TEST_F(MenuOpenersTest, OnlyOneTestAtATime) {
  ui_.click(m_.CmdAnGas);
  m_.ZOrder();
  ui_.click(m_.CmdAnFumo);
  ui_.fkey(m_, 3);
  EXPECT_FALSE(anfumo_.IsLoaded());
  EXPECT_EQ(p_.link.OpaFormActive, 0);
  EXPECT_EQ(p_.shell.ExclamStampaPending, 0);
  EXPECT_EQ(p_.rt.forms.activeForm(), &angas_);

  ui_.close(angas_);
  p_.link.GasFormActive = 0;
  ui_.fkey(m_, 3);
  ui_.fkey(m_, 1);
  EXPECT_FALSE(angas_.IsLoaded());
  EXPECT_EQ(p_.link.GasFormActive, 0);
  EXPECT_EQ(p_.link.OpaFormActive, 1);
}

TEST_F(MenuOpenersTest, EngineSpeedItemWithoutATestLeavesTheBlinkOff) {
  ui_.onModal(rpm_, [&] { ui_.close(rpm_); });
  ui_.click(m_.CmdRPM);
  EXPECT_EQ(Count("modal RPM"), 1);
  EXPECT_FALSE(m_.Timer1.Enabled());
  const bool shown = m_.Picture1.Visible();
  ui_.advance(5000);
  EXPECT_EQ(m_.Picture1.Visible(), shown);
}

TEST_F(MenuOpenersTest, EngineSpeedItemClosesATestThatHasNoCounterOpen) {
  ui_.fkey(m_, 1);
  ui_.onModal(rpm_, [&] { ui_.close(rpm_); });
  ui_.fkey(m_, 5);
  EXPECT_FALSE(angas_.IsLoaded());
  EXPECT_EQ(angas_.unloads, 1);
  EXPECT_EQ(anfumo_.unloads, 0);  // not loaded: stays unloaded
  EXPECT_TRUE(m_.Timer1.running());
}

TEST_F(MenuOpenersTest, EngineSpeedItemBringsTheTestsCounterFormToTheFront) {
  p_.shell.ExternRpm = 1;
  ui_.fkey(m_, 1);
  ASSERT_TRUE(rpm_.Visible());
  ui_.fkey(m_, 5);
  EXPECT_EQ(Count("modal RPM"), 0);
  EXPECT_EQ(rpm_.windowState(), WindowState::Normal);
  EXPECT_EQ(p_.rt.forms.activeForm(), &rpm_);
  EXPECT_TRUE(angas_.IsLoaded());
  EXPECT_EQ(angas_.unloads, 0);
}

TEST_F(MenuOpenersTest, FormsOfPartsNotBuiltOpenNothing) {
  p_.shellForms.ANGAS = p_.shellForms.RPM = nullptr;
  ui_.fkey(m_, 1);
  ui_.fkey(m_, 5);
  ui_.fkey(m_, 2);
  ui_.menu(m_.RICONOSCI);
  EXPECT_TRUE(m_.Timer1.running());
  EXPECT_EQ(p_.link.GasFormActive, 0);
  EXPECT_EQ(p_.rt.forms.loaded().size(), 1u);
}

class FailingForm : public plat::Form {
 public:
  explicit FailingForm(plat::Runtime& rt) : plat::Form(rt, "OPASU") {}

 protected:
  void Form_Load() override { throw plat::RuntimeError(8002, "Invalid port number"); }
};

TEST_F(MenuOpenersTest, SetUpAndDataItemsOpenTheirFormsModally) {
  test::StandInForm ansu(p_, "ANSU");
  FailingForm opasu(p_.rt);
  p_.shellForms.ANSU = &ansu;
  p_.shellForms.OPASU = &opasu;
  ui_.onModal(ansu, [&] { ui_.close(ansu); });
  ui_.fkey(m_, 2);
  EXPECT_EQ(Count("modal ANSU"), 1);

  ui_.answerBox();
  ui_.fkey(m_, 4);
  EXPECT_EQ(ui_.lastBox().text, "Invalid port number");
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);

  // DVEIC opens the operator form, not the vehicle form.
  ui_.onModal(p_.shellForms.utente, [&] { ui_.close(p_.shellForms.utente); });
  ui_.menu(m_.DVEIC);
  ui_.onModal(p_.shellForms.damb, [&] { ui_.close(p_.shellForms.damb); });
  ui_.menu(m_.DAMBIENT);
  EXPECT_EQ(Count("modal UTENTE"), 1);
  EXPECT_EQ(Count("modal DAMB"), 1);
  EXPECT_EQ(Count("load DVeicoli"), 0);
}

TEST_F(MenuOpenersTest, LogoOpensTheAboutBoxModeless) {
  ui_.click(m_.Image1);
  ui_.click(m_.Image1);
  EXPECT_TRUE(p_.shellForms.about.Visible());
  EXPECT_FALSE(p_.shellForms.about.modal());
  EXPECT_EQ(Count("load frmAbout"), 1);
  EXPECT_TRUE(m_.Timer1.running());
}

}  // namespace
}  // namespace vs
