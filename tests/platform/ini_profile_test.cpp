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

class IniTest : public ::testing::Test {
 protected:
  void Put(const std::string& bytes) { test::WriteBytes(file_, bytes); }
  std::string Bytes() const { return test::ReadBytes(file_); }
  std::size_t EntriesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_.path()), {}));
  }
  std::optional<std::string> Read(std::string_view section, std::string_view key) const {
    return ReadProfileString(file_, section, key);
  }

  test::TempFolder dir_{"vs-ini"};
  fs::path file_ = dir_ / "Conf.ini";
};

TEST_F(IniTest, ReadRulesNamesQuotesBlanksAndFirstMatch) {
  Put("k0=before any section\r\n"
      "; comment=not a key\r\n"
      "[Sez]\r\n"
      "  Key1 = value one  \r\n"
      "KEY2=\"quoted value\"\n"
      "k3='single'\r\n"
      "k4=\"unbalanced'\r\n"
      "k5=\r\n"
      "k6=\"\"\r\n"
      "k7=\"in\"side\"\r\n"
      "no equals sign\r\n"
      "key1=second\r\n"
      "k8=a=b;c[d]\r\n"
      " [ sez ] trailing\n"
      "k9=later section of the same name\r\n"
      "[Other\r\n"
      "k1=unclosed header");
  EXPECT_EQ(Read("sez", "key1"), "value one");
  EXPECT_EQ(Read("  SEZ ", " Key2 "), "quoted value");
  EXPECT_EQ(Read("Sez", "k3"), "single");
  EXPECT_EQ(Read("Sez", "k4"), "\"unbalanced'");
  EXPECT_EQ(Read("Sez", "k5"), std::nullopt);
  EXPECT_EQ(Read("Sez", "k6"), std::nullopt);
  EXPECT_EQ(Read("Sez", "k7"), "in\"side");
  EXPECT_EQ(Read("Sez", "k8"), "a=b;c[d]");
  EXPECT_EQ(Read("Sez", "k9"), std::nullopt);
  EXPECT_EQ(Read("Sez", "k0"), std::nullopt);
  EXPECT_EQ(Read("Sez", "; comment"), std::nullopt);
  EXPECT_EQ(Read("Sez", "no equals sign"), std::nullopt);
  EXPECT_EQ(Read("Other", "k1"), "unclosed header");
  EXPECT_EQ(Read("Missing", "key1"), std::nullopt);
  EXPECT_EQ(ReadSectionNames(file_), (std::vector<std::string>{"Sez", "sez", "Other"}));
  EXPECT_EQ(ReadProfileString(dir_ / "absent.ini", "Sez", "key1"), std::nullopt);
  EXPECT_TRUE(ReadSectionNames(dir_ / "absent.ini").empty());
  EXPECT_EQ(ReadProfileString(dir_.path(), "Sez", "key1"), std::nullopt);  // a folder
}

TEST_F(IniTest, ValuesAreCutTo254CharactersAfterTheQuotesGo) {
  const std::string x300(300, 'x');
  Put("[S]\r\nplain=" + x300 + "\r\nquoted=\"" + x300 + "\"\r\nwide=" + std::string(300, '\xE0') +
      "\r\n");
  EXPECT_EQ(Read("S", "plain"), std::string(254, 'x'));
  EXPECT_EQ(Read("S", "quoted"), std::string(254, 'x'));
  std::string a254;
  for (int i = 0; i < 254; ++i) a254 += "à";
  EXPECT_EQ(Read("S", "wide"), a254);
}

TEST_F(IniTest, WriteCreatesTheFileAndTheKeyIsWindows1252OnDisk) {
  ASSERT_TRUE(WriteProfileString(file_, "S", "k", ""));
  EXPECT_EQ(Bytes(), "[S]\r\nk=\r\n");  // an empty value is written, and reads as missing
  EXPECT_EQ(Read("S", "k"), std::nullopt);
  fs::remove(file_);
  ASSERT_TRUE(WriteProfileString(file_, "AMBIENTE", "UmiditàRelativa", "55"));
  EXPECT_EQ(Bytes(), "[AMBIENTE]\r\nUmidit\xE0Relativa=55\r\n");
  EXPECT_EQ(Read("ambiente", "UMIDITÀRELATIVA"), "55");
  ASSERT_TRUE(WriteProfileString(file_, "Ambiente", "UMIDITÀRELATIVA", "60 %"));
  EXPECT_EQ(Bytes(), "[AMBIENTE]\r\nUmidit\xE0Relativa=60 %\r\n");
  EXPECT_EQ(Read("AMBIENTE", "UmiditàRelativa"), "60 %");
}

