// The access-code form and the system set-up form, driven as the operator would.
#include <gtest/gtest.h>

#include <string>

#include "shell/SystemSetup.h"
#include "shell/settings_test_fixture.h"
#include "support/FormDriver.h"

namespace vs {
namespace {

using plat::CheckBox;

class SystemSetupFormsTest : public test::ConfDirTest {
 protected:
  void SetUp() override {
    ConfDirTest::SetUp();
    p_.rt.regional = plat::RegionalSettings::Italian();
  }

  // Shows the access-code form modally, types `code` and presses Enter.
  std::int16_t Enter(const std::string& code) {
    ui_.onModal(p_.shellForms.password, [&] {
      ui_.type(p_.shellForms.password.Text1, code);
      ui_.enter(p_.shellForms.password);
    });
    p_.shellForms.password.Show(plat::ShowMode::Modal);
    EXPECT_FALSE(p_.shellForms.password.IsLoaded());
    return p_.shell.PassResult;
  }

  plat::test::FormDriver ui_{p_.rt};
};

TEST_F(SystemSetupFormsTest, AccessCodeIsComparedExactly) {
  EXPECT_EQ(p_.shellForms.password.Text1.PasswordChar(), "*");
  EXPECT_EQ(Enter("PELTO"), 1);
  EXPECT_EQ(Enter("pelto"), 0);
  EXPECT_EQ(Enter(" PELTO"), 0);
  EXPECT_EQ(Enter("PELTO "), 0);
  EXPECT_EQ(Enter("PELT"), 0);
  EXPECT_EQ(Enter(""), 0);

  ui_.onModal(p_.shellForms.password, [&] { ui_.click(p_.shellForms.password.Annulla); });
  p_.shellForms.password.Show(plat::ShowMode::Modal);
  EXPECT_EQ(p_.shell.PassResult, 2);
}

TEST_F(SystemSetupFormsTest, OpensWithDefaultsAndSavesAllThreeOptions) {
  ui_.onModal(p_.shellForms.sysSetUp, [&] {
    SYS_SET_UP& f = p_.shellForms.sysSetUp;
    EXPECT_EQ(f.CkAbilOpa.Value(), CheckBox::kUnchecked);
    EXPECT_EQ(f.CkAbilKymra.Value(), CheckBox::kUnchecked);
    EXPECT_EQ(f.CkAbilTt.Value(), CheckBox::kUnchecked);
    EXPECT_EQ(f.TKquad.Text(), "1E-09");
    EXPECT_EQ(f.TKlin.Text(), "0,008");
    ui_.click(f.CkAbilOpa);
    ui_.click(f.CkAbilKymra);
    ui_.click(f.CkAbilTt);
    ui_.type(f.TKlin, "0,009");
    ui_.enter(f);  // CSalva is the default button
  });
  p_.shellForms.sysSetUp.Show(plat::ShowMode::Modal);
  EXPECT_FALSE(p_.shellForms.sysSetUp.IsLoaded());
  EXPECT_EQ(p_.shell.SystemEnableMask, 7);
  EXPECT_EQ(p_.shell.GasKquad, 1E-09);
  EXPECT_EQ(p_.shell.GasKlin, 0.009);
  EXPECT_NE(ReadConf().find("AbiM=\x90\xF1\xD5\xCE\xC9"), std::string::npos);  // "7Vrin"

  // The next opening shows what was saved; a grey box counts as not checked.
  ui_.onModal(p_.shellForms.sysSetUp, [&] {
    SYS_SET_UP& f = p_.shellForms.sysSetUp;
    EXPECT_EQ(f.CkAbilOpa.Value(), CheckBox::kChecked);
    EXPECT_EQ(f.CkAbilTt.Value(), CheckBox::kChecked);
    EXPECT_EQ(f.TKlin.Text(), "0,009");
    f.CkAbilKymra.setValue(CheckBox::kGrayed);
    ui_.click(f.CSalva);
  });
  p_.shellForms.sysSetUp.Show(plat::ShowMode::Modal);
  EXPECT_EQ(p_.shell.SystemEnableMask, 5);
}

TEST_F(SystemSetupFormsTest, CoefficientThatIsNotANumberChangesNothing) {
  SaveSystemSettings(p_, 1, 2E-09, 0.01);
  const std::string before = ReadConf();
  ui_.onModal(p_.shellForms.sysSetUp, [&] {
    SYS_SET_UP& f = p_.shellForms.sysSetUp;
    ui_.click(f.CkAbilTt);
    ui_.type(f.TKquad, "3E-09");
    ui_.type(f.TKlin, "0.5.1");
    ui_.answerBox();
    ui_.click(f.CSalva);
    EXPECT_NE(ui_.lastBox().text.find("Klin"), std::string::npos) << ui_.lastBox().text;
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(f.TKlin.hasFocus());

    ui_.type(f.TKlin, "0,02");
    ui_.type(f.TKquad, "");
    ui_.answerBox();
    ui_.click(f.CSalva);
    EXPECT_NE(ui_.lastBox().text.find("Kquad"), std::string::npos) << ui_.lastBox().text;
    EXPECT_TRUE(f.IsLoaded());
    ui_.click(f.CAnnulla);
  });
  p_.shellForms.sysSetUp.Show(plat::ShowMode::Modal);
  EXPECT_EQ(ui_.boxes().size(), 2u);
  EXPECT_EQ(p_.shell.SystemEnableMask, 1);
  EXPECT_EQ(p_.shell.GasKquad, 2E-09);
  EXPECT_EQ(p_.shell.GasKlin, 0.01);
  EXPECT_EQ(ReadConf(), before);
}

}  // namespace
}  // namespace vs
