// The scrambled system settings in "Conf.ini", and the access-code and system set-up
// forms driven as the operator would.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/text/Cp1252.h"
#include "shell/SystemSetup.h"
#include "shell/settings_test_fixture.h"
#include "support/FormDriver.h"

namespace vs {
namespace {

// The bytes that ScrambleString makes of `text` on disk.
std::string Scrambled(const std::string& text) { return plat::Utf8ToCp1252(ScrambleString(text)); }

class SystemSetupTest : public test::ConfDirTest {
 protected:
  // The bytes behind "key=" up to the end of its line.
  std::string StoredBytes(const std::string& key) const {
    const std::string text = ReadConf();
    const auto at = text.find("\n" + key + "=");
    if (at == std::string::npos) return "<missing>";
    const auto from = at + key.size() + 2;
    return text.substr(from, text.find_first_of("\r\n", from) - from);
  }
  // Sets the mask, Kquad and Klin in memory and saves them.
  void Save(std::uint8_t mask, double kquad, double klin) {
    p_.shell.SystemEnableMask = mask;
    p_.shell.GasKquad = kquad;
    p_.shell.GasKlin = klin;
    ASSERT_TRUE(SaveSystemSettings(p_.shell, at()));
  }
  // The mask, Kquad and Klin in memory.
  std::tuple<int, double, double> Settings() const {
    return {p_.shell.SystemEnableMask, p_.shell.GasKquad, p_.shell.GasKlin};
  }
  // Shows the access-code form modally, types `code` and presses Enter.
  std::int16_t Enter(const std::string& code) {
    ui_.onModal(p_.password, [&] {
      ui_.type(p_.password.Text1, code);
      ui_.enter(p_.password);
    });
    p_.password.Show(plat::ShowMode::Modal);
    EXPECT_FALSE(p_.password.IsLoaded());
    return p_.shell.PassResult;
  }

