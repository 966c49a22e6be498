#include <gtest/gtest.h>

#include <string>

#include "smoke/SmokeReportLog.h"
#include "smoke_test_util.h"
#include "support/TempFolder.h"

namespace vs::smoke {
namespace {

using plat::test::ReadBytes;
using plat::test::TempFolder;
using plat::test::WriteBytes;
using test::NumberedTexts;

// Lines 1 to 17 of CommonValues().
const std::string kCommonLines =
    "Title=T128\r\nMark=Fumotec\r\nType=OPA-735\r\nHomologation=OM 123\r\n"
    "Serial=AQ1234\r\nExpiring=31/12/2027\r\nMarkRPM=Girotec\r\nHomologationRPM=RM 9\r\n"
    "SerialRPM=R555\r\nExpiringRPM=01/06/2027\r\nManuf=Furgone 2.3\r\nPlate=AB123CD\r\n"
    "Loom=ZFA250000012345\r\nRegis=2015\r\nAmbTemp=21.5\r\nAmbPress=101.3\r\n"
    "AmbHum=55\r\n";

SmokeReportValues CommonValues() {
  SmokeReportValues v;
  v.InstrMake = "Fumotec";
  v.InstrModel = "OPA-735";
  v.InstrHomologation = "OM 123";
  v.InstrSerial = "AQ1234";
  v.InstrExpiry = "31/12/2027";
  v.RpmMake = "Girotec";
  v.RpmHomologation = "RM 9";
  v.RpmSerial = "R555";
  v.RpmExpiry = "01/06/2027";
  v.VehicleMakeType = "Furgone 2.3";
  v.VehiclePlate = "AB123CD";
  v.VehicleChassis = "ZFA250000012345";
  v.VehicleYear = "2015";
  v.AmbientTemperature = "21.5";
  v.AmbientPressure = "101.3";
  v.AmbientHumidity = "55";
  v.SmokeRpmMin = 800;
  v.SmokeRpmMax = 4000;
  v.Today = {2026, 12, 6, 10, 22, 0};
  v.MeasureEnd = plat::DateTime{2026, 12, 6, 10, 21, 30};
  v.TechnicalManager = "Mario Rossi";
  return v;
}

TEST(SmokeReportLogTest, PassedSeries) {
  SmokeReportValues v = CommonValues();
  v.OpaOilTemp = 82.5;
  v.ReportMinRpm = 780;
  v.ReportMaxRpm = 4520.5;
  v.SmokeOpacityThreshold = 0.5;
  v.SmokeKLimit = 1.5;
  const char* k[] = {"2.4", "2", "1.6", "1.2", "1"};
  for (std::size_t r = 0; r < 5; ++r) {
    v.AccK[r] = k[r];
    v.AccRpm[r] = "4600";
  }
  v.SmokeResultK = "1.27";
  v.SmokeResultOpacity = "26.2";
  v.SmokeResultText = "T135";
  v.MeasureStart = plat::DateTime{2026, 12, 6, 10, 15, 0};
  v.AgencyName = "Officina Sàn Marco\r\nsede Nord";  // a line break typed into the box
  TempFolder dir("vs-report");
  WriteBytes(dir / "report.log", std::string(4000, 'x'));

  ASSERT_TRUE(
      WriteSmokeReportLog(dir.path(), v, NumberedTexts(), plat::RegionalSettings::English()));

  EXPECT_EQ(
      ReadBytes(dir / "report.log"),
      kCommonLines +
          "OilTemp=82.5\r\nMinRPM= 780 \r\nMaxRPM= 4520.5 \r\n"
          "ParMinRPM= 800 \r\nParMaxRPM= 4000 \r\nParThrOPA= 0.5 \r\nParMaxOPA= 1.5 \r\n"
          "1MeasOPA=2.4\r\n1MeasRPM=4600\r\n2MeasOPA=2\r\n2MeasRPM=4600\r\n"
          "3MeasOPA=1.6\r\n3MeasRPM=4600\r\n4MeasOPA=1.2\r\n4MeasRPM=4600\r\n"
          "5MeasOPA=1\r\n5MeasRPM=4600\r\n6MeasOPA=\r\n6MeasRPM=\r\n7MeasOPA=\r\n7MeasRPM=\r\n"
          "8MeasOPA=\r\n8MeasRPM=\r\nMidOPAK=1.27\r\nMidOPAP=26.2\r\nUnitOPAP=%\r\n"
          "Result=T135\r\nDate=06/12/2026\r\nStartMeas=10:15:00\r\nEndMeas=10:21:30\r\n"
          "Tech=Mario Rossi\r\nAgency=Officina S\xE0n Marco sede Nord\r\n");
}

// Failed in HSU with a decimal comma, the oil temperature out of range, no engine-speed
// reading yet and no START since the program began.
TEST(SmokeReportLogTest, FailedSeries) {
  SmokeReportValues v = CommonValues();
  v.OpaOilTemp = 888.0;
  v.SmokeRpmMin = 812.5f;
  v.SmokeOpacityThreshold = -0.25;
  v.SmokeKLimit = 1.5;
  for (std::size_t r = 0; r < 8; ++r) {
    v.AccK[r] = r == 7 ? "2,2" : "2";
    v.AccRpm[r] = "4550";
  }
  v.SmokeResultK = "2,07";
  v.SmokeResultOpacity = "58,9";
  v.SmokeResultText = "T136";
  v.OpaUnitIndex = 1;
  v.AgencyName = "Ente\nprova\r";
  TempFolder dir("vs-report");

  ASSERT_TRUE(
      WriteSmokeReportLog(dir.path(), v, NumberedTexts(), plat::RegionalSettings::Italian()));

  EXPECT_EQ(ReadBytes(dir / "report.log"),
            kCommonLines +
                "OilTemp=OutRange\r\nMinRPM=\r\nMaxRPM=\r\n"
                "ParMinRPM= 812,5 \r\nParMaxRPM= 4000 \r\nParThrOPA=-0,25 \r\nParMaxOPA= 1,5 \r\n"
                "1MeasOPA=2\r\n1MeasRPM=4550\r\n2MeasOPA=2\r\n2MeasRPM=4550\r\n"
                "3MeasOPA=2\r\n3MeasRPM=4550\r\n4MeasOPA=2\r\n4MeasRPM=4550\r\n"
                "5MeasOPA=2\r\n5MeasRPM=4550\r\n6MeasOPA=2\r\n6MeasRPM=4550\r\n"
                "7MeasOPA=2\r\n7MeasRPM=4550\r\n8MeasOPA=2,2\r\n8MeasRPM=4550\r\n"
                "MidOPAK=2,07\r\nMidOPAP=58,9\r\nUnitOPAP=HSU\r\n"
                "Result=T136\r\nDate=06/12/2026\r\nStartMeas=\r\nEndMeas=10:21:30\r\n"
                "Tech=Mario Rossi\r\nAgency=Ente prova \r\n");
}

}  // namespace
}  // namespace vs::smoke
