#include "platform/ini/PrivateProfile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "platform/text/Cp1252.h"
#include "support/TempFolder.h"

namespace plat {
namespace {

namespace fs = std::filesystem;
using Value = std::optional<std::string>;

TEST(ProfileReadTest, NamesQuotesBlanksFirstMatchLineEndsLengthAndEncoding) {
  const std::string rules =
      "k0=before any section\r\n; comment=not a key\r\n[Sez]\r\n  Key1 = value one  \r\n"
      "KEY2=\"quoted value\"\nk3='single'\r\nk4=\"unbalanced'\r\nk5=\r\nk6=\"\"\r\n"
      "k7=\"in\"side\"\r\nno equals sign\r\nkey1=second\r\nk8=a=b;c[d]\r\n"
      " [ sez ] trailing\nk9=later section of the same name\r\n[Other\r\nk1=unclosed header";
  const std::string utf8 = "[S]\r\nMen\xC3\xB9Lingua=&Lingua\r\nCitt\xC3\xA0=Orist\xC3\xA0\r\n";
  const std::string x300(300, 'x'), x254(254, 'x'), a254 = Cp1252ToUtf8(std::string(254, '\xE0'));
  const struct {
    std::string file;
    const char *section, *key;
    Value value;
  } cases[] = {
      {rules, "sez", "key1", "value one"},
      {rules, "  SEZ ", " Key2 ", "quoted value"},
      {rules, "Sez", "k3", "single"},
      {rules, "Sez", "k4", "\"unbalanced'"},
      {rules, "Sez", "k5", std::nullopt},
      {rules, "Sez", "k6", std::nullopt},
      {rules, "Sez", "k7", "in\"side"},
      {rules, "Sez", "k8", "a=b;c[d]"},
      {rules, "Sez", "k9", std::nullopt},
      {rules, "Sez", "k0", std::nullopt},
      {rules, "Sez", "; comment", std::nullopt},
      {rules, "Sez", "no equals sign", std::nullopt},
      {rules, "Other", "k1", "unclosed header"},
      {rules, "Missing", "key1", std::nullopt},
      // A lone CR ends a line as LF and CR LF do.
      {"[S]\rk=1\rj=2\r", "S", "j", "2"},
      {"[S]\r\nk=1\rj=2\r\n", "S", "k", "1"},
      {"[S]\nk=1\r\r\nj=2", "S", "j", "2"},
      {"[T]\rk=1\r[S]\rk=3", "S", "k", "3"},
      // 254 characters, counted after the quotes go.
      {"[S]\r\nk=\"" + x300 + "\"", "S", "k", x254},
      {"[S]\r\nk=" + std::string(300, '\xE0'), "S", "k", a254},
      {"[S]\nk=" + Cp1252ToUtf8(std::string(300, '\xE0')), "S", "k", a254},
      {"[S]\r\nk=" + x300 + "\xC3\xA0", "S", "k", x254},
      // Windows-1252, unless valid UTF-8 with a byte above 0x7F; names compare without case.
      {"[S]\r\nUmidit\xE0Relativa=55", "s", "UMIDITÀRELATIVA", "55"},
      {"[S]\r\nMen\xF9Lingua=\xE0\r\n", "S", "MenùLingua", "à"},
      {utf8, "S", "MENÙLINGUA", "&Lingua"},
      {utf8, "S", "Città", "Oristà"},
      {"\xEF\xBB\xBF" + utf8, "S", "MenùLingua", "&Lingua"},  // after a byte-order mark
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProfileValueIn(c.file, c.section, c.key), c.value) << c.file << " " << c.key;
  EXPECT_EQ(SectionNamesIn(rules), (std::vector<std::string>{"Sez", "sez", "Other"}));
  EXPECT_EQ(SectionNamesIn("\xEF\xBB\xBF[Sezione \xC3\xA0]\n"),
            std::vector<std::string>{"Sezione à"});
}

TEST(ProfileWriteTest, LinesEndingsAndEncodingAsTheFileHasThemAndEachLineBreakOneBlank) {
  const std::string utf8 = "[S]\r\nMen\xC3\xB9Lingua=&Lingua\r\nCitt\xC3\xA0=Orist\xC3\xA0\r\n";
  const struct {
    std::string file;
    const char *section, *key, *value, *written;
  } cases[] = {
      {"", "S", "k", "", "[S]\r\nk=\r\n"},  // written, and reads as missing
      {"", "S", "Città", "è", "[S]\r\nCitt\xE0=\xE8\r\n"},
      {"[S]\r\nk=\xE0\r\n", "S", "k", "è π", "[S]\r\nk=\xE8 ?\r\n"},
      {utf8, "S", "Città", "Πάτρα 😀",
       "[S]\r\nMen\xC3\xB9Lingua=&Lingua\r\nCitt\xC3\xA0=Πάτρα 😀\r\n"},
      {"[S]\r\nUmidit\xE0Relativa=55\r\n", "s", "UMIDITÀRELATIVA", "60 %",
       "[S]\r\nUmidit\xE0Relativa=60 %\r\n"},
      // The other lines keep their own endings.
      {"[S]\rk=1\rj=2\r", "S", "j", "3", "[S]\rk=1\rj=3\r\n"},
      {"[S]\rk=1\r", "S", "j", "3", "[S]\rk=1\rj=3\r\n"},
      // No text can add a line.
      {"", "S", "k", "Mario\r\nRossi|Mario\rRossi|Mario\nRossi|a\r\r\nb|a\n\rb",
       "[S]\r\nk=Mario Rossi|Mario Rossi|Mario Rossi|a  b|a  b\r\n"},
      {"", "S", "k", "Rossi\r\n[IMPOSTAZIONI]\nAbiM=7", "[S]\r\nk=Rossi [IMPOSTAZIONI] AbiM=7\r\n"},
      {"", "A\nB", "k\r\nk", "v", "[A B]\r\nk k=v\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WithProfileValue(c.file, c.section, c.key, c.value), c.written) << c.value;
}

TEST(ProfileWriteTest, WriteThenReadGivesTheValueBack) {
  // Every byte but NUL, CR and LF, as the scrambled system values may hold them; what the
  // rules take away: blanks at the ends and one pair of enclosing quotes.
  std::string bytes;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  }
  const std::pair<std::string, std::string> values[] = {{Cp1252ToUtf8(bytes), Cp1252ToUtf8(bytes)},
                                                        {";[S]=\x7f", ";[S]=\x7f"},
                                                        {" ‡ ", "‡"},
                                                        {"\"=[;\"", "=[;"},
                                                        {"new", "new"}};
  // Awkward files: no final line break, CR-only endings, lines before any section, a header
  // with no closing bracket, two sections of one name, a comment where the section goes.
  for (const std::string& file :
       {std::string(), std::string("[S]"), std::string("[S]\rk=1\r"), std::string("x=1\n[S"),
        std::string("[s]\nK = 1\n[S]\nk=2"), std::string("\n\n;[S]")}) {
    for (const auto& [value, back] : values) {
      const std::string written = WithProfileValue(file, "S", "k", value);
      EXPECT_EQ(ProfileValueIn(written, "S", "k"), back) << file;
      EXPECT_EQ(WithProfileValue(written, "S", "k", value), written) << file;
    }
  }
}

class IniTest : public ::testing::Test {
 protected:
  void Put(const std::string& bytes) { test::WriteBytes(file_, bytes); }
  std::string Bytes() const { return test::ReadBytes(file_); }
  std::size_t EntriesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_.path()), {}));
  }

  test::TempFolder dir_{"vs-ini"};
  fs::path file_ = dir_ / "Conf.ini";
};

