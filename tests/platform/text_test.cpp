// The text rules of the platform: numbers under the regional settings, dates and times,
// Windows-1252, and why a log or report file could not be written.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/core/Error.h"
#include "platform/text/Cp1252.h"
#include "platform/text/DateFormat.h"
#include "platform/text/Numbers.h"
#include "platform/text/RegionalSettings.h"
#include "platform/text/TextFile.h"
#include "platform/text/ValueText.h"
#include "support/TempFolder.h"

namespace plat {
namespace {

const RegionalSettings kIt = RegionalSettings::Italian();
const RegionalSettings kEn = RegionalSettings::English();

// The error number a call throws, or 0.
int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

// The error numbers the calls throw (0: none).
template <class... F>
std::set<int> Errors(const F&... f) {
  return {ErrorOf(f)...};
}

// Up to 15 significant digits; 999999999999999.9 rounds up to 16 digits: exponent form.
TEST(NumbersFormatTest, GeneralFormatUnderBothSeparatorsAndPrintNumberBlanks) {
  std::string it, en;
  for (double v : {0.008, 1e-9, -2.5, -0.0, 0.1 + 0.2, 2.0 / 3, 123456789012345.0, 1e15,
                   999999999999999.9, 1.2345678901234567e15, 1e-5, 9.99e-6, 2.5e-300}) {
    it += FormatDouble(v, kIt) + " ";
    en += FormatDouble(v, kEn) + " ";
  }
  EXPECT_EQ(it,
            "0,008 1E-09 -2,5 0 0,3 0,666666666666667 123456789012345 1E+15 1E+15 "
            "1,23456789012346E+15 0,00001 9,99E-06 2,5E-300 ");
  std::replace(it.begin(), it.end(), ',', '.');
  EXPECT_EQ(en, it);
  std::string singles;
  for (float v : {1e-9f, 1e7f, 2500.5f, 1234567.0f, 12345678.0f, -3.1415926f})
    singles += FormatSingle(v, kIt) + " ";
  EXPECT_EQ(singles + FormatInt(-32768),
            "1E-09 1E+07 2500,5 1234567 1,234568E+07 -3,141593 -32768");
  // Print # puts a blank before a number that has no sign, and one after every number; a
  // single has 7 digits (not 0,100000001490116).
  EXPECT_EQ(PrintNumber(800.0, kEn) + PrintNumber(-0.25, kIt) + PrintNumber(0.1f, kIt),
            " 800 -0,25  0,1 ");
}

TEST(NumbersFormatTest, FormattedTextReadsBackToTheSameText) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> power(-40, 40);
  for (int i = 0; i < 2000; ++i) {
    const double v = mantissa(rng) * std::pow(10.0, power(rng));
    for (const RegionalSettings* r : {&kIt, &kEn}) {
      const std::string text = FormatDouble(v, *r);
      const double back = ParseDouble(text, *r);
      EXPECT_EQ(FormatDouble(back, *r), text);
      EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << text;
      if (std::fabs(v) > std::numeric_limits<float>::max()) continue;
      const auto f = static_cast<float>(v);
      EXPECT_EQ(FormatSingle(ParseSingle(FormatSingle(f, *r), *r), *r), FormatSingle(f, *r));
    }
  }
}

TEST(NumbersParseTest, TheRegionalFormOnlyIntegersRoundHalfEvenAndOverflowOutsideTheirRange) {
  const std::pair<const char*, double> good[] = {
      {" 0,97 ", 0.97}, {"-1,5E+3", -1500}, {"1e-09", 1e-9}, {"+5", 5},
      {",5", 0.5},      {"5,", 5},          {"1E-400", 0},   {"0E999999999999", 0}};
  for (const auto& [text, v] : good) EXPECT_DOUBLE_EQ(ParseDouble(text, kIt), v) << text;
  EXPECT_DOUBLE_EQ(ParseDouble("\t0.97\t", kEn), 0.97);
  EXPECT_FLOAT_EQ(ParseSingle("0,008", kIt), 0.008f);
  // "1.5" under "," and "0,97" under ".": a file written under the other separator.
  for (const char* text : {"", "  ", ".", ",", "1,2,3", "1E", "1E+", "E5", "abc", "1 2", "--1",
                           "+-1", "1,5x", "0x10", "1.5", "- 1", "1E 5", "1E5,5", "\x00"})
    EXPECT_EQ(ErrorOf([&] { ParseDouble(text, kIt); }), kErrTypeMismatch) << text;
  EXPECT_EQ(
      Errors([] { ParseDouble("0,97", kEn); }, [] { ParseDouble(std::string_view("1\0", 2), kEn); },
             [] { ParseInt16("01/02/2030", kIt); }, [] { ParseByte("", kIt); }),
      std::set<int>{kErrTypeMismatch});

  const std::pair<const char*, int> int16s[] = {
      {"2,5", 2}, {"3,5", 4}, {"-2,5", -2}, {"32767", 32767}, {"-32768,5", -32768}, {"1E3", 1000}};
  for (const auto& [text, v] : int16s) EXPECT_EQ(ParseInt16(text, kIt), v) << text;
  EXPECT_EQ(
      std::tuple(ParseInt32("2147483647", kEn), ParseByte("254.5", kEn), ParseByte("-0.5", kEn)),
      std::tuple(2147483647, 254, 0));
  EXPECT_EQ(Errors([] { ParseInt16("32767,5", kIt); }, [] { ParseInt16("32768", kIt); },
                   [] { ParseInt16("-32769", kIt); }, [] { ParseInt32("2147483648", kEn); },
                   [] { ParseByte("255.5", kEn); }, [] { ParseByte("-1", kEn); },
                   [] { ParseDouble("1E400", kEn); }, [] { ParseDouble("-1E309", kEn); },
                   [] { ParseSingle("1E39", kEn); }, [] { ToInt16(32767.5); },
                   [] { ToInt16(std::nan("")); }, [] { ToInt32(2147483647.5); },
                   [] { ToInt32(std::numeric_limits<double>::infinity()); }),
            std::set<int>{kErrOverflow});
  EXPECT_EQ(std::pair(ToInt16(-32768.5), ToInt32(-2147483648.5)),
            std::pair(std::int16_t{-32768}, std::numeric_limits<std::int32_t>::min()));
}

TEST(NumbersRoundTest, HalfGoesToTheEvenNeighbourJudgedOnThePrintedDecimal) {
  const double halves[][2] = {{0.5, 0},   {1.5, 2},   {2.5, 2},    {3.5, 4},    {-0.5, 0},
                              {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {1e300, 1e300}};
  for (const auto& h : halves) EXPECT_EQ(RoundHalfEven(h[0]), h[1]) << h[0];
  EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
  const std::tuple<double, int, double> cases[] = {
      {2.675, 2, 2.68},     {2.665, 2, 2.66},  {-2.675, 2, -2.68},     {0.125, 2, 0.12},
      {9.995, 2, 10.0},     {1234.5, 0, 1234}, {1235.5, 0, 1236},      {0.0015, 3, 0.002},
      {0.0005, 3, 0.0},     {1e-20, 2, 0.0},   {1.23456, 10, 1.23456}, {1.5, -1, 2.0},
      {1e20 + 0.5, 1, 1e20}};
  for (auto [v, decimals, rounded] : cases) EXPECT_EQ(RoundTo(v, decimals), rounded) << v;
}

TEST(NumbersLeadingTest, ReadsTheLeadingNumberWithPointOnly) {
  using namespace std::string_view_literals;
  // Blanks inside the number are skipped; "5\0007" is "5", NUL, "7"; "\3779" is 0xFF, "9".
  const std::pair<std::string_view, double> cases[] = {
      {"12.5abc", 12.5}, {"  -3.2", -3.2}, {"+4", 4},       {"1\t2\n3", 123}, {"- 5", -5},
      {"1e-2", 0.01},    {"1 E 3", 1000},  {"1E", 1},       {"1Ex", 1},       {"2.5.6", 2.5},
      {".5", 0.5},       {"5.", 5},        {"1,5", 1},      {"abc", 0},       {"", 0},
      {".", 0},          {"--5", 0},       {"0x1F", 0},     {"E5", 0},        {"\r5", 0},
      {"1E999", 0},      {"1E-999", 0},    {"5\0007"sv, 5}, {"\0005"sv, 0},   {"\3779", 0}};
  for (auto [text, v] : cases) EXPECT_DOUBLE_EQ(LeadingNumber(text), v) << text;
  EXPECT_FALSE(std::signbit(LeadingNumber("-0.0")));
  EXPECT_DOUBLE_EQ(LeadingNumber(std::string_view("12345").substr(0, 2)), 12);  // the view only
  EXPECT_DOUBLE_EQ(LeadingNumber(std::string(5000, '0') + "7" + std::string(3, '0')), 7000);
}

TEST(DateFormatTest, PatternsPadAsTheirLetterCountSaysAndFollowTheRegionalFormats) {
  const DateTime t{2024, 3, 5, 7, 8, 9};
  RegionalSettings r = kIt;
  r.shortDateFormat = "yyyy-MM-dd";
  r.timeFormat = "H.mm";
  EXPECT_EQ(FormatDateAndTime(t, kIt) + " | " + FormatDateTimePattern(t, "d/M/yy H:m:s") + " | " +
                FormatDateTimePattern({2009, 12, 31, 23, 59, 0}, "y yyyy-MM-dd") + " | " +
                FormatDateAndTime(t, r),
            "05/03/2024 07:08:09 | 5/3/24 7:8:9 | 9 2009-12-31 | 2024-03-05 7.08");
}

TEST(RegionalSettingsTest, SeparatorFollowsTheLocaleVariables) {
  const char* vars[] = {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG"};
  std::vector<std::optional<std::string>> saved;
  for (const char* v : vars) {
    saved.push_back(getenv(v) ? std::optional<std::string>(getenv(v)) : std::nullopt);
    unsetenv(v);
  }
  const auto separator = [] { return RegionalSettings::FromEnvironment().decimalSeparator; };
  EXPECT_EQ(separator(), ".");
  setenv("LANG", "it_IT.UTF-8", 1);
  EXPECT_EQ(separator(), ",");
  setenv("LC_NUMERIC", "en_US.UTF-8", 1);
  EXPECT_EQ(separator(), ".");
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(separator(), ",");
  setenv("LC_ALL", "C", 1);
  const RegionalSettings c = RegionalSettings::FromEnvironment();
  EXPECT_EQ(c.decimalSeparator + c.shortDateFormat + " " + c.timeFormat, ".dd/MM/yyyy HH:mm:ss");
  for (std::size_t i = 0; i < saved.size(); ++i)
    saved[i] ? setenv(vars[i], saved[i]->c_str(), 1) : unsetenv(vars[i]);
}

TEST(Cp1252Test, EveryByteRoundTripsAndWhatItCannotHoldBecomesAQuestionMark) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("Umidit\xE0Relativa \x80\x9F\x8A"), "UmiditàRelativa €ŸŠ");
  // The five unassigned bytes keep their own code points.
  EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  // U+0080 is a C1 control that 1252 gives to "€"; U+10FFFF is the last code point.
  EXPECT_EQ(Utf8ToCp1252("€ ° “q” 日本 a😀b \U0010FFFF \u0080"), "\x80 \xB0 \x93q\x94 ?? a?b ? ?");
  // Broken UTF-8: each stray byte is one "?", and what follows is read again. Overlong "/"
  // in two and in three bytes, a surrogate, beyond U+10FFFF, cut short.
  EXPECT_EQ(Utf8ToCp1252("\xC3x \xC0\xAF \xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82"),
            "?x ?? ??? ??? ???? ??");
}

// What the files hold is checked by the gas and smoke tests that write logs and reports.
TEST(TextFileTest, FailuresComeBackWithTheSystemsReason) {
  test::TempFolder dir("vs-textfile");
  const std::pair<std::string, std::string> failures[] = {
      {(dir / "missing" / "gas.log").string(), "No such file or directory"},
      {dir.path().string(), "Is a directory"},
      {"/dev/full", "No space left on device"}};
  for (const auto& [p, reason] : failures) {
    for (const FileResult& r : {WriteTextFile(p, {"x"}), AppendTextLines(p, {"x"})})
      EXPECT_EQ(std::pair(static_cast<bool>(r), r.reason), std::pair(false, reason)) << p;
  }
}

// A disk that takes `room` bytes in all, at most `chunk` at a time, then refuses with
// ENOSPC (or takes nothing: a write of 0); `interrupt` first fails once with EINTR.
struct Disk {
  std::size_t room = 1 << 20, chunk = 1 << 20;
  bool zeroWhenFull = false, interrupt = false;
};
WriteCall Through(Disk d) {
  return [d, taken = std::make_shared<std::size_t>(0), interrupted = std::make_shared<bool>(false)](
             int fd, const void* data, std::size_t size) -> ssize_t {
    if (d.interrupt && !*interrupted) return *interrupted = true, errno = EINTR, -1;
    const std::size_t n = std::min({size, d.chunk, d.room - *taken});
    if (n == 0) return d.zeroWhenFull ? 0 : (errno = ENOSPC, -1);
    const ssize_t w = ::write(fd, data, n);
    if (w > 0) *taken += static_cast<std::size_t>(w);
    return w;
  };
}

// A report rewritten and a line appended over files that hold earlier text: whole or, when
// the disk fills part-way, the file as it was and nothing else left in the folder.
TEST(TextFileTest, ShortWritesGoOnAndAFullDiskLeavesTheFileAsItWas) {
  const std::string old = "Title=old report\r\nPlate=AB123CD\r\n";
  const std::vector<std::string> lines = {"Title=new report", "Plate=XY987ZW"};
  const std::string bytes = "Title=new report\r\nPlate=XY987ZW\r\n";
  const std::pair<Disk, bool> disks[] = {
      {{.chunk = 3}, true},                        // short writes, all taken
      {{.interrupt = true}, true},                 // a signal before the first
      {{.room = 20, .chunk = 7}, false},           // full in the second line
      {{.room = 5, .zeroWhenFull = true}, false},  // then takes nothing
      {{.room = 0}, false}};                       // full from the start
  for (const auto& [disk, fits] : disks) {
    test::TempFolder dir("vs-textfile");
    const std::string report = (dir / "report.log").string(), log = (dir / "gas.log").string();
    test::WriteBytes(report, old);
    test::WriteBytes(log, old);
    const FileResult replaced = WriteTextFile(report, lines, Through(disk));
    const FileResult appended = AppendTextLines(log, lines, Through(disk));
    const std::string why = fits ? "" : "No space left on device";
    SCOPED_TRACE(disk.room);
    EXPECT_EQ(std::tuple(replaced.ok, replaced.reason, test::ReadBytes(report)),
              std::tuple(fits, why, fits ? bytes : old));
    EXPECT_EQ(std::tuple(appended.ok, appended.reason, test::ReadBytes(log)),
              std::tuple(fits, why, fits ? old + bytes : old));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
  }
}

// A directory where the report goes is left alone; a temporary file of a writer killed
// during its write goes at the next write.
TEST(TextFileTest, ReplacingLeavesADirectoryAloneAndRemovesAKilledWritersFile) {
  test::TempFolder dir("vs-textfile");
  std::filesystem::create_directory(dir / "report.log");
  test::WriteBytes(dir / "report.log" / "inside", "x");
  EXPECT_EQ(WriteTextFile((dir / "report.log").string(), {"x"}).reason, "Is a directory");
  EXPECT_EQ(test::ReadBytes(dir / "report.log" / "inside"), "x");
  std::filesystem::remove_all(dir / "report.log");

  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const auto stale = dir / (".report.log.tmp" + std::to_string(child) + "-0");
  test::WriteBytes(stale, "Title=cut sh");
  EXPECT_TRUE(WriteTextFile((dir / "report.log").string(), {"Title=x"}));
  EXPECT_EQ(std::tuple(test::ReadBytes(dir / "report.log"), std::filesystem::exists(stale)),
            std::tuple("Title=x\r\n", false));
}

}  // namespace
}  // namespace plat