TEST_F(IniTest, WriteKeepsEveryOtherLineAndPlacesNewKeysAndSections) {
  const std::string before =
      "; Station settings\r\n"
      "\r\n"
      "[VEICOLO]\n"
      "  Targa = AB123CD  \r\n"
      "Unknown=kept\r\n"
      "; trailing comment\r\n"
      "\r\n"
      "[EMPTY]\r\n"
      "\r\n"
      "[UTENTE]\r\n"
      "Ente=Officina";
  Put(before);
  ASSERT_TRUE(WriteProfileString(file_, "veicolo", "targa", "XY987ZW"));
  ASSERT_TRUE(WriteProfileString(file_, "VEICOLO", "Anno", "2004"));
  ASSERT_TRUE(WriteProfileString(file_, "EMPTY", "k", "v"));
  ASSERT_TRUE(WriteProfileString(file_, "UTENTE", "Operatore", "Rossi"));
  ASSERT_TRUE(WriteProfileString(file_, "LINGUA", "TLingua", "2"));
  EXPECT_EQ(Bytes(),
            "; Station settings\r\n"
            "\r\n"
            "[VEICOLO]\n"
            "Targa=XY987ZW\r\n"
            "Unknown=kept\r\n"
            "Anno=2004\r\n"
            "; trailing comment\r\n"
            "\r\n"
            "[EMPTY]\r\n"
            "k=v\r\n"
            "\r\n"
            "[UTENTE]\r\n"
            "Ente=Officina\r\n"
            "Operatore=Rossi\r\n"
            "[LINGUA]\r\n"
            "TLingua=2\r\n");
  EXPECT_EQ(Read("VEICOLO", "Targa"), "XY987ZW");
  EXPECT_EQ(Read("UTENTE", "Ente"), "Officina");
}

TEST(ProfileMemoryTest, EachLineBreakInANameOrValueIsWrittenAsOneBlank) {
  const struct {
    const char* value;
    const char* line;
  } cases[] = {
      {"Mario\r\nRossi", "Operatore=Mario Rossi"},
      {"Mario\rRossi", "Operatore=Mario Rossi"},
      {"Mario\nRossi", "Operatore=Mario Rossi"},
      {"a\r\r\nb", "Operatore=a  b"},
      {"a\n\rb", "Operatore=a  b"},
      {"Rossi\r\n[IMPOSTAZIONI]\nAbiM=7", "Operatore=Rossi [IMPOSTAZIONI] AbiM=7"},
  };
  for (const auto& c : cases) {
    const std::string written = WithProfileValue("", "UTENTE", "Operatore", c.value);
    EXPECT_EQ(written, std::string("[UTENTE]\r\n") + c.line + "\r\n") << c.value;
    EXPECT_EQ(SectionNamesIn(written), std::vector<std::string>{"UTENTE"});
  }
  EXPECT_EQ(ProfileValueIn(WithProfileValue("", "A\nB", "k\r\nk", "v"), "A B", "k k"), "v");
}

TEST(ProfileMemoryTest, ALoneCrEndsALineAsLfAndCrLfDo) {
  const struct {
    const char* file;
    const char* key;
    std::optional<std::string> value;
  } cases[] = {
      {"[S]\rk=1\rj=2\r", "k", "1"},     {"[S]\rk=1\rj=2\r", "j", "2"},
      {"[S]\r\nk=1\rj=2\r\n", "k", "1"}, {"[S]\r\nk=1\rj=2\r\n", "j", "2"},
      {"[S]\nk=1\r\r\nj=2", "j", "2"},   {"[T]\rk=1\r[S]\rk=3", "k", "3"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProfileValueIn(c.file, "S", c.key), c.value) << c.file;
  // A write keeps the other lines' endings as they were.
  EXPECT_EQ(WithProfileValue("[S]\rk=1\rj=2\r", "S", "j", "3"), "[S]\rk=1\rj=3\r\n");
  EXPECT_EQ(WithProfileValue("[S]\rk=1\r", "S", "j", "3"), "[S]\rk=1\rj=3\r\n");
}

TEST(ProfileMemoryTest, AFileThatIsValidUtf8WithNonAsciiBytesIsUtf8) {
  const std::string utf8Keys =
      "[ITALIANO]\r\nMen\xC3\xB9Lingua=&Lingua\r\nCitt\xC3\xA0=Orist\xC3\xA0\r\n";
  const struct {
    std::string file;
    const char* key;
    std::optional<std::string> value;
  } reads[] = {
      {utf8Keys, "MenùLingua", "&Lingua"},
      {utf8Keys, "MENÙLINGUA", "&Lingua"},
      {utf8Keys, "Città", "Oristà"},
      {"\xEF\xBB\xBF" + utf8Keys, "MenùLingua", "&Lingua"},  // after a byte-order mark
      {"[ITALIANO]\r\nMen\xF9Lingua=\xE0\r\n", "MenùLingua", "à"},
      {"[ITALIANO]\r\nk=" + std::string(300, 'x') + "\xC3\xA0", "k", std::string(254, 'x')},
  };
  for (const auto& c : reads) EXPECT_EQ(ProfileValueIn(c.file, "italiano", c.key), c.value);
  std::string a300;
  for (int i = 0; i < 300; ++i) a300 += "à";
  EXPECT_EQ(ProfileValueIn("[S]\nk=" + a300, "S", "k"), a300.substr(0, 2 * kProfileValueMax));

  // A write keeps the file's encoding; a new or ASCII-only file is Windows-1252.
  EXPECT_EQ(WithProfileValue(utf8Keys, "ITALIANO", "Città", "Πάτρα 😀"),
            "[ITALIANO]\r\nMen\xC3\xB9Lingua=&Lingua\r\nCitt\xC3\xA0=Πάτρα 😀\r\n");
  EXPECT_EQ(WithProfileValue("[S]\r\nk=\xE0\r\n", "S", "k", "è π"), "[S]\r\nk=\xE8 ?\r\n");
  EXPECT_EQ(WithProfileValue("", "S", "Città", "è"), "[S]\r\nCitt\xE0=\xE8\r\n");
  EXPECT_EQ(SectionNamesIn("\xEF\xBB\xBF[Sezione \xC3\xA0]\n"),
            std::vector<std::string>{"Sezione à"});
}

TEST_F(IniTest, ScrambledBytesRoundTrip) {
  // Every byte but NUL, CR and LF, as the scrambled system values may hold them.
  std::string bytes;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  }
  const std::string value = Cp1252ToUtf8(bytes);
  ASSERT_TRUE(WriteProfileString(file_, "IMPOSTAZIONI", "Kquad", value));
  EXPECT_EQ(Bytes(), "[IMPOSTAZIONI]\r\nKquad=" + bytes + "\r\n");
  EXPECT_EQ(Read("IMPOSTAZIONI", "Kquad"), value);
  ASSERT_TRUE(WriteProfileString(file_, "IMPOSTAZIONI", "AbiM", ";[S]=\x7f"));  // no comment
  EXPECT_EQ(Read("IMPOSTAZIONI", "AbiM"), ";[S]=\x7f");
  // What the rules take away: blanks at the ends and one pair of enclosing quotes.
  ASSERT_TRUE(WriteProfileString(file_, "IMPOSTAZIONI", "Klin", " ‡ "));
  EXPECT_EQ(Read("IMPOSTAZIONI", "Klin"), "‡");
  ASSERT_TRUE(WriteProfileString(file_, "IMPOSTAZIONI", "Klin", "\"=[;\""));
  EXPECT_EQ(Read("IMPOSTAZIONI", "Klin"), "=[;");
}