TEST_F(IniTest, WriteKeepsEveryOtherLineAndPlacesNewKeysAndSections) {
  Put("; Station settings\r\n\r\n[VEICOLO]\n  Targa = AB123CD  \r\nUnknown=kept\r\n"
      "; trailing comment\r\n\r\n[Citt\xE0]\r\n\r\n[UTENTE]\r\nEnte=Officina");
  ASSERT_TRUE(WriteProfileString(file_, "veicolo", "targa", "XY987ZW"));
  ASSERT_TRUE(WriteProfileString(file_, "VEICOLO", " Anno ", "2004"));
  ASSERT_TRUE(WriteProfileString(file_, "CITTÀ", "k", "v"));
  ASSERT_TRUE(WriteProfileString(file_, "UTENTE", "Operatore", "Rossi"));
  ASSERT_TRUE(WriteProfileString(file_, "LINGUA", "TLingua", "2"));
  EXPECT_EQ(Bytes(),
            "; Station settings\r\n\r\n[VEICOLO]\nTarga=XY987ZW\r\nUnknown=kept\r\nAnno=2004\r\n"
            "; trailing comment\r\n\r\n[Citt\xE0]\r\nk=v\r\n\r\n"
            "[UTENTE]\r\nEnte=Officina\r\nOperatore=Rossi\r\n[LINGUA]\r\nTLingua=2\r\n");
  EXPECT_EQ(ReadProfileString(file_, "VEICOLO", "Targa"), "XY987ZW");
  EXPECT_EQ(ReadSectionNames(file_),
            (std::vector<std::string>{"VEICOLO", "Città", "UTENTE", "LINGUA"}));
  // Missing files and folders read as empty.
  EXPECT_FALSE(ReadProfileString(dir_ / "absent.ini", "S", "k") ||
               !ReadSectionNames(dir_ / "absent.ini").empty() ||
               ReadProfileString(dir_.path(), "S", "k"));
}

