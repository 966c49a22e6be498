#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/text/DateFormat.h"
#include "platform/text/RegionalSettings.h"

namespace plat {
namespace {

TEST(DateFormatTest, PatternsPadAsTheirLetterCountSays) {
  const DateTime t{2024, 3, 5, 7, 8, 9};
  const RegionalSettings it = RegionalSettings::Italian();
  EXPECT_EQ(FormatShortDate(t, it), "05/03/2024");
  EXPECT_EQ(FormatTime(t, it), "07:08:09");
  EXPECT_EQ(FormatDateTimePattern(t, "d/M/yy"), "5/3/24");
  EXPECT_EQ(FormatDateTimePattern({2009, 12, 31, 23, 59, 0}, "y yyyy-MM-dd"), "9 2009-12-31");
  EXPECT_EQ(FormatDateTimePattern(t, "H:m:s"), "7:8:9");
}

// Sets locale variables for one test and puts the old ones back.
class LocaleEnv {
 public:
  LocaleEnv() {
    for (const char* v : kVars) {
      const char* old = getenv(v);
      saved_.push_back(old ? std::optional<std::string>(old) : std::nullopt);
      unsetenv(v);
    }
  }
  ~LocaleEnv() {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i]) {
        setenv(kVars[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kVars[i]);
      }
    }
  }

 private:
  static constexpr const char* kVars[] = {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG"};
  std::vector<std::optional<std::string>> saved_;
};

TEST(RegionalSettingsTest, SeparatorFollowsTheLocaleVariables) {
  LocaleEnv env;
  EXPECT_EQ(RegionalSettings::FromEnvironment().decimalSeparator, ".");
  setenv("LANG", "it_IT.UTF-8", 1);
  EXPECT_EQ(RegionalSettings::FromEnvironment().decimalSeparator, ",");
  setenv("LC_NUMERIC", "en_US.UTF-8", 1);
  EXPECT_EQ(RegionalSettings::FromEnvironment().decimalSeparator, ".");
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(RegionalSettings::FromEnvironment().decimalSeparator, ",");
  setenv("LC_ALL", "C", 1);
  const RegionalSettings c = RegionalSettings::FromEnvironment();
  EXPECT_EQ(c.decimalSeparator, ".");
  EXPECT_EQ(c.shortDateFormat, "dd/MM/yyyy");
  EXPECT_EQ(c.timeFormat, "HH:mm:ss");
}

}  // namespace
}  // namespace plat
