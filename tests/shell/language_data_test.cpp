// Checks the shipped data/Lingua.ini: three complete sections in the program's key order,
// Windows-1252 with CR LF line ends, and a non-empty text for every index.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Program.h"
#include "platform/text/Cp1252.h"
#include "shell/LanguageTable.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

namespace fs = std::filesystem;

using plat::test::ReadBytes;

fs::path ShippedLingua() { return plat::test::DataFolder() / "Lingua.ini"; }

TEST(LanguageDataTest, FileHasThreeSectionsWithEveryKeyInOrder) {
  const std::string bytes = ReadBytes(ShippedLingua());
  ASSERT_FALSE(bytes.empty());

  // Every line ends in CR LF; split on that.
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    ASSERT_NE(end, std::string::npos) << "last line without line end";
    ASSERT_GT(end, at) << "bare LF at byte " << end;
    ASSERT_EQ(bytes[end - 1], '\r') << "bare LF at byte " << end;
    lines.push_back(bytes.substr(at, end - 1 - at));
    at = end + 1;
  }

  const char* sections[] = {"[ITALIANO]", "[INGLESE]", "[SPAGNOLO]"};
  std::size_t line = 0;
  for (const char* section : sections) {
    while (line < lines.size() && lines[line].empty()) ++line;
    ASSERT_LT(line, lines.size());
    ASSERT_EQ(lines[line++], section);
    for (int k = 0; k < kLanguageTextCount; ++k, ++line) {
      ASSERT_LT(line, lines.size()) << section << " ends before key " << k;
      const std::string& l = lines[line];
      const std::size_t eq = l.find('=');
      ASSERT_NE(eq, std::string::npos) << section << " line " << l;
      // Keys compare as bytes: "Menù" must be the single byte 0xF9 on disk.
      EXPECT_EQ(l.substr(0, eq), plat::Utf8ToCp1252(LanguageKey(k))) << section << " " << k;
      const std::string value = l.substr(eq + 1);
      EXPECT_FALSE(value.empty()) << section << " " << LanguageKey(k);
      EXPECT_NE(value.front(), ' ') << section << " " << LanguageKey(k);
      EXPECT_NE(value.back(), ' ') << section << " " << LanguageKey(k);
      EXPECT_LE(value.size(), 254u) << section << " " << LanguageKey(k);
    }
  }
  for (; line < lines.size(); ++line) EXPECT_EQ(lines[line], "") << "extra line " << line;
  EXPECT_NE(bytes.find("Men\xF9titolo="), std::string::npos);
  EXPECT_EQ(bytes.find("Men\xC3\xB9"), std::string::npos) << "key stored as UTF-8";
}

class LanguageDataLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(ShippedLingua(), dir_ / "Lingua.ini");
    p_.rt.currentDirectory = dir_.path();
  }
  const std::string& Text(int k) const { return p_.shell.LangText[static_cast<std::size_t>(k)]; }

  plat::test::TempFolder dir_{"vs-lingua"};
  Program p_{plat::EventLoop::ClockKind::Manual};
};

TEST_F(LanguageDataLoadTest, EachLanguageHas167NonEmptyTexts) {
  for (std::int16_t code : {std::int16_t{1}, std::int16_t{2}, std::int16_t{3}}) {
    LoadLanguageTexts(p_, code);
    for (int k = 0; k < kLanguageTextCount; ++k) {
      EXPECT_FALSE(Text(k).empty()) << "code " << code << " " << LanguageKey(k);
    }
  }
}

TEST_F(LanguageDataLoadTest, TextsTheProgramDependsOn) {
  LoadLanguageTexts(p_, 0);
  EXPECT_EQ(Text(45), "Misura");  // measure items; status text compared by the reading logs
  EXPECT_EQ(Text(48), "BENZ");
  EXPECT_EQ(Text(49), "BENZ CAT");
  EXPECT_EQ(Text(50), "GPL");
  EXPECT_EQ(Text(51), "GPL CAT");
  EXPECT_EQ(Text(74), "Dati Ambientali");
  EXPECT_EQ(Text(125), "Lettura COM");
  EXPECT_EQ(Text(11), "ESITO PROVA");
  EXPECT_EQ(Text(158), "&Utilità");  // Windows-1252 on disk, UTF-8 in the table
  LoadLanguageTexts(p_, 3);
  EXPECT_EQ(Text(4), "&Idioma");
  EXPECT_EQ(Text(157).substr(0, 2), "¿");
  // Verdict texts must differ, or a failed test would read as passed.
  for (std::int16_t code : {std::int16_t{1}, std::int16_t{2}, std::int16_t{3}}) {
    LoadLanguageTexts(p_, code);
    EXPECT_NE(Text(57), Text(59)) << code;
    EXPECT_NE(Text(135), Text(136)) << code;
  }
}

}  // namespace
}  // namespace vs