TEST_F(IniTest, FailedWriteLeavesTheOldFileIntact) {
  const std::string old = "[S]\r\nk=old\r\n";
  Put(old);
  // The disk fills up while the new file is written.
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 8;
  void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteProfileString(file_, "S", "k", std::string(100, 'n'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(Bytes(), old);
  EXPECT_EQ(EntriesInFolder(), 1u);  // no temporary file left behind

  // A folder that does not exist, and a settings path that is a folder: each with its reason.
  const std::vector<ProfileEntry> entry = {{"k", "v"}};
  EXPECT_EQ(WriteProfileValues(dir_ / "missing" / "Conf.ini", "S", entry),
            std::errc::no_such_file_or_directory);
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  fs::create_directory(dir_ / "sub.ini");
  EXPECT_EQ(WriteProfileValues(dir_ / "sub.ini", "S", entry), std::errc::is_a_directory);
  EXPECT_FALSE(WriteProfileString("", "S", "k", "v"));
}

TEST_F(IniTest, TemporaryFilesOfAKilledWriteGoAtTheNextWrite) {
  // A writer that is gone: a child that has ended.
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const auto temp = [&](const std::string& rest) { return dir_ / (".Conf.ini.tmp" + rest); };
  const fs::path stale = temp(std::to_string(child) + "-0");
  const fs::path running = temp(std::to_string(getppid()) + "-0");  // a writer that still runs
  const fs::path other = temp("notes");
  const fs::path otherFile = dir_ / (".Lingua.ini.tmp" + std::to_string(child) + "-0");
  for (const fs::path& f : {stale, running, other, otherFile}) test::WriteBytes(f, "[S]\r\n");
  ASSERT_TRUE(WriteProfileString(file_, "S", "k", "v"));
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_TRUE(fs::exists(other));
  EXPECT_TRUE(fs::exists(otherFile));
}

TEST_F(IniTest, ReplaceKeepsModeAndLinks) {
  Put("[S]\r\nk=old\r\n");
  fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteProfileString(file_, "S", "k", "new"));
  EXPECT_EQ(fs::status(file_).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(EntriesInFolder(), 1u);

  const fs::path link = dir_ / "link.ini";
  fs::create_symlink(file_, link);
  ASSERT_TRUE(WriteProfileString(link, "S", "k", "through the link"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read("S", "k"), "through the link");
}

TEST(ProfileMemoryTest, WriteThenReadGivesTheValueBack) {
  // The in-memory forms on awkward files: no final line break, CR-only endings, lines
  // before any section, a header line with no closing bracket.
  for (const std::string& file :
       {std::string(), std::string("[S]"), std::string("[S]\rk=1\r"), std::string("x=1\n[S"),
        std::string("[s]\nK = 1\n[S]\nk=2"), std::string("\n\n;[S]\n")}) {
    const std::string written = WithProfileValue(file, "S", "k", "new");
    EXPECT_EQ(ProfileValueIn(written, "S", "k"), "new") << file;
    EXPECT_EQ(WithProfileValue(written, "S", "k", "new"), written) << file;
  }
}

}  // namespace
}  // namespace plat
