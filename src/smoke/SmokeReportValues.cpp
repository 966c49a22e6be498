#include "smoke/SmokeReportValues.h"

#include <cstddef>

#include "link/LinkState.h"
#include "platform/text/DateFormat.h"
#include "platform/text/Numbers.h"
#include "shell/ShellState.h"
#include "smoke/SmokeState.h"

namespace vs::smoke {

SmokeReportValues ReportValuesNow(const ShellState& shell, const LinkState& link,
                                  const SmokeState& smoke, const plat::DateTime& today) {
  SmokeReportValues v;
  v.InstrMake = link.InstrMake;
  v.InstrModel = link.InstrModel;
  v.InstrHomologation = link.InstrHomologation;
  v.InstrSerial = link.InstrSerial;
  v.InstrExpiry = link.InstrExpiry;
  v.RpmMake = shell.RpmMake;
  v.RpmHomologation = shell.RpmHomologation;
  v.RpmSerial = shell.RpmSerial;
  v.RpmExpiry = shell.RpmExpiry;
  v.VehicleMakeType = shell.VehicleMakeType;
  v.VehiclePlate = shell.VehiclePlate;
  v.VehicleChassis = shell.VehicleChassis;
  v.VehicleYear = shell.VehicleYear;
  v.AmbientTemperature = shell.AmbientTemperature;
  v.AmbientPressure = shell.AmbientPressure;
  v.AmbientHumidity = shell.AmbientHumidity;
  v.OpaOilTemp = link.OpaOilTemp;
  v.ReportMinRpm = smoke.ReportMinRpm;
  v.ReportMaxRpm = smoke.ReportMaxRpm;
  v.SmokeRpmMin = shell.SmokeRpmMin;
  v.SmokeRpmMax = shell.SmokeRpmMax;
  v.SmokeOpacityThreshold = shell.SmokeOpacityThreshold;
  v.SmokeKLimit = shell.SmokeKLimit;
  for (std::size_t i = 0; i < kAccelerationRows; ++i) {
    v.AccK[i] = smoke.AccK[i];
    v.AccRpm[i] = smoke.AccRpm[i];
  }
  v.SmokeResultK = smoke.SmokeResultK;
  v.SmokeResultOpacity = smoke.SmokeResultOpacity;
  v.SmokeResultText = smoke.SmokeResultText;
  v.OpaUnitIndex = shell.OpaUnitIndex;
  v.Today = today;
  v.MeasureStart = smoke.MeasureStart;
  v.MeasureEnd = smoke.MeasureEnd;
  v.TechnicalManager = shell.TechnicalManager;
  v.AgencyName = shell.AgencyName;
  return v;
}

SmokeReportCells ReportCells(const SmokeReportValues& v, const plat::RegionalSettings& regional) {
  const auto number = [&regional](const std::optional<double>& value) {
    return value ? plat::FormatDouble(*value, regional) : std::string();
  };
  const auto time = [&regional](const std::optional<plat::DateTime>& value) {
    return value ? plat::FormatTime(*value, regional) : std::string();
  };
  SmokeReportCells c;
  c.oilTemp = v.OpaOilTemp == 888.0 ? "OutRange" : plat::FormatDouble(v.OpaOilTemp, regional);
  c.minRpm = number(v.ReportMinRpm);
  c.maxRpm = number(v.ReportMaxRpm);
  c.rpmMin = plat::FormatSingle(v.SmokeRpmMin, regional);
  c.rpmMax = plat::FormatSingle(v.SmokeRpmMax, regional);
  c.opacityThreshold = plat::FormatDouble(v.SmokeOpacityThreshold, regional);
  c.kLimit = plat::FormatDouble(v.SmokeKLimit, regional);
  c.unit = v.OpaUnitIndex == 1 ? "HSU" : "%";
  c.date = plat::FormatShortDate(v.Today, regional);
  c.start = time(v.MeasureStart);
  c.end = time(v.MeasureEnd);
  return c;
}

plat::Color AccelerationCellColour(std::int16_t rowState) {
  return rowState == kRowInResult ? plat::Color{0x80FF} : plat::colors::kYellow;
}

}  // namespace vs::smoke
