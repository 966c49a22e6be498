// Logs and reports on disk: Windows-1252 lines with CR LF, and failures returned, not thrown.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/core/EventLoop.h"
#include "platform/text/RegionalSettings.h"
#include "platform/text/TextFile.h"
#include "platform/text/ValueText.h"
#include "support/TempFolder.h"

namespace plat {
namespace {

TEST(TextFileTest, RewritesAndAppendsCp1252LinesWithOneLinePerValue) {
  test::TempFolder dir("vs-textfile");
  const std::string path = (dir / "report.log").string();
  ASSERT_TRUE(WriteTextFile(path, {"old=1", "old=2"}));
  ASSERT_TRUE(WriteTextFile(path, {"Title=Umidità", "Tech=a\r\nb\rc\nd", "Empty="}));
  EXPECT_EQ(test::ReadBytes(dir / "report.log"), "Title=Umidit\xE0\r\nTech=a b c d\r\nEmpty=\r\n");

  const std::string log = (dir / "gas.log").string();
  ASSERT_TRUE(AppendTextLines(log, {"0,5\t- - -\tAQ1 "}));
  ASSERT_TRUE(AppendTextLines(log, {"Out\t\xE2\x82\xAC"}));
  EXPECT_EQ(test::ReadBytes(dir / "gas.log"), "0,5\t- - -\tAQ1 \r\nOut\t\x80\r\n");
}

TEST(TextFileTest, FailuresComeBackWithTheSystemsReason) {
  test::TempFolder dir("vs-textfile");
  const struct {
    std::string path;
    const char* reason;
  } cases[] = {
      {(dir / "missing" / "gas.log").string(), "No such file or directory"},
      {dir.path().string(), "Is a directory"},
      {"/dev/full", "No space left on device"},
  };
  for (const auto& c : cases) {
    for (const FileResult& r : {WriteTextFile(c.path, {"x"}), AppendTextLines(c.path, {"x"})}) {
      EXPECT_FALSE(r) << c.path;
      EXPECT_EQ(r.reason, c.reason) << c.path;
    }
  }
}

TEST(ValueTextTest, PrintNumberForm) {
  const RegionalSettings it = RegionalSettings::Italian();
  const RegionalSettings en = RegionalSettings::English();
  const std::pair<double, const char*> cases[] = {{800.0, " 800 "}, {-3.0, "-3 "},
                                                  {0.0, " 0 "},     {-0.0, " 0 "},
                                                  {2.5, " 2.5 "},   {1e-9, " 1E-09 "}};
  for (const auto& [v, text] : cases) EXPECT_EQ(PrintNumber(v, en), text) << v;
  EXPECT_EQ(PrintNumber(-0.25, it), "-0,25 ");
  EXPECT_EQ(PrintNumber(0.1f, it), " 0,1 ");  // single: 7 digits, not 0,100000001490116
  EXPECT_EQ(PrintNumber(2500.5f, en), " 2500.5 ");
}

TEST(ValueTextTest, DateAndTimeUnderTheRegionalFormats) {
  RegionalSettings r = RegionalSettings::Italian();
  const DateTime d{2026, 12, 6, 9, 5, 3};
  EXPECT_EQ(FormatDateAndTime(d, r), "06/12/2026 09:05:03");
  r.shortDateFormat = "yyyy-MM-dd";
  r.timeFormat = "H.mm";
  EXPECT_EQ(FormatDateAndTime(d, r), "2026-12-06 9.05");
}

}  // namespace
}  // namespace plat
