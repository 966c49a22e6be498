// The language table: how LoadLanguageTexts reads "Lingua.ini", and the shipped
// data/Lingua.ini (three complete sections in the program's key order, Windows-1252 with
// CR LF line ends, a non-empty text for every index).
#include "shell/LanguageTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "forms/Program.h"
#include "platform/text/Cp1252.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

namespace fs = std::filesystem;

fs::path ShippedLingua() { return plat::test::DataFolder() / "Lingua.ini"; }

// One section of a language file: every key with the text "<tag> <index>", except the
// indexes in `missing` (left out) and `empty` (written as "key=").
std::string Section(const std::string& name, const std::string& tag,
                    const std::set<int>& missing = {}, const std::set<int>& empty = {}) {
  std::string s = "[" + name + "]\r\n";
  for (int k = 0; k < kLanguageTextCount; ++k) {
    if (missing.count(k)) continue;
    s += std::string(LanguageKey(k)) + "=";
    if (!empty.count(k)) s += tag + " " + std::to_string(k);
    s += "\r\n";
  }
  return s;
}

class LanguageTableTest : public ::testing::Test {
 protected:
  void SetUp() override { p_.rt.currentDirectory = dir_.path(); }

  // Writes "Lingua.ini" from UTF-8 text, stored as Windows-1252 like the real file.
  void WriteLingua(const std::string& utf8) const {
    plat::test::WriteBytes(dir_ / "Lingua.ini", plat::Utf8ToCp1252(utf8));
  }
  const std::string& Text(int k) const { return p_.shell.LangText[static_cast<std::size_t>(k)]; }

  plat::test::TempFolder dir_{"vs-lang"};
  Program p_{plat::EventLoop::ClockKind::Manual};
};

TEST_F(LanguageTableTest, CodeChoosesSectionAndEveryKeyIsFound) {
  WriteLingua(Section("ITALIANO", "it") + Section("INGLESE", "en") + Section("SPAGNOLO", "es"));
  const struct {
    std::int16_t code;
    const char* tag;
  } cases[] = {{0, "it"},
               {1, "it"},
               {2, "en"},
               {3, "es"},
               // A hand-edited code must not turn every text into the section names.
               {4, "it"},
               {-1, "it"},
               {32767, "it"}};
  for (const auto& c : cases) {
    LoadLanguageTexts(p_.shell, dir_.path(), 2);
    LoadLanguageTexts(p_.shell, dir_.path(), c.code);
    for (int k = 0; k < kLanguageTextCount; ++k) {
      // A key not found would repeat the text before it, so each index has its own text.
      ASSERT_EQ(Text(k), std::string(c.tag) + " " + std::to_string(k))
          << "code " << c.code << ", key " << LanguageKey(k);
    }
  }
  EXPECT_EQ(p_.shell.ConfIniPath, (dir_ / "Lingua.ini").string());
}

TEST_F(LanguageTableTest, MissingOrEmptyKeyRepeatsTheTextBeforeIt) {
  WriteLingua(Section("ITALIANO", "it", /*missing=*/{3, 100, 101}, /*empty=*/{50}) +
              Section("INGLESE", "en", /*missing=*/{0}));
  LoadLanguageTexts(p_.shell, dir_.path(), 1);
  const std::pair<int, const char*> cases[] = {{2, "it 2"},   {3, "it 2"},    {4, "it 4"},
                                               {50, "it 49"}, {101, "it 99"}, {102, "it 102"}};
  for (const auto& [k, text] : cases) EXPECT_EQ(Text(k), text) << k;
  // A missing first key is empty, not the text an earlier load left there.
  LoadLanguageTexts(p_.shell, dir_.path(), 2);
  EXPECT_EQ(Text(0), "");
  EXPECT_EQ(Text(1), "en 1");
}

TEST_F(LanguageTableTest, MissingSectionOrFileEmptiesEveryTextAndSaysSo) {
  using State = LanguageLoad::State;
  WriteLingua(Section("ITALIANO", "it") + Section("INGLESE", "en"));
  EXPECT_EQ(LoadLanguageTexts(p_.shell, dir_.path(), 2).state, State::Loaded);
  ASSERT_EQ(Text(166), "en 166");
  const LanguageLoad noSection = LoadLanguageTexts(p_.shell, dir_.path(), 3);
  EXPECT_EQ(noSection.state, State::NoTexts);
  EXPECT_EQ(noSection.section, "SPAGNOLO");
  for (int k = 0; k < kLanguageTextCount; ++k) EXPECT_EQ(Text(k), "") << k;

  LoadLanguageTexts(p_.shell, dir_.path(), 2);
  std::filesystem::remove(dir_ / "Lingua.ini");
  EXPECT_EQ(LoadLanguageTexts(p_.shell, dir_.path(), 2).state, State::Missing);
  for (int k = 0; k < kLanguageTextCount; ++k) EXPECT_EQ(Text(k), "") << k;
}

TEST(LanguageDataTest, FileHasThreeSectionsWithEveryKeyInOrder) {
  const std::string bytes = plat::test::ReadBytes(ShippedLingua());
  ASSERT_GT(bytes.size(), 2u);
  ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  // Every line ends in CR LF; the lines that are not blank are the three headers, each
  // followed by every key in order (as bytes: "Menù" is the single byte 0xF9).
  std::vector<std::string> keys, expected;
  for (std::size_t at = 0, end; at < bytes.size(); at = end + 2) {
    end = bytes.find("\r\n", at);
    const std::string line = bytes.substr(at, end - at);
    ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << "bare line end: " << line;
    if (line.empty()) continue;
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) {
      const std::string value = line.substr(eq + 1);
      EXPECT_TRUE(!value.empty() && value.front() != ' ' && value.back() != ' ' &&
                  value.size() <= 254)
          << line;
    }
    keys.push_back(line.substr(0, eq));
  }
  for (const char* section : {"[ITALIANO]", "[INGLESE]", "[SPAGNOLO]"}) {
    expected.push_back(section);
    for (int k = 0; k < kLanguageTextCount; ++k) {
      expected.push_back(plat::Utf8ToCp1252(LanguageKey(k)));
    }
  }
  EXPECT_EQ(keys, expected);
}

TEST_F(LanguageTableTest, EachShippedLanguageHasEveryTextAndDistinctVerdicts) {
  fs::copy_file(ShippedLingua(), dir_ / "Lingua.ini");
  for (std::int16_t code : {std::int16_t{1}, std::int16_t{2}, std::int16_t{3}}) {
    LoadLanguageTexts(p_.shell, dir_.path(), code);
    for (int k = 0; k < kLanguageTextCount; ++k) {
      EXPECT_FALSE(Text(k).empty()) << "code " << code << " " << LanguageKey(k);
    }
    // Verdict texts must differ, or a failed test would read as passed.
    EXPECT_NE(Text(57), Text(59)) << code;
    EXPECT_NE(Text(135), Text(136)) << code;
  }
}

}  // namespace
}  // namespace vs
