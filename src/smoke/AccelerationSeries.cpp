#include "smoke/AccelerationSeries.h"

#include <cmath>
#include <cstddef>

#include "platform/core/Error.h"
#include "platform/text/Numbers.h"
#include "shell/LimitRule.h"

namespace vs::smoke {

namespace {

std::size_t Row(int r) { return static_cast<std::size_t>(r); }

enum class Outcome { GoesOn, Pass, Fail, NotNumbers };

struct Evaluation {
  Outcome outcome = Outcome::GoesOn;
  double mean = 0;
  int first = 0, last = 0;  // rows of the deciding window
};

// Mean k of the `count` rows ending at row i, summed from the newest pair backwards;
// nothing when a cell of the window is not a number.
std::optional<double> MeanOf(const RowCells& cells, int i, int count,
                             const plat::RegionalSettings& regional) {
  double sum = 0;
  try {
    sum = plat::ParseDouble(cells.k[Row(i - 1)], regional) +
          plat::ParseDouble(cells.k[Row(i)], regional);
    for (int r = i - 2; r > i - count; --r) sum += plat::ParseDouble(cells.k[Row(r)], regional);
  } catch (const plat::RuntimeError&) {
    return std::nullopt;
  }
  return sum / count;
}

Evaluation Evaluate(const RowCells& cells, int i, double limit,
                    const plat::RegionalSettings& regional) {
  if (i < 2 || i > 7) return {};
  const int windows = i >= 6 ? 5 : 3;
  for (int count = 3; count <= windows; ++count) {
    const std::optional<double> mean = MeanOf(cells, i, count, regional);
    if (!mean) return {Outcome::NotNumbers};
    const Evaluation window{Outcome::Pass, *mean, i - count + 1, i};
    // With a limit of 0 or below both can hold at the third acceleration; the fail stands.
    if (i == 2 && AtLeast(*mean, 1.5 * limit)) return {Outcome::Fail, *mean, 0, 2};
    if (AtMost(*mean, limit)) return window;
  }
  if (i < 7) return {};
  return {Outcome::Fail, *MeanOf(cells, i, 3, regional), 5, 7};
}

std::string JoinNumbers(int first, int last) {
  std::string list;
  for (int n = first; n <= last; ++n) list += (list.empty() ? "" : ",") + std::to_string(n);
  return list;
}

}  // namespace

void StartSeries(AccelerationTable& table) {
  for (int r = 0; r < kAccelerationRows; ++r) {
    table.AccK[Row(r)].clear();
    table.AccRpm[Row(r)].clear();
    table.AccKState[Row(r)] = kRowNotInResult;
    table.AccRpmState[Row(r)] = kRowNotInResult;
  }
  table.SmokeResultK.clear();
  table.SmokeResultOpacity.clear();
  table.SmokeResultText.clear();
  table.AccelsUsed.clear();
  table.AccIndex = 0;
}

std::optional<SeriesResult> EvaluateSmokeTest(AccelerationTable& table, const RowCells& cells,
                                              const SeriesSettings& settings) {
  const int i = table.AccIndex;
  const Evaluation e = Evaluate(cells, i, settings.kLimit, settings.regional);
  if (e.outcome != Outcome::Pass && e.outcome != Outcome::Fail) return std::nullopt;

  const bool pass = e.outcome == Outcome::Pass;
  const double exponent = settings.unitIndex == 1 ? 0.43 : 0.24;
  SeriesResult result;
  result.meanK = plat::FormatDouble(plat::RoundTo(e.mean, 2), settings.regional);
  result.opacity = plat::FormatDouble(
      plat::RoundHalfEven(1000 - 1000 * std::exp(-e.mean * exponent)) / 10, settings.regional);
  result.verdict = settings.texts[pass ? lang::GeneralePos : lang::GeneraleNeg];
  result.verdictColour = pass ? colour::kPass : colour::kFail;

  for (int r = e.first; r <= e.last; ++r) {
    table.AccKState[Row(r)] = kRowInResult;
    table.AccRpmState[Row(r)] = kRowInResult;
  }
  for (int r = 0; r <= i; ++r) {
    table.AccK[Row(r)] = cells.k[Row(r)];
    table.AccRpm[Row(r)] = cells.rpm[Row(r)];
  }
  table.AccelsUsed = JoinNumbers(e.first + 1, e.last + 1);
  table.SmokeResultK = result.meanK;
  table.SmokeResultOpacity = result.opacity;
  table.SmokeResultText = result.verdict;
  table.AccIndex = kSeriesClosed;
  return result;
}

void StoreAccelerationRow(AccelerationTable& table, const RowCells& cells, const LangTexts& texts) {
  const int i = table.AccIndex;
  if (i < 0 || i >= kAccelerationRows) return;
  table.AccK[Row(i)] = cells.k[Row(i)];
  table.AccRpm[Row(i)] = cells.rpm[Row(i)];
  table.AccKState[Row(i)] = kRowInResult;
  table.AccRpmState[Row(i)] = kRowInResult;
  table.SmokeResultText = texts[lang::ANFUMOMis15];
}

bool IncAccelerata(AccelerationTable& table) {
  if (table.AccIndex == kSeriesClosed) return false;
  ++table.AccIndex;
  return true;
}

CaptureOutcome CaptureAcceleration(AccelerationTable& table, const RowCells& cells,
                                   std::int16_t testMode, const SeriesSettings& settings) {
  CaptureOutcome outcome;
  if (testMode != 5) {
    outcome.result = EvaluateSmokeTest(table, cells, settings);
  } else {
    StoreAccelerationRow(table, cells, settings.texts);
  }
  outcome.peakTrackersReset = IncAccelerata(table);
  return outcome;
}

ManualCaptureOutcome ManualCapture(AccelerationTable& table, const RowCells& cells,
                                   std::int16_t testMode, double cellTemp,
                                   const SeriesSettings& settings) {
  ManualCaptureOutcome outcome;
  if (!IsWarm(cellTemp)) return outcome;
  outcome.captured = true;
  outcome.capture = CaptureAcceleration(table, cells, testMode, settings);
  if (table.AccIndex == kAccelerationRows - 1) {
    outcome.buttonCaption = settings.texts[lang::ANFUMOFine];
  } else if (table.AccIndex > kAccelerationRows - 1) {
    outcome.buttonCaption = settings.texts[lang::ANFUMOAvan];
    outcome.buttonDisabled = true;
    table.AccIndex = kSeriesClosedByHand;
  }
  return outcome;
}

}  // namespace vs::smoke
