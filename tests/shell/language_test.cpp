// The language table: the section a code chooses, a key not found, a file without texts,
// and the shipped data/Lingua.ini.
#include "shell/LanguageTable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ini/PrivateProfile.h"
#include "platform/text/Cp1252.h"
#include "shell/ShellState.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

TEST(LanguageTableTest, CodeChoosesTheSectionAndAKeyNotFoundRepeatsTheTextBefore) {
  const plat::test::TempFolder dir{"vs-lang"};
  std::string file;  // text k is "<section><k>"; no key 3, key 50 empty, English lacks key 0
  for (const std::string section : {"ITALIANO", "INGLESE"}) {
    file += "[" + section + "]\r\n";
    for (int k = section == "INGLESE" ? 1 : 0; k < kLanguageTextCount; ++k) {
      if (k != 3)
        file += std::string(LanguageKey(k)) + "=" + (k == 50 ? "" : section + std::to_string(k)) +
                "\r\n";
    }
  }
  plat::test::WriteBytes(dir / "Lingua.ini", plat::Utf8ToCp1252(file));
  ShellState s;
  const auto t = [](const std::string& section, int k) {  // text k of `section` as loaded
    return section.empty() || (k == 0 && section == "INGLESE") ? "" : section + std::to_string(k);
  };
  const std::pair<std::int16_t, std::string> codes[] = {
      {0, "ITALIANO"}, {1, "ITALIANO"},  {2, "INGLESE"},     {3, ""},
      {4, "ITALIANO"}, {-1, "ITALIANO"}, {32767, "ITALIANO"}};
  for (const auto& [code, section] : codes) {
    LoadLanguageTexts(s, dir.path(), code == 2 ? 1 : 2);  // an earlier load's texts never stay
    EXPECT_EQ(LoadLanguageTexts(s, dir.path(), code).state,
              section.empty() ? LanguageLoad::State::NoTexts : LanguageLoad::State::Loaded);
    EXPECT_EQ((std::vector{s.LangText[0], s.LangText[3], s.LangText[50], s.LangText[166]}),
              (std::vector{t(section, 0), t(section, 2), t(section, 49), t(section, 166)}))
        << code;
  }
  std::filesystem::remove(dir / "Lingua.ini");
  EXPECT_EQ(LoadLanguageTexts(s, dir.path(), 2).state, LanguageLoad::State::Missing);
  EXPECT_EQ(s.LangText[1] + s.LangText[166], "");
  EXPECT_TRUE(LanguageKey(-1).empty() && LanguageKey(kLanguageTextCount).empty());
}

// Every text in each shipped language, short enough to be read whole; the verdicts differ,
// or a failed test would read as passed.
TEST(LanguageDataTest, ShippedFileHasEveryTextInEveryLanguage) {
  const plat::Profile file(plat::test::ReadBytes(plat::test::DataFolder() / "Lingua.ini"));
  for (const char* section : {"ITALIANO", "INGLESE", "SPAGNOLO"}) {
    const auto text = [&](std::size_t k) { return file.Value(section, lang::kKeys[k]); };
    for (std::size_t k = 0; k < lang::kCount; ++k) {
      EXPECT_TRUE(text(k) && text(k)->size() < 254) << section << " " << lang::kKeys[k];
    }
    EXPECT_NE(text(lang::ANGASProSup), text(lang::ANGASProNnSup)) << section;
    EXPECT_NE(text(lang::GeneralePos), text(lang::GeneraleNeg)) << section;
  }
}

}  // namespace
}  // namespace vs