  plat::test::FormDriver ui_{p_.rt};
};

TEST(ScrambleStringTest, EveryCodeRoundTripsOneCodePerCharacter) {
  EXPECT_EQ(ScrambleString(""), "");
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  const std::string text = plat::Cp1252ToUtf8(all);
  const std::string once = ScrambleString(text);
  EXPECT_NE(once, text);
  EXPECT_EQ(ScrambleString(once), text);
  EXPECT_EQ(plat::Utf8ToCp1252(once).size(), all.size());
}

TEST_F(SystemSetupTest, StoredBytesAreTheScrambledTexts) {
  Save(0, 1E-09, 0.008);
  EXPECT_EQ(StoredBytes("AbiM"), "\x97\xF1\xD5\xCE\xC9");   // "0Vrin"
  EXPECT_EQ(StoredBytes("Kquad"), "\x96\xE2\x8A\x97\x9E");  // "1E-09"
  EXPECT_EQ(StoredBytes("Klin"), "\x97\x89\x97\x97\x9F");   // "0.008"
  Save(7, 1E-09, 0.008);
  EXPECT_EQ(StoredBytes("AbiM"), "\x90\xF1\xD5\xCE\xC9");  // "7Vrin"
  p_.rt.regional = plat::RegionalSettings::Italian();
  Save(7, 1E-09, 0.008);
  EXPECT_EQ(StoredBytes("Klin"), "\x97\x8B\x97\x97\x9F");  // "0,008"
  EXPECT_EQ(ReadConf().find("Vrin"), std::string::npos);
}

TEST_F(SystemSetupTest, RoundTripUnderBothSeparators) {
  for (const char* sep : {".", ","}) {
    SCOPED_TRACE(sep);
    p_.rt.regional.decimalSeparator = sep;
    Save(6, 2.5E-09, 0.0125);
    p_.shell.SystemEnableMask = 0;
    p_.shell.GasKquad = p_.shell.GasKlin = 0;
    LoadSystemSettings(p_.shell, at());
    EXPECT_EQ(Settings(), std::tuple(6, 2.5E-09, 0.0125));
  }
}

TEST_F(SystemSetupTest, MissingFileOrKeysGiveTheDefaults) {
  p_.shell.SystemEnableMask = 5;
  p_.shell.GasKquad = p_.shell.GasKlin = 3;
  LoadSystemSettings(p_.shell, at());
  EXPECT_EQ(Settings(), std::tuple(0, 1E-09, 0.008));
  // AbiM present, Kquad missing: Kquad takes its default instead of the mask text.
  WriteConf("[IMPOSTAZIONI]\r\nAbiM=" + Scrambled("3Vrin") + "\r\nKlin=" + Scrambled("0.01") +
            "\r\n");
  p_.shell.GasKquad = 7;
  LoadSystemSettings(p_.shell, at());
  EXPECT_EQ(Settings(), std::tuple(3, 1E-09, 0.01));
}

TEST_F(SystemSetupTest, ValuesThatDoNotUnscrambleToNumbersKeepTheirVariables) {
  // A hand-edited file: AbiM plain "7Vrin" unscrambles to a non-digit; Kquad plain
  // "1E-09"; Klin scrambled "4Vrin" is no number.
  WriteConf("[IMPOSTAZIONI]\r\nAbiM=7Vrin\r\nKquad=1E-09\r\nKlin=" + Scrambled("4Vrin") + "\r\n");
  p_.shell.SystemEnableMask = 2;
  p_.shell.GasKquad = 5E-09;
  p_.shell.GasKlin = 0.02;
  LoadSystemSettings(p_.shell, at());
  EXPECT_EQ(Settings(), std::tuple(2, 5E-09, 0.02));
  // Only the first character of the unscrambled mask counts: the tag is never checked.
  WriteConf("[IMPOSTAZIONI]\r\nAbiM=" + Scrambled("5xyz") + "\r\nKquad=" + Scrambled("3E-09") +
            "\r\n");
  LoadSystemSettings(p_.shell, at());
  EXPECT_EQ(Settings(), std::tuple(5, 3E-09, 0.008));
}

TEST_F(SystemSetupTest, AccessCodeIsComparedExactly) {
  EXPECT_EQ(p_.password.Text1.PasswordChar(), "*");
  EXPECT_EQ(Enter("PELTO"), 1);
  EXPECT_EQ(Enter("pelto"), 0);
  EXPECT_EQ(Enter(" PELTO"), 0);
  EXPECT_EQ(Enter("PELTO "), 0);
  EXPECT_EQ(Enter("PELT"), 0);
  EXPECT_EQ(Enter(""), 0);

  ui_.onModal(p_.password, [&] { ui_.click(p_.password.Annulla); });
  p_.password.Show(plat::ShowMode::Modal);
  EXPECT_EQ(p_.shell.PassResult, 2);
}

TEST_F(SystemSetupTest, OpensWithDefaultsAndSavesAllThreeOptions) {
  p_.rt.regional = plat::RegionalSettings::Italian();
  ui_.onModal(p_.sysSetUp, [&] {
    SYS_SET_UP& f = p_.sysSetUp;
    EXPECT_EQ(f.CkAbilOpa.Value(), plat::CheckBox::kUnchecked);
    EXPECT_EQ(f.CkAbilKymra.Value(), plat::CheckBox::kUnchecked);
    EXPECT_EQ(f.CkAbilTt.Value(), plat::CheckBox::kUnchecked);
    EXPECT_EQ(f.TKquad.Text(), "1E-09");
    EXPECT_EQ(f.TKlin.Text(), "0,008");
    ui_.click(f.CkAbilOpa);
    ui_.click(f.CkAbilKymra);
    ui_.click(f.CkAbilTt);
    ui_.type(f.TKlin, "0,009");
    ui_.enter(f);  // CSalva is the default button
  });
  p_.sysSetUp.Show(plat::ShowMode::Modal);
  EXPECT_FALSE(p_.sysSetUp.IsLoaded());
  EXPECT_EQ(Settings(), std::tuple(7, 1E-09, 0.009));
  EXPECT_NE(ReadConf().find("AbiM=\x90\xF1\xD5\xCE\xC9"), std::string::npos);  // "7Vrin"

  // The next opening shows what was saved; a grey box counts as not checked.
  ui_.onModal(p_.sysSetUp, [&] {
    SYS_SET_UP& f = p_.sysSetUp;
    EXPECT_EQ(f.CkAbilOpa.Value(), plat::CheckBox::kChecked);
    EXPECT_EQ(f.CkAbilTt.Value(), plat::CheckBox::kChecked);
    EXPECT_EQ(f.TKlin.Text(), "0,009");
    f.CkAbilKymra.setValue(plat::CheckBox::kGrayed);
    ui_.click(f.CSalva);
  });
  p_.sysSetUp.Show(plat::ShowMode::Modal);
  EXPECT_EQ(p_.shell.SystemEnableMask, 5);
}

TEST_F(SystemSetupTest, CoefficientThatIsNotANumberChangesNothing) {
  p_.rt.regional = plat::RegionalSettings::Italian();
  Save(1, 2E-09, 0.01);
  const std::string before = ReadConf();
  ui_.onModal(p_.sysSetUp, [&] {
    SYS_SET_UP& f = p_.sysSetUp;
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
  p_.sysSetUp.Show(plat::ShowMode::Modal);
  EXPECT_EQ(ui_.boxes().size(), 2u);
  EXPECT_EQ(Settings(), std::tuple(1, 2E-09, 0.01));
  EXPECT_EQ(ReadConf(), before);
}

}  // namespace
}  // namespace vs
