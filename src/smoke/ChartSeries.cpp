#include "smoke/ChartSeries.h"

#include <cstddef>

#include "shell/LimitRule.h"

namespace vs::smoke {

namespace {

constexpr std::int16_t kLastChartRow = kChartRows - 1;

const std::string& Text(const SeriesSettings& s, std::size_t index) { return s.texts[index]; }

// A new acceleration: k and engine speed of every row back to 0; the times stay.
void ClearChart(ChartRecord& chart) {
  for (ChartPoint& row : chart.SmokeChartData) {
    row.k10 = 0.0;
    row.rpm100 = 0.0;
  }
  chart.ChartRow = 1;
}

}  // namespace

ChartOutcome ChartRunStep(PhaseFields& fields, ChartRecord& chart, const ValueReply& reply,
                          const SeriesSettings& s) {
  ChartOutcome out;
  const double r = static_cast<float>(reply.rpm);
  const bool started = AtLeast(r, s.rpmMin);
  const bool atIdle = Below(r, s.rpmMin);
  const bool aboveMax = Above(r, s.rpmMax);
  std::string& phase = fields.TestPhase;
  ChartTable& data = chart.SmokeChartData;

  if (phase == "AVVIOALTO") {
    if (started) {
      out.label39.Show(Text(s, lang::ANFUMODec), colour::kRelease);
    } else if (IsWarm(reply.cellTemp)) {
      if (StartGateOpen(reply)) {
        out.label24Back = colour::kWhite;
        out.label39.Show(Text(s, lang::ANFUMOAcc), colour::kAccelerate);
        phase = "PREAVVIO";
      }
      ClearChart(chart);
    } else {
      out.label24Back = colour::kCold;
      out.label39.Show(Text(s, lang::ANFUMOAttRisc), colour::kWhite);
    }
  }
  if (phase == "PREAVVIO") {
    auto& [previous, current] = chart.SmokeChartLastPoints;
    previous = current;
    current = {reply.k * 10, reply.rpm / 100};
    if (started) {
      data[0] = {0.0, previous[0], previous[1], data[0].rpmMin100, data[0].rpmMax100};
      data[1] = {0.25, current[0], current[1], data[1].rpmMin100, data[1].rpmMax100};
      phase = "AVVIO";
      chart.ChartStep = "UNO";
    }
  }
  if (phase == "AVVIO") {
    if (chart.ChartRow < kLastChartRow) {
      ++chart.ChartRow;
      ChartPoint& row = data[static_cast<std::size_t>(chart.ChartRow)];
      row.time = chart.ChartRow * 0.25;
      row.k10 = reply.k * 10;
      row.rpm100 = reply.rpm / 100;
      if (chart.ChartStep == "UNO") {
        if (aboveMax) {
          chart.ChartStep = "DUE";
          out.label39.Show(Text(s, lang::ANFUMOManMax), colour::kHoldMax);
          fields.MaxHoldDeadline = reply.tick + 120;
        }
      } else if (chart.ChartStep == "DUE") {
        if (fields.MaxHoldDeadline < reply.tick) {
          out.label39.Show(Text(s, lang::ANFUMODec), colour::kRelease);
          chart.ChartStep = "TRE";
        }
      } else if (chart.ChartStep == "TRE") {
        if (atIdle) phase = "FINE";
      }
    } else {
      phase = "FINE";
    }
  }
  if (phase == "FINE") {
    out.label39.Show(Text(s, lang::ANFUMOConcl) + ", " + Text(s, lang::ANFUMOAcc) + " " +
                         Text(s, lang::ANFUMOGrafic),
                     colour::kComplete);
    out.showChart = data;
    phase = "SUBATTESA";
  }
  if (phase == "SUBATTESA" && atIdle) {
    ClearChart(chart);
    phase = "PREAVVIO";
  }
  return out;
}

void SetChartLimitLines(ChartTable& table, float rpmMin, float rpmMax) {
  for (ChartPoint& row : table) {
    row.rpmMin100 = rpmMin / 100.0f;
    row.rpmMax100 = rpmMax / 100.0f;
  }
}

}  // namespace vs::smoke
