#pragma once
// "report.log" of the smoke report: 49 key=value lines in the program's folder, rewritten
// whole each time the report opens. Texts are taken as they stand; a line break inside one
// is written as one blank so that every key keeps its own line.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/core/DateTime.h"
#include "platform/text/RegionalSettings.h"
#include "platform/text/TextFile.h"
#include "smoke/AccelerationSeries.h"
#include "smoke/SeriesTypes.h"

namespace vs::smoke {

// What the report prints, read once when it opens. Texts are UTF-8.
struct SmokeReportValues {
  // The instrument identified last.
  std::string InstrMake, InstrModel, InstrHomologation, InstrSerial, InstrExpiry;
  // The engine-speed counter.
  std::string RpmMake, RpmHomologation, RpmSerial, RpmExpiry;
  std::string VehicleMakeType, VehiclePlate, VehicleChassis, VehicleYear;
  std::string AmbientTemperature, AmbientPressure, AmbientHumidity;  // as typed
  double OpaOilTemp = 0;                                             // 888.0: out of range
  std::optional<double> ReportMinRpm, ReportMaxRpm;  // nothing before the first reading
  float SmokeRpmMin = 0, SmokeRpmMax = 0;
  double SmokeOpacityThreshold = 0, SmokeKLimit = 0;
  std::array<std::string, kAccelerationRows> AccK, AccRpm;
  std::string SmokeResultK, SmokeResultOpacity, SmokeResultText;
  std::int16_t OpaUnitIndex = 0;  // 1 HSU, else %
  plat::DateTime Today;
  std::optional<plat::DateTime> MeasureStart;  // nothing before the first START
  std::optional<plat::DateTime> MeasureEnd;
  std::string TechnicalManager, AgencyName;
};

// Rewrites "report.log" in `programFolder`: 49 lines in Windows-1252, CR LF. A failure comes
// back with the system's reason.
plat::FileResult WriteSmokeReportLog(const std::filesystem::path& programFolder,
                                     const SmokeReportValues& values, const LangTexts& texts,
                                     const plat::RegionalSettings& regional);

}  // namespace vs::smoke
