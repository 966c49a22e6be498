// Readings against limits, decided as the screen shows them.
#include "shell/LimitRule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "platform/text/Numbers.h"
#include "platform/text/RegionalSettings.h"

namespace vs {
namespace {

TEST(LimitRuleTest, WorkedValues) {
  const std::tuple<double, double, bool, bool> cases[] = {
      // value, limit, AtMost, AtLeast
      {(0.1 + 0.1 + 0.1) / 3, 0.1, true, true},  // a mean of equal readings
      {0.1 * 3, 0.3, true, true},                // 0.30000000000000004 against 0.3 as typed
      {0.100000000000001, 0.1, false, true},     // a 15th-digit difference is a difference
      {0.29, 0.3, true, false},
      {0.31, 0.3, false, true},
      {2500.0000000000005, 2500, true, true},  // large engine speeds
      {std::nan(""), 0.3, false, false},       // NaN is never within
  };
  for (const auto& [v, limit, atMost, atLeast] : cases) {
    EXPECT_EQ(std::tuple(AtMost(v, limit), AtLeast(v, limit), Above(v, limit), Below(v, limit)),
              std::tuple(atMost, atLeast, !atMost && !std::isnan(v), !atLeast && !std::isnan(v)))
        << v;
  }
}

// Values cut to decimals are the doubles their texts parse to, so they compare equal to
// limits typed with the same digits.
TEST(LimitRuleTest, KeptToDecimalsIsTheShownValue) {
  const plat::RegionalSettings it = plat::RegionalSettings::Italian();
  const std::tuple<double, int, const char*> cases[] = {
      {0.7 * 3, 1, "2,1"},  // 2.0999999999999996 in binary
      {4.35, 1, "4,3"},     // cut even past a half
      {-0.25, 1, "-0,3"},   // towards minus infinity, as Int does
      {12.345, -1, "12"},   // a negative count is 0
  };
  for (const auto& [v, decimals, shown] : cases) {
    const double kept = KeptToDecimals(v, decimals);
    EXPECT_EQ(plat::FormatDouble(kept, it), shown) << v;
    EXPECT_EQ(kept, plat::ParseDouble(shown, it)) << v;
  }
  EXPECT_TRUE(std::isnan(KeptToDecimals(std::nan(""), 1)));
}

}  // namespace
}  // namespace vs
