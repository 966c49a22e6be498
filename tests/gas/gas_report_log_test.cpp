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
  in.print = {"Vanto",      "OM 123",       "SN42",
              "01/02/2027",  // analyser
              "Giri",       "RH 9",         "R7",
              "03/04/2027",  // engine-speed counter
              "Citroën C3", "C3",           "AB123CD",
              "VF7XXX",     "2015",                // vehicle
              "21",         "101,3",        "55",  // ambient
              "Rossi",      "Ing. Bianchi", "Centro Revisioni\r\nMilano"};
  // CO, corrected CO, CO2, HC, O2, oil temperature, speed, lambda, NOx, model, fuel, cycle
  in.shown = {"0,25", "0,2",  "14,8", "35",   "0,4",      "82",
              "820",  "1,01", "",     "VG-4", "BENZ CAT", "RPM conv(4T)"};
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
  in.shown = {"0,1",  "0,1", "15,1", "20",   "0,2",      "85",
              "2210", "1",   "",     "VG-4", "BENZ CAT", "RPM conv(4T)"};
  in.readings = {.GasRpm = 2210, .GasCOcorr = 0.1, .GasLambda = 1, .GasO2 = 0.2, .GasCO2 = 15.1};
  ASSERT_TRUE(ProvaMinAcc(in, idlePassed, w, cert));
  StampEndMeasTime(cert, {2026, 12, 6, 10, 20, 5}, in.regional);

  plat::test::TempFolder dir("vs-gas");
  ASSERT_TRUE(WriteGasReportLog(dir / "report.log", cert, in.texts.ReportTitle));
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
  ASSERT_TRUE(WriteGasReportLog(dir / "report.log", bench.cert, "REFERTO"));
  EXPECT_EQ(plat::test::ReadBytes(dir / "report.log"),
            std::string(kHead) +
                "COc=0,5\r\nCOcMax=0,3\r\nHC=35\r\nO2=0,4\r\nLambda=1,01\r\nParRPMmin=820\r\n"
                "RPM=\r\nCO_2=\r\nCO2_2=\r\nCOc_2=\r\nCOcMax_2=\r\nHC_2=\r\nO2_2=\r\n"
                "Lambda_2=\r\nResult=FAILED\r\nDate=06/12/2026\r\nStartMeas=\r\n"
                "EndMeas=10:20:05\r\nTech=Ing. Bianchi\r\nAgency=Centro Revisioni Milano\r\n");
  EXPECT_EQ(bench.cert.Label79.BackColor, plat::colors::kRed);
}

}  // namespace
}  // namespace vs
