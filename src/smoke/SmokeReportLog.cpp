#include "smoke/SmokeReportLog.h"

#include <cstddef>

#include "platform/text/DateFormat.h"
#include "platform/text/Numbers.h"
#include "smoke/SmokeRules.h"

namespace vs::smoke {

namespace {

// CR LF, CR or LF inside a value: one blank each.
std::string OneLine(const std::string& value) {
  std::string line;
  line.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
    line += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return line;
}

}  // namespace

std::vector<std::string> SmokeReportLogLines(const SmokeReportValues& v, const LangTexts& texts,
                                             const plat::RegionalSettings& regional) {
  std::vector<std::string> lines;
  lines.reserve(49);
  auto add = [&lines](const std::string& key, const std::string& value) {
    lines.push_back(key + OneLine(value));
  };
  auto number = [&regional](const std::optional<double>& value) {
    return value ? PrintNumber(*value, regional) : std::string();
  };
  auto time = [&regional](const std::optional<plat::DateTime>& value) {
    return value ? plat::FormatTime(*value, regional) : std::string();
  };

  add("Title=", texts[text::kRefer]);
  add("Mark=", v.InstrMake);
  add("Type=", v.InstrModel);
  add("Homologation=", v.InstrHomologation);
  add("Serial=", v.InstrSerial);
  add("Expiring=", v.InstrExpiry);
  add("MarkRPM=", v.RpmMake);
  add("HomologationRPM=", v.RpmHomologation);
  add("SerialRPM=", v.RpmSerial);
  add("ExpiringRPM=", v.RpmExpiry);
  add("Manuf=", v.VehicleMakeType);
  add("Plate=", v.VehiclePlate);
  add("Loom=", v.VehicleChassis);
  add("Regis=", v.VehicleYear);
  add("AmbTemp=", v.AmbientTemperature);
  add("AmbPress=", v.AmbientPressure);
  add("AmbHum=", v.AmbientHumidity);
  add("OilTemp=", v.OpaOilTemp == 888.0 ? "OutRange" : plat::FormatDouble(v.OpaOilTemp, regional));
  add("MinRPM=", number(v.ReportMinRpm));
  add("MaxRPM=", number(v.ReportMaxRpm));
  add("ParMinRPM=", PrintNumber(v.SmokeRpmMin, regional));
  add("ParMaxRPM=", PrintNumber(v.SmokeRpmMax, regional));
  add("ParThrOPA=", PrintNumber(v.SmokeOpacityThreshold, regional));
  add("ParMaxOPA=", PrintNumber(v.SmokeKLimit, regional));
  for (std::size_t i = 0; i < kAccelerationRows; ++i) {
    const std::string digit(1, static_cast<char>('1' + i));
    add(digit + "MeasOPA=", v.AccK[i]);
    add(digit + "MeasRPM=", v.AccRpm[i]);
  }
  add("MidOPAK=", v.SmokeResultK);
  add("MidOPAP=", v.SmokeResultOpacity);
  add("UnitOPAP=", v.OpaUnitIndex == 1 ? "HSU" : "%");
  add("Result=", v.SmokeResultText);
  add("Date=", plat::FormatShortDate(v.Today, regional));
  add("StartMeas=", time(v.MeasureStart));
  add("EndMeas=", time(v.MeasureEnd));
  add("Tech=", v.TechnicalManager);
  add("Agency=", v.AgencyName);
  return lines;
}

std::optional<std::string> WriteSmokeReportLog(const std::filesystem::path& programFolder,
                                               const SmokeReportValues& values,
                                               const LangTexts& texts,
                                               const plat::RegionalSettings& regional) {
  return WriteTextLines(programFolder / "report.log", SmokeReportLogLines(values, texts, regional));
}

}  // namespace vs::smoke
