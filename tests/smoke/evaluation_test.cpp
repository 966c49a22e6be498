#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "smoke/AccelerationSeries.h"
#include "smoke_test_util.h"

namespace vs::smoke {
namespace {

using test::NumberedTexts;

// Fields split at '|'; "" gives no field.
std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> out;
  for (std::size_t at = 0; !s.empty() && at <= s.size();) {
    const std::size_t bar = std::min(s.find('|', at), s.size());
    out.push_back(s.substr(at, bar - at));
    at = bar + 1;
  }
  return out;
}

struct EvaluationCase {
  const char* name;
  const char* kCells;  // rows 0 to i, '|' between; row i was just captured
  double kLimit;
  std::int16_t unit;
  bool italian;
  // verdict|mean k|opacity|accelerations used; "": the series goes on, nothing written.
  const char* expected;
};

const EvaluationCase kCases[] = {
    {"ThirdOnTheLimitPasses", "1|1|1", 1.0, 0, false, "T135|1|21.3|1,2,3"},
    {"ThirdInHsu", "1|1|1", 1.0, 1, false, "T135|1|34.9|1,2,3"},
    {"ThirdTenthsOnTheLimitPass", "0.1|0.1|0.1", 0.1, 0, false, "T135|0.1|2.4|1,2,3"},
    {"ThirdMeanRoundsHalfToEven", "1.125|1.125|1.125", 2.0, 0, false, "T135|1.12|23.7|1,2,3"},
    {"ThirdAtOneAndAHalfTimesFails", "1.5|1.5|1.5", 1.0, 0, false, "T136|1.5|30.2|1,2,3"},
    {"ThirdAtOneAndAHalfTimesInTenthsFails", "0.15|0.15|0.15", 0.1, 0, false,
     "T136|0.15|3.5|1,2,3"},
    {"ThirdBetweenGoesOn", "1.2|1.2|1.2", 1.0, 0, false, ""},
    {"ThirdZeroAgainstZeroFails", "0|0|0", 0.0, 0, false, "T136|0|0|1,2,3"},
    {"ThirdInItalian", "0,9|1|1,1", 1.0, 0, true, "T135|1|21,3|1,2,3"},
    {"SecondDecidesNothing", "0|0", 1.0, 0, false, ""},
    {"FourthPassesOnItsLastThree", "5|1|1|1", 1.0, 0, false, "T135|1|21.3|2,3,4"},
    {"FourthFarAboveGoesOn", "9|9|9|9", 1.0, 0, false, ""},
    {"SixthAboveGoesOn", "1|1|1|2|2|2", 1.0, 0, false, ""},
    {"SeventhPassesOnFour", "9|9|9|0.4|1.0|1.2|1.2", 1.0, 0, false, "T135|0.95|20.4|4,5,6,7"},
    {"SeventhPassesOnFiveOnTheLimit", "9|9|0.1|1.3|1.2|1.2|1.2", 1.0, 0, false,
     "T135|1|21.3|3,4,5,6,7"},
    {"SeventhAboveGoesOn", "2|2|2|2|2|2|2", 1.0, 0, false, ""},
    {"EighthPassesOnFour", "9|9|9|9|0.7|1|1|1.2", 1.0, 0, false, "T135|0.98|20.9|5,6,7,8"},
    {"EighthAboveFailsOnThree", "2|2|2|2|2|2|2|2.2", 1.0, 1, false, "T136|2.07|58.9|6,7,8"},
    // Cells that are not numbers (the design text before the first START) decide nothing.
    {"ThirdWithBlankCellsGoesOn", "0|- - -|0", 1.0, 0, false, ""},
    {"EighthWithBlankCellInFiveGoesOn", "2|2|2|- - -|2|2|2|2", 1.0, 0, false, ""},
};

void PrintTo(const EvaluationCase& c, std::ostream* os) { *os << c.name; }

class EvaluationTest : public ::testing::TestWithParam<EvaluationCase> {};

TEST_P(EvaluationTest, DecidesTheSeries) {
  const EvaluationCase& c = GetParam();
  const LangTexts texts = NumberedTexts();
  const plat::RegionalSettings regional =
      c.italian ? plat::RegionalSettings::Italian() : plat::RegionalSettings::English();
  const SeriesSettings settings{texts, regional, 1000, 4000, 0.5, c.kLimit, c.unit};

  AccelerationTable table;
  StartSeries(table);
  RowCells cells;
  const std::vector<std::string> kCells = Split(c.kCells);
  for (std::size_t r = 0; r < kCells.size(); ++r) {
    cells.k[r] = kCells[r];
    cells.rpm[r] = std::to_string(4000 + r);
  }
  const int i = static_cast<int>(kCells.size()) - 1;
  table.AccIndex = static_cast<std::int16_t>(i);

  const CaptureOutcome out = CaptureAcceleration(table, cells, 1, settings);

  const std::vector<std::string> expected = Split(c.expected);
  if (expected.empty()) {
    EXPECT_FALSE(out.result);
    EXPECT_EQ(table.AccIndex, i + 1);
    EXPECT_EQ(table.AccK, AccelerationTable{}.AccK);
    EXPECT_EQ(table.AccKState, (std::array<std::int16_t, 8>{4, 4, 4, 4, 4, 4, 4, 4}));
    EXPECT_EQ(table.SmokeResultText, "");
    return;
  }
  ASSERT_TRUE(out.result);
  const std::string &verdict = expected[0], &meanK = expected[1], &opacity = expected[2],
                    &accelsUsed = expected[3];
  EXPECT_EQ(out.result->verdict, verdict);
  EXPECT_EQ(out.result->verdictColour, verdict == "T135" ? 0x00FF00u : 0x0000FFu);
  EXPECT_EQ(out.result->meanK, meanK);
  EXPECT_EQ(out.result->opacity, opacity);
  EXPECT_EQ(table.AccelsUsed, accelsUsed);
  EXPECT_EQ(table.SmokeResultK, meanK);
  EXPECT_EQ(table.SmokeResultOpacity, opacity);
  EXPECT_EQ(table.SmokeResultText, verdict);
  EXPECT_EQ(table.AccIndex, kSeriesClosed);
  for (std::size_t r = 0; r < 8; ++r) {
    const bool used = accelsUsed.find(std::to_string(r + 1)) != std::string::npos;
    EXPECT_EQ(table.AccKState[r], used ? 3 : 4) << "row " << r;
    EXPECT_EQ(table.AccRpmState[r], table.AccKState[r]) << "row " << r;
    EXPECT_EQ(table.AccK[r], r <= static_cast<std::size_t>(i) ? cells.k[r] : "") << "row " << r;
    EXPECT_EQ(table.AccRpm[r], r <= static_cast<std::size_t>(i) ? cells.rpm[r] : "") << "row " << r;
  }
}

INSTANTIATE_TEST_SUITE_P(Series, EvaluationTest, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

// The re-enabled capture button in direct acquisition after the series was closed: the row
// lies outside the table and is not stored; the click still closes the series again.
TEST(ManualCaptureTest, DirectAcquisitionAfterTheCloseStoresNothing) {
  const LangTexts texts = NumberedTexts();
  const plat::RegionalSettings regional = plat::RegionalSettings::English();
  const SeriesSettings settings{texts, regional, 1000, 4000, 0.5, 1.0, 0};
  AccelerationTable table;
  StartSeries(table);
  table.AccIndex = kSeriesClosedByHand;
  const AccelerationTable before = table;
  RowCells cells;
  cells.k.fill("1.5");

  const ManualCaptureOutcome out = ManualCapture(table, cells, 5, 75.0, settings);

  EXPECT_TRUE(out.captured);
  EXPECT_TRUE(out.capture.peakTrackersReset);
  EXPECT_EQ(out.buttonCaption, "T8");
  EXPECT_TRUE(out.buttonDisabled);
  EXPECT_EQ(table.AccIndex, kSeriesClosedByHand);
  EXPECT_EQ(table.AccK, before.AccK);
  EXPECT_EQ(table.AccKState, before.AccKState);
  EXPECT_EQ(table.SmokeResultText, "");
}

}  // namespace
}  // namespace vs::smoke
