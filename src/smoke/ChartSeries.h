#pragma once
// Test mode 6: single free accelerations recorded as time series of 41 rows, one row per
// "@VA" reply (0.25 s apart), for the single-acceleration chart.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "smoke/SeriesTypes.h"

namespace vs::smoke {

inline constexpr int kChartRows = 41;

// One row of the chart table; a value never written stays empty.
struct ChartPoint {
  std::optional<double> time;                  // seconds: row × 0.25
  std::optional<double> k10;                   // k × 10
  std::optional<double> rpm100;                // engine speed / 100
  std::optional<double> rpmMin100, rpmMax100;  // the limit lines, set by the chart window
  friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};
using ChartTable = std::array<ChartPoint, kChartRows>;

struct ChartRecord {
  ChartTable SmokeChartData;
  // The previous and the current reply's point: k × 10, engine speed / 100.
  std::array<std::array<double, 2>, 2> SmokeChartLastPoints{};
  std::int16_t ChartRow = 0;  // last filled row
  std::string ChartStep;      // sub-step of AVVIO: "UNO", "DUE", "TRE"
};

struct ChartOutcome {
  LabelChange label39;
  std::optional<plat::Color> label24Back;
  std::optional<ChartTable> showChart;  // the acceleration ended: the chart shown anew with this
};

// The chart-run step for one "@VA" reply in mode 6. The chart window copies the test form's
// Label39 and shows the engine speed after it; that is the caller's.
ChartOutcome ChartRunStep(PhaseFields& fields, ChartRecord& chart, const ValueReply& reply,
                          const SeriesSettings& settings);

// The chart window's limit lines: columns 4 and 5 of every row.
void SetChartLimitLines(ChartTable& table, float rpmMin, float rpmMax);

}  // namespace vs::smoke
