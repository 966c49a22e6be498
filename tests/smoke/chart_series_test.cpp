#include <gtest/gtest.h>

#include <string>

#include "smoke/PhaseMachine.h"
#include "smoke_test_util.h"

namespace vs::smoke {

// Readable failures for chart rows.
void PrintTo(const ChartPoint& p, std::ostream* os) {
  for (const auto& v : {p.time, p.k10, p.rpm100, p.rpmMin100, p.rpmMax100}) {
    *os << (v ? std::to_string(*v) : std::string("empty")) << " ";
  }
}

namespace {

class ChartSeriesTest : public ::testing::Test {
 protected:
  // One "@VA" reply 4 ticks after the previous one.
  ReplyOutcome Reply(double rpm, double k, double cellTemp = 75.0) {
    tick_ += 4;
    ValueReply r;
    r.testMode = 6;
    r.tick = tick_;
    r.rpm = rpm;
    r.k = k;
    r.cellTemp = cellTemp;
    r.luStatus1 = "00016";
    r.luStatus2 = "00002";
    return phases_.OnValueReply(r, cells_, settings_, exclamPending_);
  }

  LangTexts texts_ = test::NumberedTexts();
  plat::RegionalSettings regional_ = plat::RegionalSettings::English();
  SeriesSettings settings_{texts_, regional_, 1000, 4000, 0.5, 1.5, 0};
  PhaseFields fields_;
  AccelerationTable table_;
  ChartRecord chart_;
  PhaseMachine phases_{fields_, table_, chart_};
  RowCells cells_;
  std::int16_t exclamPending_ = -1;
  std::int32_t tick_ = 0;
};

TEST_F(ChartSeriesTest, RecordsOneAccelerationAndWaitsForTheNext) {
  phases_.Start(6);
  EXPECT_EQ(Reply(800, 0.1, 70.0).label24Back, plat::colors::kRed);
  EXPECT_EQ(Reply(800, 0.1).label39.caption, "T30");
  EXPECT_EQ(fields_.TestPhase, "PREAVVIO");
  Reply(800, 0.2);
  Reply(1000, 0.5);  // exactly the lower limit: the acceleration has begun
  EXPECT_EQ(fields_.TestPhase, "AVVIO");
  EXPECT_EQ(chart_.ChartRow, 2);
  Reply(4000, 1.5);  // exactly the upper limit is not above it
  EXPECT_EQ(chart_.ChartStep, "UNO");
  EXPECT_EQ(Reply(4500, 2.0).label39.caption, "T31");
  const std::int32_t holdEnds = tick_ + 120;
  while (tick_ + 4 <= holdEnds) EXPECT_FALSE(Reply(4600, 2.5).label39.caption);
  EXPECT_EQ(Reply(4600, 2.5).label39.caption, "T29");
  Reply(2000, 1.0);
  const ReplyOutcome end = Reply(900, 0.3);

  ASSERT_TRUE(end.showChart);
  const ChartTable& shown = *end.showChart;
  EXPECT_EQ(shown[0], (ChartPoint{0.0, 2.0, 8.0, {}, {}}));
  EXPECT_EQ(shown[1], (ChartPoint{0.25, 5.0, 10.0, {}, {}}));
  EXPECT_EQ(shown[2], (ChartPoint{0.5, 5.0, 10.0, {}, {}}));
  EXPECT_EQ(shown[3], (ChartPoint{0.75, 15.0, 40.0, {}, {}}));
  const int last = 4 + 31 + 2;  // 4500, the hold, 2000 and 900
  EXPECT_EQ(shown[last], (ChartPoint{last * 0.25, 3.0, 9.0, {}, {}}));
  EXPECT_EQ(shown[last + 1], (ChartPoint{{}, 0.0, 0.0, {}, {}}));  // no time yet
  EXPECT_EQ(end.label39.caption, "T33, T30 T145");
  // The chart holds its copy; the table is ready for the next acceleration.
  EXPECT_EQ(fields_.TestPhase, "PREAVVIO");
  EXPECT_EQ(chart_.ChartRow, 1);
  EXPECT_EQ(chart_.SmokeChartData[3], (ChartPoint{0.75, 0.0, 0.0, {}, {}}));
  EXPECT_EQ(table_.AccIndex, 0);
  EXPECT_FALSE(end.closingBox);
}

TEST_F(ChartSeriesTest, AFullTableEndsTheAccelerationWhileTheEngineStaysUp) {
  phases_.Start(6);
  Reply(800, 0.1);
  Reply(1200, 0.5);
  while (chart_.ChartRow < 40) EXPECT_FALSE(Reply(4600, 2.0).showChart);
  EXPECT_TRUE(Reply(4600, 2.0).showChart);
  EXPECT_EQ(fields_.TestPhase, "SUBATTESA");
  Reply(1000, 1.0);  // not yet back below the lower limit
  EXPECT_EQ(fields_.TestPhase, "SUBATTESA");
  Reply(999, 1.0);
  EXPECT_EQ(fields_.TestPhase, "PREAVVIO");
}

}  // namespace
}  // namespace vs::smoke
