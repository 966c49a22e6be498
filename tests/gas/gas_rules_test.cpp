// The gas test's rules without a form: the verdicts against the limits, the test sequence
// reply by reply, and the bytes of "report.log".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gas/GasVerdicts.h"
#include "gas_fixture.h"

namespace vs::test {
namespace {

using Phase = GasTestPhase;
constexpr plat::Color Y = plat::colors::kYellow, R = plat::colors::kRed;

TEST(GasVerdicts, ReadingsAgainstLimits) {
  // Raised: ProvaMinAcc after a ProvaMin whose outcome is the idle verdict; else ProvaMin. The
  // boxes of speed, corrected CO and lambda: idle Label46, 52, 71; raised 60, 65, 71.
  using Row = std::tuple<const char*, bool, std::int16_t, double, double, double, std::int16_t,
                         bool, plat::Color, plat::Color, plat::Color>;
  const double own = 3 * 0.1;  // the own protocol's corrected CO, shown "0.3"
  // What, raised, speed check, speed, corrected CO, lambda, idle verdict, passed, boxes.
  const Row rows[] = {
      {"idle inside", false, 1, 800, 0.2, 1, 0, true, Y, Y, Y},
      {"idle on both limits", false, 1, 1000, 0.3, 1, 0, true, Y, Y, Y},
      {"idle own corrected CO on its limit", false, 1, 800, own, 1, 0, true, Y, Y, Y},
      {"idle corrected CO above", false, 1, 800, 0.31, 1, 0, false, Y, R, Y},
      {"idle speed above", false, 1, 1001, 0.2, 1, 0, false, R, Y, Y},
      {"idle both above", false, 1, 1500, 0.5, 1, 0, false, R, R, Y},
      {"idle speed above, check off", false, 0, 5000, 0.2, 1, 0, true, Y, Y, Y},
      {"idle speed above, check 2", false, 2, 5000, 0.2, 1, 0, true, Y, Y, Y},
      {"idle out-of-range speed", false, 1, -1, 0.2, 1, 0, true, Y, Y, Y},
      {"raised inside", true, 1, 2200, 0.2, 1.0, 1, true, Y, Y, Y},
      {"raised on lower bounds", true, 1, 2000, own, 0.97, 1, true, Y, Y, Y},
      {"raised on upper bounds", true, 1, 2500, 0.3, 1.03, 1, true, Y, Y, Y},
      {"raised speed below", true, 1, 1999, 0.2, 1.0, 1, false, R, Y, Y},
      {"raised speed above", true, 1, 2501, 0.2, 1.0, 1, false, R, Y, Y},
      {"raised speed outside, check off", true, 0, 4000, 0.2, 1.0, 1, true, Y, Y, Y},
      {"raised out-of-range speed", true, 1, -1, 0.2, 1.0, 1, false, R, Y, Y},
      {"raised corrected CO above", true, 1, 2200, 0.4, 1.0, 1, false, Y, R, Y},
      {"raised lambda below", true, 1, 2200, 0.2, 0.96, 1, false, Y, Y, R},
      {"raised lambda out of range", true, 0, 2200, 0.2, -1, 1, false, Y, Y, R},
      {"raised inside after a failed idle", true, 1, 2200, 0.2, 1.0, 0, false, Y, Y, Y},
  };
  for (auto [what, raised, check, rpm, cocorr, lambda, idle, passed, speedBox, coBox, lambdaBox] :
       rows) {
    SCOPED_TRACE(what);
    GasTestInput in = GasBench(GasProtocol::Own, 1).in;
    in.limits.GasRpmCheckEnabled = check;
    in.readings = {
        .GasRpm = rpm, .GasCOcorr = cocorr, .GasLambda = lambda, .GasO2 = 1, .GasCO2 = 14};
    GasWindowChanges w;
    GasCertificate c;
    std::int16_t verdict = idle;
    const bool got = raised ? ProvaMinAcc(in, verdict, w, c) : ProvaMin(in, verdict, w, c);
    const std::string said = passed ? "PASSED" : "FAILED";
    EXPECT_EQ(
        std::tuple(got, (raised ? c.Label60 : c.Label46).BackColor,
                   (raised ? c.Label65 : c.Label52).BackColor, c.Label71.BackColor, verdict,
                   c.Label79.Caption, c.Label79.BackColor, w.Label28Caption, w.Label28BackColor),
        std::tuple(passed, speedBox, coBox, lambdaBox, raised ? idle : passed, raised ? said : "",
                   raised && !passed ? R : Y, said, passed ? plat::colors::kGreen : R));
  }
}

// The printed data of a catalysed test under Italian settings, with an accented make and a
// testing body typed over two lines: analyser, engine-speed counter, vehicle, ambient, people.
void Fill(GasTestInput& in) {
  in.regional = plat::RegionalSettings::Italian();
  in.now = {2026, 12, 6, 10, 15, 30};
  in.StartMeasTime = plat::DateTime{2026, 12, 6, 10, 12, 0};
  in.print = {"Vanto",      "OM 123",       "SN42",
              "01/02/2027", "Giri",         "RH 9",
              "R7",         "03/04/2027",  //
              "Citroën C3", "C3",           "AB123CD",
              "VF7XXX",     "2015",         "21",
              "101,3",      "55",  //
              "Rossi",      "Ing. Bianchi", "Centro Revisioni\r\nMilano"};
  // CO, corrected CO, CO2, HC, O2, oil temperature, speed, lambda, NOx, model, fuel, cycle
  in.shown = {"0,25", "0,2",  "14,8", "35",   "0,4",      "82",
              "820",  "1,01", "",     "VG-4", "BENZ CAT", "RPM conv(4T)"};
}

// "report.log" written over an earlier, longer one, after the print button's stamp.
std::string Report(GasCertificate& cert) {
  StampEndMeasTime(cert, {2026, 12, 6, 10, 20, 5}, plat::RegionalSettings::Italian());
  plat::test::TempFolder dir("vs-gas");
  plat::test::WriteBytes(dir / "report.log", std::string(5000, 'x'));
  EXPECT_TRUE(WriteGasReportLog(dir / "report.log", cert, "REFERTO"));
  return plat::test::ReadBytes(dir / "report.log");
}

const std::string kHead =
    "Title=REFERTO\r\nMark=Vanto\r\nType=VG-4\r\nHomologation=OM 123\r\nSerial=SN42\r\n"
    "Expiring=01/02/2027\r\nMarkRPM=Giri\r\nHomologationRPM=RH 9\r\nSerialRPM=R7\r\n"
    "ExpiringRPM=03/04/2027\r\nManuf=Citro\xEBn C3\r\nModel=C3\r\nPlate=AB123CD\r\n"
    "Loom=VF7XXX\r\nFuel=BENZ CAT\r\nRegis=2015\r\nAmbTemp=21\r\nAmbPress=101,3\r\n"
    "AmbHum=55\r\nOilTemp=82\r\nCO=0,25\r\nCO2=14,8\r\n";

// A catalysed test in the own protocol with a reply at every tick: the idle window waits for
// the engine speed, the raised idle for its speed window; the raised-idle corrected CO is the
// own protocol's 0.1 * 3, shown equal to its limit 0.3.
TEST(GasSequence, CatalysedOwnProtocolTickByTickAndItsReport) {
  // The tick, the speed from it on, the phase, Label27, Label28 and the bar (-1: not looked at).
  using Step = std::tuple<int, double, Phase, const char*, const char*, float>;
  const Step steps[] = {
      {100, 1000, Phase::Minimo, "DEC", "", -1},  // equal to the idle limit: too fast
      {109, 1000, Phase::Minimo, "DEC", "", -1},
      {110, 800, Phase::Uno, "MANMIN", "", 0},  // the idle window: ticks 110 to 150
      {130, 1200, Phase::Uno, "DEC", "", 20},
      {131, 800, Phase::Uno, "MANMIN", "", 21},
      {150, 800, Phase::Uno, "MANMIN", "", 40},
      {151, 800, Phase::Due, "P1CONCL", "PASSED", -1},  // then a 140-tick wait
      {291, 800, Phase::Due, "P1CONCL", "PASSED", -1},
      {292, 1900, Phase::Due, "ACC", "ESITO", -1},
      {293, 2600, Phase::Due, "DEC", "ESITO", -1},
      {294, 2210, Phase::Tre, "MANMINACC", "ESITO", 0},  // the raised-idle window
      {334, 2210, Phase::Tre, "MANMINACC", "ESITO", 40},
      {335, 2210, Phase::Out, "P2CONCL", "PASSED", -1},  // the first reply after it
  };
  GasBench b(GasProtocol::Own, 1);
  Fill(b.in);
  const Step* step = steps;
  for (int tick = 100; tick <= 335; ++tick) {
    const auto [at, rpm, phase, said, verdict, bar] = *step;
    if (tick == at) b.in.readings.GasRpm = rpm;
    if (tick == 292) {
      b.in.readings.GasCOcorr = 3 * 0.1;
      b.in.shown = {"0,1",  "0,1", "15,1", "20",   "0,2",      "85",
                    "2210", "1",   "",     "VG-4", "BENZ CAT", "RPM conv(4T)"};
    }
    b.ReplyAt(tick);
    EXPECT_EQ(b.Command2Enabled, b.state.GasPhase == Phase::Out) << tick;
    if (tick != at) continue;
    const float shownBar = b.PBar1Visible ? b.PBar1Value : -1;  // -1: hidden
    EXPECT_EQ(std::tuple(b.state.GasPhase, b.Label27, b.Label28, bar < 0 ? bar : shownBar),
              std::tuple(phase, said, verdict, bar))
        << tick;
    ++step;
  }
  EXPECT_EQ(std::tuple(b.PBar1Visible, b.cert.Label79.BackColor), std::tuple(false, Y));
  EXPECT_EQ(Report(b.cert),
            kHead +
                "COc=0,2\r\nCOcMax=0,3\r\nHC=35\r\nO2=0,4\r\nLambda=1,01\r\nParRPMmin=820\r\n"
                "RPM=2210\r\nCO_2=0,1\r\nCO2_2=15,1\r\nCOc_2=0,1\r\nCOcMax_2=0,3\r\nHC_2=20\r\n"
                "O2_2=0,2\r\nLambda_2=1\r\nResult=PASSED\r\nDate=06/12/2026\r\n"
                "StartMeas=10:12:00\r\nEndMeas=10:20:05\r\nTech=Ing. Bianchi\r\n"
                "Agency=Centro Revisioni Milano\r\n");
}

// The idle verdict: a failed one ends a catalysed test at once; a non-catalysed test in the
// own protocol waits at the window's end while the speed is too high, and the escape 600 ticks
// later ends it. The raised-idle section stays blank, and the result's colour follows the
// verdict even when the language gives both texts alike.
TEST(GasSequence, IdleVerdictEndsTheTestAndItsReport) {
  // Fuel, corrected CO, the speed after the window opened, the reply ticks, the result's colour.
  using Run = std::tuple<int, double, double, std::vector<int>, plat::Color>;
  for (const auto& [fuel, cocorr, rpm, ticks, result] :
       {Run{1, 0.5, 800, {0, 41}, R}, Run{4, 0.1, 1200, {0, 41, 640, 641}, R},
        Run{4, 0.1, 800, {0, 41}, Y}}) {
    SCOPED_TRACE(ticks.size());
    GasBench b(GasProtocol::Own, fuel);
    Fill(b.in);
    b.in.StartMeasTime.reset();
    b.in.texts.ProSup = "FAILED";
    b.in.readings.GasCOcorr = cocorr;
    b.in.shown.COcorr = "0,5";
    for (int tick : ticks) {
      EXPECT_EQ(b.state.GasPhase, tick ? Phase::Uno : Phase::Minimo);
      EXPECT_TRUE(tick <= 41 || b.Label27 == "CONPRO") << b.Label27;
      b.ReplyAt(tick);
      b.in.readings.GasRpm = rpm;
    }
    ASSERT_EQ(b.state.GasPhase, Phase::Out);
    EXPECT_EQ(b.cert.Label79.BackColor, result);
    EXPECT_EQ(Report(b.cert),
              kHead +
                  "COc=0,5\r\nCOcMax=0,3\r\nHC=35\r\nO2=0,4\r\nLambda=1,01\r\nParRPMmin=820\r\n"
                  "RPM=\r\nCO_2=\r\nCO2_2=\r\nCOc_2=\r\nCOcMax_2=\r\nHC_2=\r\nO2_2=\r\n"
                  "Lambda_2=\r\nResult=FAILED\r\nDate=06/12/2026\r\nStartMeas=\r\n"
                  "EndMeas=10:20:05\r\nTech=Ing. Bianchi\r\nAgency=Centro Revisioni Milano\r\n");
  }
}

// MCTC-NET, non-catalysed, speed check off: air in the probe restarts the window; a
// corrected CO above its limit keeps the test waiting with no escape; diagnosis mode
// suspends it; the end test met later concludes it.
TEST(GasSequence, MctcNetIdleHoldsAndWaits) {
  GasBench b(GasProtocol::MctcNet, 0);
  b.in.limits.GasRpmCheckEnabled = 0;
  b.in.readings.GasRpm = 3000;
  b.ReplyAt(0);
  EXPECT_EQ(std::tuple(b.state.GasPhase, b.PBar1Visible), std::tuple(Phase::Uno, true));
  b.in.readings.GasO2 = 16.0;
  b.in.readings.GasCO2 = 2.0;
  for (int tick = 10; tick <= 12; ++tick) {
    b.ReplyAt(tick);
    EXPECT_EQ(std::tuple(b.PBar1Visible, b.PBar1Value), std::tuple(false, 0.0f));
  }
  b.in.readings = {.GasRpm = 3000, .GasCOcorr = 0.4, .GasLambda = 1, .GasO2 = 1, .GasCO2 = 14};
  b.ReplyAt(52);  // the restarted window runs from 12 to 52
  EXPECT_EQ(std::tuple(b.PBar1Visible, b.PBar1Value), std::tuple(true, 40.0f));
  for (int tick = 53; tick <= 53 + 700; tick += 50) {
    b.ReplyAt(tick);
    EXPECT_EQ(std::tuple(b.state.GasPhase, b.Label27), std::tuple(Phase::Uno, "CONPRO"));
  }
  b.in.readings.GasCOcorr = 0.2;
  b.gate.GasMode = 1;
  b.ReplyAt(800);
  EXPECT_EQ(b.state.GasPhase, Phase::Uno);
  b.gate.GasMode = 0;
  b.ReplyAt(801);
  EXPECT_EQ(std::tuple(b.state.GasPhase, b.Label27, b.cert.Label79.Caption, b.Command2Enabled),
            std::tuple(Phase::Out, "CONCL", "PASSED", true));
}

}  // namespace
}  // namespace vs::test
