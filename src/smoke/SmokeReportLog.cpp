#include "smoke/SmokeReportLog.h"

#include <cstddef>
#include <vector>

#include "platform/text/DateFormat.h"
#include "platform/text/Numbers.h"
#include "platform/text/TextFile.h"
#include "platform/text/ValueText.h"

namespace vs::smoke {

namespace {

// The 49 lines, UTF-8; the file writer puts each value's line breaks as blanks.
std::vector<std::string> SmokeReportLogLines(const SmokeReportValues& v, const LangTexts& texts,
                                             const plat::RegionalSettings& regional) {
  std::vector<std::string> lines;
  lines.reserve(49);
  auto add = [&lines](const std::string& key, const std::string& value) {
    lines.push_back(key + value);
  };
  auto number = [&regional](const std::optional<double>& value) {
    return value ? plat::PrintNumber(*value, regional) : std::string();
  };
  auto time = [&regional](const std::optional<plat::DateTime>& value) {
    return value ? plat::FormatTime(*value, regional) : std::string();
  };

  add("Title=", texts[lang::StampaOPARefer]);
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
  add("ParMinRPM=", plat::PrintNumber(v.SmokeRpmMin, regional));
  add("ParMaxRPM=", plat::PrintNumber(v.SmokeRpmMax, regional));
  add("ParThrOPA=", plat::PrintNumber(v.SmokeOpacityThreshold, regional));
  add("ParMaxOPA=", plat::PrintNumber(v.SmokeKLimit, regional));
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

}  // namespace

plat::FileResult WriteSmokeReportLog(const std::filesystem::path& programFolder,
                                     const SmokeReportValues& values, const LangTexts& texts,
                                     const plat::RegionalSettings& regional) {
  return plat::WriteTextFile((programFolder / "report.log").string(),
                             SmokeReportLogLines(values, texts, regional));
}

}  // namespace vs::smoke
