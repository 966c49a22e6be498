#pragma once
// The acceleration table of a smoke test and the decision of the series: after each
// captured acceleration the mean k of the last three (from the seventh on also four and
// five) rows is compared with the limit value K; the series passes, fails or goes on.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "smoke/SeriesTypes.h"

namespace vs::smoke {

inline constexpr int kAccelerationRows = 8;
inline constexpr std::int16_t kSeriesClosed = 8;         // decided, or the last row captured
inline constexpr std::int16_t kSeriesClosedByHand = 10;  // the capture button closed it
inline constexpr std::int16_t kRowInResult = 3;          // printed orange
inline constexpr std::int16_t kRowNotInResult = 4;       // printed yellow

struct AccelerationTable {
  std::int16_t AccIndex = 0;  // row of the acceleration in progress
  std::array<std::string, kAccelerationRows> AccK, AccRpm;
  std::array<std::int16_t, kAccelerationRows> AccKState{}, AccRpmState{};
  std::string AccelsUsed;  // acceleration numbers of the deciding rows, "3,4,5"
  std::string SmokeResultK, SmokeResultOpacity, SmokeResultText;
};

// The row cells of the test form as they stand: the peak k (Label36) and the engine speed
// at the peak (Label18) of rows 0 to 7.
struct RowCells {
  std::array<std::string, kAccelerationRows> k, rpm;
};

// What a decision shows on the test form.
struct SeriesResult {
  std::string meanK;    // Label35: the mean, two decimals
  std::string opacity;  // Label55: the opacity of the unrounded mean, one decimal
  std::string verdict;  // Label33 caption
  plat::Color verdictColour = 0;
};

// What one capture did.
struct CaptureOutcome {
  std::optional<SeriesResult> result;  // the series was decided
  bool peakTrackersReset = false;      // AccPeakK, AccMaxRpm := 0, AccMinRpm := 10000
};

// START: every row empty and out of the result, no result, the first row in progress.
void StartSeries(AccelerationTable& table);

// Decides the series after row AccIndex was captured. Writes the table only on a decision.
// A window whose k cells are not all numbers decides nothing.
std::optional<SeriesResult> EvaluateSmokeTest(AccelerationTable& table, const RowCells& cells,
                                              const SeriesSettings& settings);

// Direct acquisition: fixes row AccIndex without a verdict. A row outside the table is not
// stored.
void StoreAccelerationRow(AccelerationTable& table, const RowCells& cells, const LangTexts& texts);

// Moves on to the next row unless the series is closed; true when it moved (the caller then
// resets its peak trackers).
bool IncAccelerata(AccelerationTable& table);

// The capture step at the end of an acceleration: evaluates (or, in direct acquisition,
// mode 5, stores) the row, then moves on.
CaptureOutcome CaptureAcceleration(AccelerationTable& table, const RowCells& cells,
                                   std::int16_t testMode, const SeriesSettings& settings);

// The manual capture button Command1.
struct ManualCaptureOutcome {
  bool captured = false;  // false: the cell was cold and nothing changed
  CaptureOutcome capture;
  std::optional<std::string> buttonCaption;  // Command1's new caption
  bool buttonDisabled = false;               // the series was closed by this click
};
ManualCaptureOutcome ManualCapture(AccelerationTable& table, const RowCells& cells,
                                   std::int16_t testMode, double cellTemp,
                                   const SeriesSettings& settings);

}  // namespace vs::smoke
