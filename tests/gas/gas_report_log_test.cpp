#include <gtest/gtest.h>

#include <string>

#include "gas/GasVerdicts.h"
#include "gas_test_util.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

// A catalysed test under Italian settings, with an accented make and a testing body typed
// over two lines.
void Fill(GasTestInput& in) {
  in.regional = plat::RegionalSettings::Italian();
  in.now = {2026, 12, 6, 10, 15, 30};
  in.StartMeasTime = plat::DateTime{2026, 12, 6, 10, 12, 0};
  in.print = {.GasMake = "Vanto",
              .GasHomologation = "OM 123",
              .GasSerialNumber = "SN42",
              .GasCheckExpiry = "01/02/2027",
              .RpmMake = "Giri",
              .RpmHomologation = "RH 9",
              .RpmSerial = "R7",
              .RpmExpiry = "03/04/2027",
              .VehicleMakeType = "Citroën C3",
              .VehicleModel = "C3",
              .VehiclePlate = "AB123CD",
              .VehicleChassis = "VF7XXX",
              .VehicleYear = "2015",
              .AmbientTemperature = "21",
              .AmbientPressure = "101,3",
              .AmbientHumidity = "55",
              .OperatorName = "Rossi",
              .TechnicalManager = "Ing. Bianchi",
              .AgencyName = "Centro Revisioni\r\nMilano"};
  in.shown = {.CO = "0,25",
              .COcorr = "0,2",
              .CO2 = "14,8",
              .HC = "35",
              .O2 = "0,4",
              .OilTemp = "82",
              .Rpm = "820",
              .Lambda = "1,01",
              .NOx = "",
              .Model = "VG-4",
              .Fuel = "BENZ CAT",
              .Strokes = "RPM conv(4T)"};
}

const char kHead[] =
    "Title=REFERTO\r\nMark=Vanto\r\nType=VG-4\r\nHomologation=OM 123\r\nSerial=SN42\r\n"
    "Expiring=01/02/2027\r\nMarkRPM=Giri\r\nHomologationRPM=RH 9\r\nSerialRPM=R7\r\n"
    "ExpiringRPM=03/04/2027\r\nManuf=Citro\xEBn C3\r\nModel=C3\r\nPlate=AB123CD\r\n"
    "Loom=VF7XXX\r\nFuel=BENZ CAT\r\nRegis=2015\r\nAmbTemp=21\r\nAmbPress=101,3\r\n"
    "AmbHum=55\r\nOilTemp=82\r\nCO=0,25\r\nCO2=14,8\r\n";

TEST(GasReportLog, PassedCatalysedTest) {
  GasTestInput in = test::BenchInput();
  Fill(in);
  GasWindowChanges w;
  GasCertificate cert;
  std::int16_t idlePassed = 0;
  ASSERT_TRUE(ProvaMin(in, idlePassed, w, cert));
  in.shown = {.CO = "0,1",
              .COcorr = "0,1",
              .CO2 = "15,1",
              .HC = "20",
              .O2 = "0,2",
              .OilTemp = "85",
              .Rpm = "2210",
              .Lambda = "1",
              .NOx = "",
              .Model = "VG-4",
              .Fuel = "BENZ CAT",
              .Strokes = "RPM conv(4T)"};
  in.readings = {.GasRpm = 2210, .GasCOcorr = 0.1, .GasLambda = 1, .GasO2 = 0.2, .GasCO2 = 15.1};
  ASSERT_TRUE(ProvaMinAcc(in, idlePassed, w, cert));
  StampEndMeasTime(cert, {2026, 12, 6, 10, 20, 5}, in.regional);

  plat::test::TempFolder dir("vs-gas");
  ASSERT_EQ(WriteGasReportLog(dir / "report.log", cert, in.texts.ReportTitle), std::nullopt);
  EXPECT_EQ(plat::test::ReadBytes(dir / "report.log"),
            std::string(kHead) +
                "COc=0,2\r\nCOcMax=0,3\r\nHC=35\r\nO2=0,4\r\nLambda=1,01\r\nParRPMmin=820\r\n"
                "RPM=2210\r\nCO_2=0,1\r\nCO2_2=15,1\r\nCOc_2=0,1\r\nCOcMax_2=0,3\r\nHC_2=20\r\n"
                "O2_2=0,2\r\nLambda_2=1\r\nResult=PASSED\r\nDate=06/12/2026\r\n"
                "StartMeas=10:12:00\r\nEndMeas=10:20:05\r\nTech=Ing. Bianchi\r\n"
                "Agency=Centro Revisioni Milano\r\n");
}

// The idle verdict of a catalysed test fails: the sequence writes the result and leaves the
// raised-idle section blank. The file replaces the one of an earlier print.
TEST(GasReportLog, FailedCatalysedTestReplacesTheFile) {
  test::GasBench bench(GasProtocol::Own, 1);
  Fill(bench.in);
  bench.in.StartMeasTime.reset();
  bench.in.readings.GasCOcorr = 0.5;
  bench.in.shown.COcorr = "0,5";
  bench.state.GasPhase = GasTestPhase::Minimo;
  bench.ReplyAt(0);
  bench.ReplyAt(41);
  ASSERT_EQ(bench.state.GasPhase, GasTestPhase::Out);
  StampEndMeasTime(bench.cert, {2026, 12, 6, 10, 20, 5}, bench.in.regional);

  plat::test::TempFolder dir("vs-gas");
  plat::test::WriteBytes(dir / "report.log", std::string(5000, 'x'));
  ASSERT_EQ(WriteGasReportLog(dir / "report.log", bench.cert, "REFERTO"), std::nullopt);
  EXPECT_EQ(plat::test::ReadBytes(dir / "report.log"),
            std::string(kHead) +
                "COc=0,5\r\nCOcMax=0,3\r\nHC=35\r\nO2=0,4\r\nLambda=1,01\r\nParRPMmin=820\r\n"
                "RPM=\r\nCO_2=\r\nCO2_2=\r\nCOc_2=\r\nCOcMax_2=\r\nHC_2=\r\nO2_2=\r\n"
                "Lambda_2=\r\nResult=FAILED\r\nDate=06/12/2026\r\nStartMeas=\r\n"
                "EndMeas=10:20:05\r\nTech=Ing. Bianchi\r\nAgency=Centro Revisioni Milano\r\n");
  EXPECT_EQ(bench.cert.Label79.BackColor, plat::colors::kRed);
}

TEST(GasReportLog, UnwritableFileIsReported) {
  plat::test::TempFolder dir("vs-gas");
  const auto failure = WriteGasReportLog(dir / "missing" / "report.log", GasCertificate{}, "T");
  ASSERT_TRUE(failure.has_value());
  EXPECT_FALSE(failure->empty());
}

}  // namespace
}  // namespace vs
