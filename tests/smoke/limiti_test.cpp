// The smoke limits form over a loaded smoke test: applying (with Enter or Esc) and the
// START button, and the refusal of a value that is not a number or could not be saved.
#include <gtest/gtest.h>

#include <string>

#include "smoke/smoke_form_fixture.h"

namespace vs {
namespace {

class LimitiTest : public test::SmokeFormTest {
 protected:
  void SetUp() override {
    SmokeFormTest::SetUp();
    WriteConf(
        "[COMOPA]\r\nTCOM=1\r\nTBRate=2\r\n[MODOPA]\r\nModello=1\r\nUnitOpa=0\r\n"
        "[LO]\r\nRN=800\r\nMX=4000\r\nON=0.5\r\nVK=1.5\r\n");
    p_.rt.serial.attachMemory(1);
    p_.shell.OpaComPort = 1;
    p_.anfumo.Load();
    p_.anfumo.Command2.setEnabled(false);
    p_.link.OpaRpm = 800;
  }
  void TearDown() override { p_.anfumo.Unload(); }

  // Opens the limits as the test form's button does; `inside` runs in its modal loop.
  void Limits(std::function<void(LIMITI&)> inside) {
    ui_.onModal(p_.limiti, [&] { inside(p_.limiti); });
    p_.anfumo.Command3_Click();
  }
  ShellState& s_ = p_.shell;
};

TEST_F(LimitiTest, ApplyingWithEnterOrEscTakesTheFourValuesAndMayEnableStart) {
  Limits([&](LIMITI& f) {
    EXPECT_EQ(f.Text1.Text(), "800");
    EXPECT_EQ(f.Text4.Text(), "1.5");
    ui_.type(f.Text1, "800.5");  // the engine at 800 is below it
    ui_.type(f.Text2, "700");    // below the minimum: taken as typed
    ui_.type(f.Text3, "0.25");
    ui_.type(f.Text4, "2.75");
    ui_.esc(f);
  });
  EXPECT_FALSE(p_.limiti.IsLoaded());
  EXPECT_EQ(s_.SmokeRpmMin, 800.5f);
  EXPECT_EQ(s_.SmokeRpmMax, 700.0f);
  EXPECT_EQ(s_.SmokeOpacityThreshold, 0.25);
  EXPECT_EQ(s_.SmokeKLimit, 2.75);
  EXPECT_TRUE(p_.anfumo.Command2.Enabled());

  p_.anfumo.Command2.setEnabled(false);
  Limits([&](LIMITI& f) {
    ui_.type(f.Text1, "800");  // equal to the engine speed: START stays as it is
    ui_.enter(f);
  });
  EXPECT_FALSE(p_.limiti.IsLoaded());
  EXPECT_EQ(s_.SmokeRpmMin, 800.0f);
  EXPECT_FALSE(p_.anfumo.Command2.Enabled());
}

TEST_F(LimitiTest, AValueThatCannotBeTakenIsToldAndNothingApplies) {
  const struct {
    int box;  // 1 to 4
    const char* typed;
    const char* field;
  } rows[] = {
      {1, "ottocento", "RPMmin"}, {1, "32767.6", "RPMmin"}, {2, "", "RPMmax"},
      {2, "-40000", "RPMmax"},    {3, "1E+39", nullptr},    {4, "1,5", nullptr},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.typed);
    ui_.clearBoxes();
    ui_.answerBox();
    Limits([&](LIMITI& f) {
      plat::TextBox* boxes[] = {&f.Text1, &f.Text2, &f.Text3, &f.Text4};
      plat::Label* labels[] = {&f.Label1, &f.Label2, &f.Label3, &f.Label4};
      ui_.type(f.Text1, "1200");  // a good value before the bad one is not applied either
      ui_.type(*boxes[r.box - 1], r.typed);
      ui_.enter(f);
      EXPECT_TRUE(f.Visible());
      ASSERT_EQ(ui_.boxes().size(), 1u);
      const std::string field = r.field ? r.field : labels[r.box - 1]->Caption();
      const std::string& told = ui_.lastBox().text;
      EXPECT_NE(told.find(field), std::string::npos) << told;
      EXPECT_NE(told.find(std::string("\"") + r.typed + "\""), std::string::npos) << told;
      ui_.close(f);
    });
    EXPECT_EQ(s_.SmokeRpmMin, 800.0f);
    EXPECT_EQ(s_.SmokeRpmMax, 4000.0f);
    EXPECT_EQ(s_.SmokeOpacityThreshold, 0.5);
    EXPECT_EQ(s_.SmokeKLimit, 1.5);
    EXPECT_FALSE(p_.anfumo.Command2.Enabled());
  }
}

}  // namespace
}  // namespace vs