TEST_F(IniTest, FailedWriteLeavesTheOldFileIntactAndGivesItsReason) {
  const std::string old = "[S]\r\nk=old\r\n";
  Put(old);
  // The disk fills up while the new file is written.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{8, saved.rlim_max};
  void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteProfileString(file_, "S", "k", std::string(100, 'n'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  // No temporary file left behind.
  EXPECT_EQ(std::tuple(written, Bytes(), EntriesInFolder()), std::tuple(false, old, 1u));

  // A folder that does not exist, and a settings path that is a folder.
  const std::vector<ProfileEntry> entry = {{"k", "v"}};
  EXPECT_EQ(WriteProfileValues(dir_ / "missing" / "Conf.ini", "S", entry),
            std::errc::no_such_file_or_directory);
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  fs::create_directory(dir_ / "sub.ini");
  EXPECT_EQ(WriteProfileValues(dir_ / "sub.ini", "S", entry), std::errc::is_a_directory);
  EXPECT_FALSE(WriteProfileString("", "S", "k", "v"));
}

TEST_F(IniTest, ReplacingKeepsModeAndLinksAndRemovesTemporaryFilesOfAKilledWrite) {
  // A writer that is gone: a child that has ended.
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const auto temp = [&](const std::string& rest) { return dir_ / (".Conf.ini.tmp" + rest); };
  // Of the writer that is gone, of one that still runs, and two that are not this file's.
  const fs::path stale = temp(std::to_string(child) + "-0"),
                 running = temp(std::to_string(getppid()) + "-0"), other = temp("notes"),
                 otherFile = dir_ / (".Lingua.ini.tmp" + std::to_string(child) + "-0");
  for (const fs::path& f : {stale, running, other, otherFile}) test::WriteBytes(f, "[S]\r\n");
  ASSERT_TRUE(WriteProfileString(file_, "S", "k", "v"));  // a new file
  EXPECT_EQ(Bytes(), "[S]\r\nk=v\r\n");
  EXPECT_EQ(
      std::tuple(fs::exists(stale), fs::exists(running), fs::exists(other), fs::exists(otherFile)),
      std::tuple(false, true, true, true));

  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(file_, mode);
  const fs::path link = dir_ / "link.ini";
  fs::create_symlink(file_, link);
  ASSERT_TRUE(WriteProfileString(link, "S", "k", "through the link"));
  // The folder holds the file, the link and the three others' files.
  EXPECT_EQ(std::tuple(fs::is_symlink(link), fs::status(file_).permissions() == mode,
                       ReadProfileString(file_, "S", "k"), EntriesInFolder()),
            std::tuple(true, true, Value("through the link"), 5u));
}

}  // namespace
}  // namespace plat
