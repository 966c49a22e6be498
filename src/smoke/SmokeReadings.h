#pragma once
// One measured-values reply of the opacimeter, its values already in the reading
// variables: k corrected for a low ambient pressure, the six values as the form shows them
// (with the marks for values out of range), the "smoke.log" line, the trackers of the
// acceleration in progress, and the row of the acceleration table with the lowest and
// highest engine speed of the test. The form applies what TakeSmokeReadings returns.
#include <array>
#include <optional>
#include <string>

#include "platform/core/DateTime.h"
#include "platform/text/RegionalSettings.h"
#include "platform/text/TextFile.h"
#include "smoke/SeriesTypes.h"

namespace vs {

struct LinkState;
struct ShellState;
struct SmokeState;
struct SmokeFormFields;

inline constexpr const char* kSmokeLogName = "smoke.log";
inline constexpr double kLowPressureKpa = 94.5;  // below it k is lowered by 0.25
inline constexpr double kLowPressureKStep = 0.25;
inline constexpr double kRowRpmLow = 350.0;    // a row minimum at or below it is out of range
inline constexpr double kRowRpmHigh = 9500.0;  // a row maximum at or above it is out of range
inline constexpr const char* kRpmOutOfRange = "O-RANGE";
// The highest row of the acceleration labels (rows 8 to 10 are past the series).
inline constexpr int kLastRowLabel = 10;

// The six values in the order the form writes them: cell, oil and smoke temperature,
// opacity (N or HSU), k, engine speed.
struct SmokeReadingTexts {
  std::string cellTemp, oilTemp, smokeTemp, opacity, k, rpm;
};

// The cells of one acceleration row: peak k, engine speed at the peak, the row's lowest and
// highest engine speed.
struct SmokeRowTexts {
  std::string k, rpmAtPeak, min, max;
};

struct SmokeReadingsOutcome {
  std::optional<SmokeReadingTexts> shown;  // nothing when the readings are invalid
  std::optional<std::string> logLine;      // a "smoke.log" line, without its CR LF
  std::optional<SmokeRowTexts> row;        // for row AccIndex
  std::optional<std::string> lowest;       // Label52
  std::optional<std::string> highest;      // Label53
  bool runPhase = false;                   // hand over to the phase step
};

// k lowered by 0.25 when the ambient pressure, a number under the regional settings, is
// below 94.5 kPa; the pressure is kept in `pressureValue`. A pressure that is empty or not
// a number corrects nothing and leaves `pressureValue` as it was.
void CorrectForPressure(const std::string& ambientPressure, const plat::RegionalSettings& r,
                        double& k, double& pressureValue);

// The opacity as the form shows it: "0" below 0; in percent the number; in HSU
// 1000 - 1000 × (1 - N / 100) ^ 1.791667 rounded to a whole number, over 10. An opacity
// above 100 % shows 100 HSU.
std::string OpacityText(double n, std::int16_t unitIndex, const plat::RegionalSettings& r);

// A temperature as the form shows it: over MCTC-NET 888 (the instrument's out-of-range
// value) is "OutRange" and a negative value is shown as it is; over the binary protocol a
// negative value is "0".
std::string TemperatureText(double v, smoke::Protocol protocol, const plat::RegionalSettings& r);

// The six values of the reading variables as the form shows them.
SmokeReadingTexts ReadingTexts(const LinkState& l, std::int16_t unitIndex, smoke::Protocol protocol,
                               const plat::RegionalSettings& r);

// A "smoke.log" line: k, N, engine speed, oil, cell and smoke temperature as shown, the date
// and time, each followed by TAB, then the serial number and one blank.
std::string SmokeLogLine(const SmokeReadingTexts& t, const plat::DateTime& now,
                         const std::string& serial, const plat::RegionalSettings& r);

// The trackers of the acceleration in progress: the peak k with its engine speed (an equal
// k takes the later engine speed) and the highest engine speed; the lowest engine speed.
void TrackSmokePeak(SmokeState& m, const LinkState& l);
void TrackRpmMin(SmokeState& m, const LinkState& l);

// The cells of the row in progress, the out-of-range marks included.
SmokeRowTexts RowTexts(const SmokeState& m, const plat::RegionalSettings& r);

// What the form's reading step needs besides the records.
struct SmokeReadingsInput {
  smoke::Protocol protocol = smoke::Protocol::MctcNet;
  bool measuring = false;  // the status label shows the measuring text
  plat::DateTime now;
  const plat::RegionalSettings& regional;
};

// The whole reading step for one measured-values reply: corrects OpaK in place (and, over
// the binary protocol with the engine-speed counter switched in, takes its engine speed),
// runs the trackers, and returns what to show, log and hand over. A row outside the table
// is not written, and the test's lowest and highest engine speed stay as they are then.
SmokeReadingsOutcome TakeSmokeReadings(SmokeFormFields& f, SmokeState& m, LinkState& l,
                                       const ShellState& s, const SmokeReadingsInput& in);

// Appends one line to "smoke.log" in `folder` (Windows-1252, CR LF).
plat::FileResult AppendSmokeLog(const std::string& folder, const std::string& line);

}  // namespace vs
