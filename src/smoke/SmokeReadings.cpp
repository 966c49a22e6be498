#include "smoke/SmokeReadings.h"

#include <cmath>
#include <filesystem>

#include "link/ExternalRpmReading.h"
#include "link/LinkState.h"
#include "platform/core/Error.h"
#include "platform/text/Numbers.h"
#include "platform/text/ValueText.h"
#include "shell/ShellState.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"

namespace vs {

namespace {

constexpr double kHsuExponent = 1.791667;
constexpr double kMcnOutOfRange = 888.0;
constexpr double kWarmCell = 70.0;  // the cell is warm above it

std::string Num(double v, const plat::RegionalSettings& r) { return plat::FormatDouble(v, r); }

std::string NotNegative(double v, const plat::RegionalSettings& r) {
  return v < 0 ? "0" : Num(v, r);
}

}  // namespace

void CorrectForPressure(const std::string& ambientPressure, const plat::RegionalSettings& r,
                        double& k, double& pressureValue) {
  // Called on every reply: the usual case, no pressure typed in, is told without an exception.
  if (ambientPressure.find_first_not_of(" \t") == std::string::npos) return;
  double p = 0;
  try {
    p = plat::ParseDouble(ambientPressure, r);
  } catch (const plat::RuntimeError&) {
    return;  // no pressure typed in: nothing to correct by
  }
  pressureValue = p;
  if (p < kLowPressureKpa) k -= kLowPressureKStep;
}

std::string OpacityText(double n, std::int16_t unitIndex, const plat::RegionalSettings& r) {
  if (n < 0) return "0";
  if (unitIndex == 0) return Num(n, r);
  if (n > 100) return "100";
  const double hsu = plat::RoundHalfEven(1000 - 1000 * std::pow(1 - n / 100, kHsuExponent)) / 10;
  return Num(hsu, r);
}

std::string TemperatureText(double v, smoke::Protocol protocol, const plat::RegionalSettings& r) {
  if (protocol == smoke::Protocol::MctcNet) return v == kMcnOutOfRange ? "OutRange" : Num(v, r);
  return NotNegative(v, r);
}

SmokeReadingTexts ReadingTexts(const LinkState& l, std::int16_t unitIndex, smoke::Protocol protocol,
                               const plat::RegionalSettings& r) {
  SmokeReadingTexts t;
  t.cellTemp = TemperatureText(l.OpaCellTemp, protocol, r);
  t.oilTemp = TemperatureText(l.OpaOilTemp, protocol, r);
  t.smokeTemp = TemperatureText(l.OpaSmokeTemp, protocol, r);
  t.opacity = OpacityText(l.OpaN, unitIndex, r);
  t.k = NotNegative(l.OpaK, r);
  t.rpm = NotNegative(l.OpaRpm, r);
  return t;
}

std::string SmokeLogLine(const SmokeReadingTexts& t, const plat::DateTime& now,
                         const std::string& serial, const plat::RegionalSettings& r) {
  std::string line;
  for (const std::string* field : {&t.k, &t.opacity, &t.rpm, &t.oilTemp, &t.cellTemp, &t.smokeTemp})
    line += *field + '\t';
  line += plat::FormatDateAndTime(now, r) + '\t';
  line += serial + ' ';
  return line;
}

void TrackSmokePeak(SmokeState& m, const LinkState& l) {
  if (l.OpaK >= m.AccPeakK) {
    m.AccPeakK = l.OpaK;
    m.AccRpmAtPeak = l.OpaRpm;
  }
  if (l.OpaRpm > m.AccMaxRpm) m.AccMaxRpm = l.OpaRpm;
}

void TrackRpmMin(SmokeState& m, const LinkState& l) {
  if (l.OpaRpm < m.AccMinRpm) m.AccMinRpm = l.OpaRpm;
}

SmokeRowTexts RowTexts(const SmokeState& m, const plat::RegionalSettings& r) {
  SmokeRowTexts row;
  row.k = Num(m.AccPeakK, r);
  row.rpmAtPeak = Num(m.AccRpmAtPeak, r);
  row.min = m.AccMinRpm > kRowRpmLow ? Num(m.AccMinRpm, r) : kRpmOutOfRange;
  row.max = m.AccMaxRpm < kRowRpmHigh ? Num(m.AccMaxRpm, r) : kRpmOutOfRange;
  return row;
}

SmokeReadingsOutcome TakeSmokeReadings(SmokeFormFields& f, SmokeState& m, LinkState& l,
                                       const ShellState& s, const SmokeReadingsInput& in) {
  SmokeReadingsOutcome out;
  const plat::RegionalSettings& r = in.regional;
  CorrectForPressure(s.AmbientPressure, r, l.OpaK, f.PressureValue);
  if (in.protocol == smoke::Protocol::Binary)
    l.OpaRpm = EngineReadingsForTest(s, l, {l.OpaRpm, l.OpaOilTemp}).rpm;

  if (f.ValuesInvalid != 1) {
    out.shown = ReadingTexts(l, s.OpaUnitIndex, in.protocol, r);
    if (in.measuring && f.LogFlag) out.logLine = SmokeLogLine(*out.shown, in.now, l.InstrSerial, r);
  }
  TrackRpmMin(m, l);

  if (f.TestPhase == "DUE" && l.OpaCellTemp > kWarmCell) {
    TrackSmokePeak(m, l);
    if (f.TestMode == 5) m.AccPeakK = l.OpaK;
    if (m.AccIndex >= 0 && m.AccIndex <= kLastRowLabel) {
      out.row = RowTexts(m, r);
      const double lowest = plat::LeadingNumber(out.row->min);
      if (lowest < m.SmokeLowestRpm) m.SmokeLowestRpm = lowest;
      m.ReportMinRpm = m.SmokeLowestRpm;
      out.lowest = Num(m.SmokeLowestRpm, r);
      const double highest = plat::LeadingNumber(out.row->max);
      if (highest > m.SmokeHighestRpm) m.SmokeHighestRpm = highest;
      m.ReportMaxRpm = m.SmokeHighestRpm;
      out.highest = Num(m.SmokeHighestRpm, r);
    }
  }
  out.runPhase = m.AccIndex < smoke::kSeriesClosed && f.ValuesInvalid == 0;
  return out;
}

plat::FileResult AppendSmokeLog(const std::string& folder, const std::string& line) {
  return plat::AppendTextLines((std::filesystem::path(folder) / kSmokeLogName).string(), {line});
}

}  // namespace vs
