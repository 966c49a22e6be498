// The start menu's openers, with stand-in forms for the parts that register theirs later.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/core/Error.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

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
  long Where(const std::string& entry) const {
    const auto& j = ui_.journal();
    return std::find(j.begin(), j.end(), entry) - j.begin();
  }
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(ui_.journal().begin(), ui_.journal().end(), entry));
  }

  Menu& m_ = p_.shellForms.menu;
  test::StandInForm angas_{p_, "ANGAS"}, anfumo_{p_, "ANFUMO"}, rpm_{p_, "RPM"};
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
  ui_.fkey(m_, 3);
  EXPECT_EQ(p_.link.OpaFormActive, 1);
  EXPECT_EQ(p_.shell.ExclamStampaPending, 1);
  EXPECT_LT(Where("show RPM"), Where("show ANFUMO"));
  EXPECT_EQ(rpm_.windowState(), WindowState::Minimized);
  ui_.advance(100);
  EXPECT_EQ(rpm_.ticks, 4);  // it goes on polling behind the test
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
  EXPECT_EQ(angas_.unloads, 1);
  EXPECT_EQ(anfumo_.unloads, 0);  // not loaded: stays unloaded
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

class FailingForm : public plat::Form {
 public:
  explicit FailingForm(plat::Runtime& rt) : plat::Form(rt, "OPASU") {}

 protected:
  void Form_Load() override { throw plat::RuntimeError(8002, "Invalid port number"); }
};

TEST_F(MenuOpenersTest, OtherItemsOpenWhatIsBuiltAndNothingElse) {
  p_.shellForms.ANGAS = p_.shellForms.RPM = p_.shellForms.RiconosciMCTC = nullptr;
  ui_.fkey(m_, 1);
  ui_.fkey(m_, 5);
  ui_.fkey(m_, 2);
  ui_.menu(m_.RICONOSCI);
  EXPECT_TRUE(m_.Timer1.running());
  EXPECT_EQ(p_.link.GasFormActive, 0);
  EXPECT_EQ(p_.rt.forms.loaded().size(), 1u);

  FailingForm opasu(p_.rt);
  p_.shellForms.OPASU = &opasu;
  ui_.answerBox();
  ui_.fkey(m_, 4);
  EXPECT_EQ(ui_.lastBox().text, "Invalid port number");
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);

  ui_.onModal(p_.shellForms.utente, [&] { ui_.close(p_.shellForms.utente); });
  ui_.menu(m_.DVEIC);  // the operator form, not the vehicle form
  ui_.onModal(p_.shellForms.damb, [&] { ui_.close(p_.shellForms.damb); });
  ui_.menu(m_.DAMBIENT);
  ui_.click(m_.Image1);
  ui_.click(m_.Image1);
  EXPECT_EQ(Count("modal UTENTE") + Count("modal DAMB"), 2);
  EXPECT_EQ(Count("load DVeicoli"), 0);
  EXPECT_TRUE(p_.shellForms.about.Visible() && !p_.shellForms.about.modal());
  EXPECT_EQ(Count("load frmAbout"), 1);
}

}  // namespace
}  // namespace vs
