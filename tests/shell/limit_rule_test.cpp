// Readings against limits, decided as the screen shows them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/text/Numbers.h"
#include "platform/text/RegionalSettings.h"
#include "shell/LimitRule.h"

namespace vs {
namespace {

TEST(LimitRuleTest, WorkedValues) {
  const plat::RegionalSettings it = plat::RegionalSettings::Italian();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    double value, limit;
    bool atMost, atLeast;
  } cases[] = {
      {"mean of 0.1, 0.1, 0.1 against 0.1", (0.1 + 0.1 + 0.1) / 3, 0.1, true, true},
      {"0.1 * 3 against \"0,3\" typed", 0.1 * 3, plat::ParseDouble("0,3", it), true, true},
      {"a 15th-digit difference is a difference", 0.100000000000001, 0.1, false, true},
      {"below", 0.29, 0.3, true, false},
      {"above", 0.31, 0.3, false, true},
      {"large engine speeds", 2500.0000000000005, 2500, true, true},
      {"NaN is never within", nan, 0.3, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AtMost(c.value, c.limit), c.atMost) << c.what;
    EXPECT_EQ(AtLeast(c.value, c.limit), c.atLeast) << c.what;
    EXPECT_EQ(Above(c.value, c.limit), !c.atMost && !std::isnan(c.value)) << c.what;
    EXPECT_EQ(Below(c.value, c.limit), !c.atLeast && !std::isnan(c.value)) << c.what;
  }
}

// Values cut to decimals are the doubles their texts parse to, so they compare equal to
// limits typed with the same digits.
TEST(LimitRuleTest, KeptToDecimalsIsTheShownValue) {
  const plat::RegionalSettings it = plat::RegionalSettings::Italian();
  const struct {
    double v;
    int decimals;
    const char* shown;
  } cases[] = {
      {1.3 * 15 / 9.3, 1, "2"},                      // 2.0967...: cut, not rounded
      {0.7 * 3, 1, "2,1"},                           // 2.0999999999999996 in binary
      {0.29, 2, "0,29"},                             // 0.29 * 100 is 28.999999999999996
      {4.35, 1, "4,3"},                              // cut even past a half
      {0.57, 2, "0,57"},        {-0.25, 1, "-0,3"},  // towards minus infinity, as Int does
      {12.345, -1, "12"},                            // a negative count is 0
      {65.0, 1, "65"},
  };
  for (const auto& c : cases) {
    const double kept = KeptToDecimals(c.v, c.decimals);
    EXPECT_EQ(plat::FormatDouble(kept, it), c.shown) << c.v;
    EXPECT_EQ(kept, plat::ParseDouble(c.shown, it)) << c.v;
  }
  EXPECT_TRUE(std::isnan(KeptToDecimals(std::nan(""), 1)));
}

}  // namespace
}  // namespace vs
