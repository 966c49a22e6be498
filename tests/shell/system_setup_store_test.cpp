#include <gtest/gtest.h>

#include <string>

#include "platform/text/Cp1252.h"
#include "shell/SystemSetup.h"
#include "shell/settings_test_fixture.h"

namespace vs {
namespace {

class SystemSettingsTest : public test::ConfDirTest {
 protected:
  // The bytes behind "key=" up to the end of its line.
  std::string StoredBytes(const std::string& key) const {
    const std::string text = ReadConf();
    const auto at = text.find("\n" + key + "=");
    if (at == std::string::npos) return "<missing>";
    const auto from = at + key.size() + 2;
    const auto end = text.find_first_of("\r\n", from);
    return text.substr(from, end - from);
  }
};

TEST(ScrambleStringTest, EveryCodeRoundTripsAndTheKeyIsA7) {
  EXPECT_EQ(ScrambleString(""), "");
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  const std::string text = plat::Cp1252ToUtf8(all);
  const std::string once = ScrambleString(text);
  EXPECT_NE(once, text);
  EXPECT_EQ(ScrambleString(once), text);
  const std::string bytes = plat::Utf8ToCp1252(once);
  ASSERT_EQ(bytes.size(), all.size());  // same length, one code per character
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(all[i]) ^ 0xA7);
  }
}

TEST_F(SystemSettingsTest, StoredBytesAreTheScrambledTexts) {
  SaveSystemSettings(p_, 0, 1E-09, 0.008);
  EXPECT_EQ(StoredBytes("AbiM"), "\x97\xF1\xD5\xCE\xC9");   // "0Vrin"
  EXPECT_EQ(StoredBytes("Kquad"), "\x96\xE2\x8A\x97\x9E");  // "1E-09"
  EXPECT_EQ(StoredBytes("Klin"), "\x97\x89\x97\x97\x9F");   // "0.008"
  SaveSystemSettings(p_, 7, 1E-09, 0.008);
  EXPECT_EQ(StoredBytes("AbiM"), "\x90\xF1\xD5\xCE\xC9");  // "7Vrin"
  p_.rt.regional = plat::RegionalSettings::Italian();
  SaveSystemSettings(p_, 7, 1E-09, 0.008);
  EXPECT_EQ(StoredBytes("Klin"), "\x97\x8B\x97\x97\x9F");  // "0,008"
  EXPECT_EQ(ReadConf().find("Vrin"), std::string::npos);
}

TEST_F(SystemSettingsTest, RoundTripUnderBothSeparators) {
  for (const char* sep : {".", ","}) {
    p_.rt.regional.decimalSeparator = sep;
    SaveSystemSettings(p_, 6, 2.5E-09, 0.0125);
    p_.shell.SystemEnableMask = 0;
    p_.shell.GasKquad = p_.shell.GasKlin = 0;
    LoadSystemSettings(p_);
    EXPECT_EQ(p_.shell.SystemEnableMask, 6) << sep;
    EXPECT_EQ(p_.shell.GasKquad, 2.5E-09) << sep;
    EXPECT_EQ(p_.shell.GasKlin, 0.0125) << sep;
  }
}

TEST_F(SystemSettingsTest, MissingFileOrKeysGiveTheDefaults) {
  p_.shell.SystemEnableMask = 5;
  p_.shell.GasKquad = p_.shell.GasKlin = 3;
  LoadSystemSettings(p_);
  EXPECT_EQ(p_.shell.SystemEnableMask, 0);
  EXPECT_EQ(p_.shell.GasKquad, 1E-09);
  EXPECT_EQ(p_.shell.GasKlin, 0.008);

  // AbiM present, Kquad missing: Kquad takes its default instead of the mask text.
  SaveSystemSettings(p_, 3, 2E-09, 0.01);
  std::string text = ReadConf();
  const auto at = text.find("Kquad=");
  text.erase(at, text.find('\n', at) + 1 - at);
  WriteConf(text);
  p_.shell.GasKquad = 7;
  LoadSystemSettings(p_);
  EXPECT_EQ(p_.shell.SystemEnableMask, 3);
  EXPECT_EQ(p_.shell.GasKquad, 1E-09);
  EXPECT_EQ(p_.shell.GasKlin, 0.01);
}

TEST_F(SystemSettingsTest, ValuesThatDoNotUnscrambleToNumbersKeepTheirVariables) {
  // A hand-edited file: AbiM plain "7Vrin" unscrambles to a non-digit; Kquad plain
  // "1E-09"; Klin scrambled "4Vrin" (the tag is never checked, only the first character
  // of AbiM counts) but is no number for Klin.
  const std::string klin = plat::Utf8ToCp1252(ScrambleString("4Vrin"));
  WriteConf("[IMPOSTAZIONI]\r\nAbiM=7Vrin\r\nKquad=1E-09\r\nKlin=" + klin + "\r\n");
  p_.shell.SystemEnableMask = 2;
  p_.shell.GasKquad = 5E-09;
  p_.shell.GasKlin = 0.02;
  LoadSystemSettings(p_);
  EXPECT_EQ(p_.shell.SystemEnableMask, 2);
  EXPECT_EQ(p_.shell.GasKquad, 5E-09);
  EXPECT_EQ(p_.shell.GasKlin, 0.02);

  // Only the first character of the unscrambled mask counts.
  const std::string mask = plat::Utf8ToCp1252(ScrambleString("5xyz"));
  const std::string quad = plat::Utf8ToCp1252(ScrambleString("3E-09"));
  WriteConf("[IMPOSTAZIONI]\r\nAbiM=" + mask + "\r\nKquad=" + quad + "\r\n");
  LoadSystemSettings(p_);
  EXPECT_EQ(p_.shell.SystemEnableMask, 5);
  EXPECT_EQ(p_.shell.GasKquad, 3E-09);
  EXPECT_EQ(p_.shell.GasKlin, 0.008);
}

}  // namespace
}  // namespace vs
