// The steps of a series without the form: each capture's evaluation, a reply's readings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/LinkState.h"
#include "shell/ShellState.h"
#include "smoke/AccelerationSeries.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeReadings.h"
#include "smoke/SmokeState.h"
#include "smoke/smoke_form_fixture.h"

namespace vs::smoke {

namespace {

using plat::RegionalSettings;
using Cells = std::vector<std::string>;

TEST(SeriesTest, EachCaptureDecidesTheSeriesOrLetsItGoOn) {
  // Peak k of rows 0 to i (row i just captured), the limit K, the unit (1: HSU), Italian
  // settings; verdict|mean k|opacity|accelerations used, or "" when the series goes on.
  using Row = std::tuple<Cells, double, std::int16_t, bool, const char*>;
  const Row rows[] = {
      {{"0", "0"}, 1.0, 0, false, ""},
      {{"1", "1", "1"}, 1.0, 0, false, "T135|1|21.3|1,2,3"},
      {{"0.1", "0.1", "0.1"}, 0.1, 0, false, "T135|0.1|2.4|1,2,3"},
      {{"1.125", "1.125", "1.125"}, 2.0, 0, false, "T135|1.12|23.7|1,2,3"},
      {{"1.5", "1.5", "1.5"}, 1.0, 0, false, "T136|1.5|30.2|1,2,3"},
      {{"0.15", "0.15", "0.15"}, 0.1, 0, false, "T136|0.15|3.5|1,2,3"},
      {{"1.2", "1.2", "1.2"}, 1.0, 0, false, ""},
      {{"0", "0", "0"}, 0.0, 0, false, "T136|0|0|1,2,3"},
      {{"0,9", "1", "1,1"}, 1.0, 0, true, "T135|1|21,3|1,2,3"},
      {{"5", "1", "1", "1"}, 1.0, 0, false, "T135|1|21.3|2,3,4"},
      {{"9", "9", "9", "9"}, 1.0, 0, false, ""},
      {{"9", "9", "9", "0.4", "1.0", "1.2", "1.2"}, 1.0, 0, false, "T135|0.95|20.4|4,5,6,7"},
      {{"9", "9", "0.1", "1.3", "1.2", "1.2", "1.2"}, 1.0, 0, false, "T135|1|21.3|3,4,5,6,7"},
      {{"2", "2", "2", "2", "2", "2", "2"}, 1.0, 0, false, ""},
      {{"9", "9", "9", "9", "0.7", "1", "1", "1.2"}, 1.0, 0, false, "T135|0.98|20.9|5,6,7,8"},
      {{"2", "2", "2", "2", "2", "2", "2", "2.2"}, 1.0, 1, false, "T136|2.07|58.9|6,7,8"},
      // Cells that are not numbers (the design text before the first START) decide nothing.
      {{"0", "- - -", "0"}, 1.0, 0, false, ""},
      {{"2", "2", "2", "- - -", "2", "2", "2", "2"}, 1.0, 0, false, ""},
  };
  const LangTexts texts = test::NumberedTexts();
  for (const auto& [k, kLimit, unit, italian, expected] : rows) {
    SCOPED_TRACE(::testing::PrintToString(k));
    AccelerationTable table;
    StartSeries(table);
    RowCells cells;
    for (std::size_t r = 0; r < k.size(); ++r)
      cells.k[r] = k[r], cells.rpm[r] = std::to_string(4000 + r);
    table.AccIndex = static_cast<std::int16_t>(k.size() - 1);
    const RegionalSettings regional =
        italian ? RegionalSettings::Italian() : RegionalSettings::English();
    const auto out =
        CaptureAcceleration(table, cells, 1, {texts, regional, 1000, 4000, 0.5, kLimit, unit});

    const SeriesResult& res = out.result.value_or(SeriesResult{});
    const std::string used = table.AccelsUsed;
    EXPECT_EQ(out.result ? res.verdict + "|" + res.meanK + "|" + res.opacity + "|" + used : "",
              expected);
    const plat::Color colour = res.verdict == "T135" ? 0x00FF00u : 0x0000FFu;
    EXPECT_EQ(std::tuple(table.SmokeResultText, table.SmokeResultK, table.SmokeResultOpacity,
                         res.verdictColour, table.AccIndex, table.AccRpmState),
              std::tuple(res.verdict, res.meanK, res.opacity, out.result ? colour : 0,
                         out.result ? kSeriesClosed : k.size(), table.AccKState));
    for (std::size_t r = 0; r < 8; ++r) {
      const bool inResult = used.find(std::to_string(r + 1)) != std::string::npos;
      const bool stored = out.result && r < k.size();
      EXPECT_EQ(std::to_string(table.AccKState[r]) + " " + table.AccK[r] + "|" + table.AccRpm[r],
                (inResult ? "3 " : "4 ") + (stored ? cells.k[r] + "|" + cells.rpm[r] : "|"))
          << "row " << r;
    }
  }
}

// The re-enabled capture button in direct acquisition after the series was closed: the row
// lies outside the table and is not stored; the click still closes the series again.
TEST(SeriesTest, DirectAcquisitionAfterTheCloseStoresNothing) {
  const LangTexts texts = test::NumberedTexts();
  const RegionalSettings regional = RegionalSettings::English();
  AccelerationTable table;
  StartSeries(table);
  table.AccIndex = kSeriesClosedByHand;
  const AccelerationTable before = table;
  RowCells cells;
  cells.k.fill("1.5");
  const auto out = ManualCapture(table, cells, 5, 75.0, {texts, regional, 1000, 4000, 0.5, 1.0, 0});
  EXPECT_EQ(std::tuple(out.captured && out.capture.peakTrackersReset && out.buttonDisabled,
                       out.buttonCaption, table.AccIndex, table.AccK == before.AccK,
                       table.AccKState == before.AccKState, table.SmokeResultText),
            std::tuple(true, "T8", kSeriesClosedByHand, true, true, ""));
}

TEST(SeriesTest, ReadingsAsShownAfterThePressureCorrection) {
  const auto it = RegionalSettings::Italian(), en = RegionalSettings::English();
  // Pressure typed, Italian settings; k after the correction of 1.0; PressureValue from 50.
  using Pressure = std::tuple<const char*, bool, double, double>;
  const Pressure pressures[] = {
      {"94.5", false, 1.0, 94.5}, {"94.4", false, 0.75, 94.4}, {"94,4", true, 0.75, 94.4},
      {"", false, 1.0, 50},       {"abc", false, 1.0, 50},     {"94,4", false, 1.0, 50},
  };
  for (const auto& [typed, comma, k, stored] : pressures) {
    double corrected = 1.0, value = 50;
    CorrectForPressure(typed, comma ? it : en, corrected, value);
    EXPECT_EQ(std::pair(corrected, value), std::pair(k, stored)) << typed;
  }
  using Opacity = std::tuple<double, std::int16_t, const char*>;  // N, unit (1: HSU), shown
  const Opacity opacities[] = {
      {0, 1, "0"},  {20, 1, "33"},     {50, 1, "71,1"}, {100, 1, "100"}, {150, 1, "100"},
      {-2, 1, "0"}, {14.1, 0, "14,1"}, {-0.5, 0, "0"},  {150, 0, "150"},
  };
  for (const auto& [n, unit, shown] : opacities)
    EXPECT_EQ(OpacityText(n, unit, it), shown) << n << " unit " << unit;
  EXPECT_EQ(TemperatureText(888.5, Protocol::MctcNet, en) + " " +
                TemperatureText(-5, Protocol::MctcNet, en) + " " +
                TemperatureText(888, Protocol::Binary, en) + " " +
                TemperatureText(-5, Protocol::Binary, en),
            "888.5 -5 888 0");
  LinkState l;
  l.OpaK = -0.05, l.OpaN = 20, l.OpaRpm = -1, l.OpaOilTemp = 80.5, l.OpaCellTemp = 888,
  l.OpaSmokeTemp = -3;
  const SmokeReadingTexts t = ReadingTexts(l, 0, Protocol::MctcNet, it);
  EXPECT_EQ(
      t.k + " " + t.rpm + " " + t.opacity + " " + t.oilTemp + " " + t.cellTemp + " " + t.smokeTemp,
      "0 0 20 80,5 OutRange -3");
}

// Replies of one acceleration in phase DUE through the reading step.
TEST(SeriesTest, TrackersAndTheRowFollowTheAcceleration) {
  SmokeFormFields f;
  SmokeState m;
  LinkState l;
  ShellState s;
  const RegionalSettings r = RegionalSettings::English();
  f.TestPhase = "DUE", s.AmbientPressure = "101";
  const auto reply = [&](double k, double rpm, double cell = 75) {
    l.OpaK = k, l.OpaRpm = rpm, l.OpaCellTemp = cell;
    return TakeSmokeReadings(f, m, l, s, {Protocol::MctcNet, false, {}, r});
  };
  reply(0.5, 800);
  reply(1.2, 2500);
  auto out = reply(1.2, 3000);  // an equal peak moves its engine speed on
  ASSERT_TRUE(out.row);
  EXPECT_EQ(std::tuple(out.row->k + " " + out.row->rpmAtPeak + " " + out.row->min + " " +
                           out.row->max + " " + *out.lowest + " " + *out.highest,
                       out.runPhase, m.AccRpmAtPeak),
            std::tuple("1.2 3000 800 3000 800 3000", true, 3000));
  EXPECT_FALSE(reply(2.0, 3500, 70.0).row);  // a cell of exactly 70 is not warm
  // The minimum runs on every reply.
  EXPECT_EQ(std::tuple(m.AccPeakK, m.AccMaxRpm, m.AccMinRpm), std::tuple(1.2, 3000, 800));
  out = reply(0.4, 350);  // a minimum of 350 is out of range: the test's lowest is 0
  EXPECT_EQ(std::tuple(out.row->min + " " + *out.lowest, m.ReportMinRpm),
            std::tuple("O-RANGE 0", 0));
  out = reply(0.4, 9600);  // which never raises the highest
  EXPECT_EQ(std::tuple(out.row->max + " " + *out.highest, m.SmokeHighestRpm),
            std::tuple("O-RANGE 3000", 3000));
  f.TestMode = 5;  // direct acquisition: the row shows the current k
  EXPECT_EQ(reply(0.3, 1000).row->k, "0.3");

  // Row "9" is written but stops the phase; beyond the last label no row, the trackers run.
  m.AccIndex = 8;
  out = reply(1, 1000);
  EXPECT_TRUE(out.row && !out.runPhase);
  m.AccIndex = 11;
  out = reply(2, 900);
  EXPECT_TRUE(!out.row && !out.lowest && m.AccPeakK == 2);
  m.AccIndex = 0, f.ValuesInvalid = 1;  // invalid readings are not shown and stop the phase
  out = reply(1, 1000);
  EXPECT_TRUE(!out.shown && out.row && !out.runPhase);

  // Over the binary link with the engine-speed counter switched in, its speed is taken.
  f.ValuesInvalid = 0, s.ExternRpm = 1, l.RpmCounterRpm = 1234, l.OpaK = 1;
  EXPECT_EQ(TakeSmokeReadings(f, m, l, s, {Protocol::Binary, false, {}, r}).shown->rpm, "1234");
}

}  // namespace
}  // namespace vs::smoke
