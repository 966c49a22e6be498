// The gas test without a form: the verdicts against the limits, the test sequence reply by
// reply, the bytes of "report.log", and both protocols' reply steps on the records.
#include <vector>

#include "gas/GasState.h"
#include "gas/GasVerdicts.h"
#include "gas/McnGasExchange.h"
#include "gas/OwnGasExchange.h"
#include "gas_fixture.h"
#include "link/LinkState.h"
#include "shell/ShellState.h"

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
    GasTestInput in = GasBench(GasProtocol::Own, 1).in;
    in.limits.GasRpmCheckEnabled = check;
    in.readings = {rpm, cocorr, lambda, 1, 14};  // O2 1 %, CO2 14 %
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
                   raised && !passed ? R : Y, said, passed ? plat::colors::kGreen : R))
        << what;
  }
}

// The printed data of a catalysed test under Italian settings, with an accented make and a
// testing body typed over two lines: analyser, engine-speed counter, vehicle, ambient, people.
void Fill(GasTestInput& in) {
  in.regional = plat::RegionalSettings::Italian();
  in.now = {2026, 12, 6, 10, 15, 30};
  in.StartMeasTime = plat::DateTime{2026, 12, 6, 10, 12, 0};
  in.print = {"Vanto",      "OM 123",     "SN42",  "01/02/2027",   "Giri",   "RH 9", "R7",
              "03/04/2027", "Citroën C3", "C3",    "AB123CD",      "VF7XXX", "2015", "21",
              "101,3",      "55",         "Rossi", "Ing. Bianchi", ""};
  in.print.AgencyName = "Centro Revisioni\r\nMilano";
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

// A catalysed test in the own protocol with a reply at every tick; the raised-idle corrected
// CO is the own protocol's 0.1 * 3, shown equal to its limit 0.3.
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

// A failed idle verdict ends a catalysed test at once; a non-catalysed one waits while the
// speed is too high, up to the escape 600 ticks later. The result's colour follows the verdict
// even when the language gives both texts alike.
TEST(GasSequence, IdleVerdictEndsTheTestAndItsReport) {
  // Fuel, corrected CO, the speed after the window opened, the reply ticks, the result's colour.
  using Run = std::tuple<std::int16_t, double, double, std::vector<int>, plat::Color>;
  for (const auto& [fuel, cocorr, rpm, ticks, result] :
       {Run{1, 0.5, 800, {0, 41}, R}, Run{4, 0.1, 1200, {0, 41, 640, 641}, R},
        Run{4, 0.1, 800, {0, 41}, Y}}) {
    SCOPED_TRACE(ticks.size());
    GasBench b(GasProtocol::Own, fuel);
    Fill(b.in);
    b.in.StartMeasTime.reset();
    std::tie(b.in.texts.ProSup, b.in.readings.GasCOcorr, b.in.shown.COcorr) =
        std::tuple("FAILED", cocorr, "0,5");
    for (int tick : ticks) {
      EXPECT_EQ(b.state.GasPhase, tick ? Phase::Uno : Phase::Minimo);
      EXPECT_TRUE(tick <= 41 || b.Label27 == "CONPRO") << b.Label27;
      b.ReplyAt(tick);
      b.in.readings.GasRpm = rpm;
    }
    EXPECT_EQ(std::tuple(b.state.GasPhase, b.cert.Label79.BackColor),
              std::tuple(Phase::Out, result));
    EXPECT_EQ(Report(b.cert),
              kHead +
                  "COc=0,5\r\nCOcMax=0,3\r\nHC=35\r\nO2=0,4\r\nLambda=1,01\r\nParRPMmin=820\r\n"
                  "RPM=\r\nCO_2=\r\nCO2_2=\r\nCOc_2=\r\nCOcMax_2=\r\nHC_2=\r\nO2_2=\r\n"
                  "Lambda_2=\r\nResult=FAILED\r\nDate=06/12/2026\r\nStartMeas=\r\n"
                  "EndMeas=10:20:05\r\nTech=Ing. Bianchi\r\nAgency=Centro Revisioni Milano\r\n");
  }
}

// MCTC-NET, non-catalysed, speed check off: air in the probe restarts the window, a failing
// end test waits with no escape, diagnosis mode or low flow suspends the test. A window of no
// length is refused by the bar when it opens.
TEST(GasSequence, MctcNetIdleHoldsAndWaits) {
  GasBench b(GasProtocol::MctcNet, 0);
  b.in.limits.GasRpmCheckEnabled = 0;
  b.in.readings.GasRpm = 3000;
  b.ReplyAt(0);
  EXPECT_EQ(std::tuple(b.state.GasPhase, b.PBar1Visible), std::tuple(Phase::Uno, true));
  EXPECT_EQ(std::tuple(b.PBar1Max, b.PBar1Value), std::tuple(40.0f, 0.0f));  // the window's length
  std::tie(b.in.readings.GasO2, b.in.readings.GasCO2) = std::tuple(16.0, 2.0);  // air
  for (int tick = 10; tick <= 12; ++tick) {
    b.ReplyAt(tick);
    EXPECT_EQ(std::tuple(b.PBar1Visible, b.PBar1Value), std::tuple(false, 0.0f));
  }
  b.in.readings.GasCO2 = 3.0;  // not below 3 %vol: no air, the window runs on
  b.ReplyAt(20);
  EXPECT_EQ(std::tuple(b.PBar1Visible, b.PBar1Value), std::tuple(true, 8.0f));
  b.in.readings = {.GasRpm = 3000, .GasCOcorr = 0.4, .GasLambda = 1, .GasO2 = 1, .GasCO2 = 14};
  b.ReplyAt(52);  // the restarted window runs from 12 to 52
  EXPECT_EQ(std::tuple(b.PBar1Visible, b.PBar1Value), std::tuple(true, 40.0f));
  std::tie(b.in.readings.GasO2, b.in.readings.GasCO2) = std::tuple(16.0, 2.0);
  b.ReplyAt(53);  // air after the end: the bar hidden, no decision
  EXPECT_EQ(std::tuple(b.PBar1Visible, b.Label27), std::tuple(false, "MANMIN"));
  std::tie(b.in.readings.GasO2, b.in.readings.GasCO2) = std::tuple(1.0, 14.0);
  for (int tick = 53; tick <= 53 + 700; tick += 50) {
    b.ReplyAt(tick);
    EXPECT_EQ(std::tuple(b.state.GasPhase, b.Label27), std::tuple(Phase::Uno, "CONPRO"));
  }
  b.in.readings.GasCOcorr = 0.2;
  b.gate.GasMode = 1;
  b.ReplyAt(800);
  EXPECT_EQ(b.state.GasPhase, Phase::Uno);
  b.gate.GasMode = 0;
  b.gate.McnRsStatus1 = 30;  // "@RS" status 30: low flow
  b.ReplyAt(800);
  EXPECT_EQ(b.state.GasPhase, Phase::Uno);
  b.gate.McnRsStatus1 = 29;  // any other status lets the test run
  b.ReplyAt(801);
  EXPECT_EQ(std::tuple(b.state.GasPhase, b.Label27, b.cert.Label79.Caption, b.Command2Enabled),
            std::tuple(Phase::Out, "CONCL", "PASSED", true));
  b.in.limits.GasTestDuration = 0;
  b.state.GasPhase = Phase::Minimo;
  b.ReplyAt(900);
  EXPECT_EQ(std::tuple(b.state.GasPhase, b.PBar1Visible, b.boxes),
            std::tuple(Phase::Uno, true, std::vector<std::string>{"BADDURATION"}));
}

TEST(CorrectedCoTest, FormedAsShownAndNotComputableOutOfRange) {
  using Row = std::tuple<double, double, std::optional<int>, double>;  // CO, CO2, K, shown
  const Row rows[] = {
      {1.3, 8.0, 15, 2.0},   // 2.05.. cut down, not rounded up
      {0.2, 9.8, 15, 0.3},   // 0.3 exactly, as shown: a limit of 0.3 is met
      {0.5, 3.0, 15, 65},    // too diluted
      {1.0, 14.0, 15, 1.0},  // CO + CO2 at K: the CO as it is
      {1.26, 3.0, {}, 1.3},  // K not set yet: the CO rounded
      {-1, 14.0, 15, 65},    // CO out of range
      {0.5, -1, 15, 65},     // CO2 out of range
      {-1, -1, {}, 65},
  };
  for (auto [co, co2, k, shown] : rows) EXPECT_EQ(CorrectedCo(co, co2, k), shown) << co << co2;
}

// A "P" reply of eight records with every value byte 0 except those set: position, value, ...
std::string Measurement(std::initializer_list<int> bytes) {
  std::string data(40, '\0');
  for (auto b = bytes.begin(); b != bytes.end(); b += 2)
    data[static_cast<std::size_t>(b[0] - 7)] = static_cast<char>(b[1]);
  return sim::BinaryReply(49, 'P', data);
}

class OwnGasExchangeTest : public ::testing::Test {
 protected:
  OwnGasReplyResult Handle(const std::string& frame, ProgressView bar = {}) {
    return HandleOwnGasFrame(v_, g_, l_, s_, r_, bar, frame);
  }
  static std::string Caption(const OwnGasReplyResult& res, GasControl c) {
    std::string text = "(none)";
    for (const ScreenEdit& e : res.edits)
      if (e.control == c && e.kind == ScreenEdit::Kind::Caption) text = e.text;
    return text;
  }
  std::string Status(std::string bytes) { return sim::BinaryReply(49, '?', bytes); }

  GasTestVars v_;
  GasState g_;
  LinkState l_;
  ShellState s_;
  plat::RegionalSettings r_;
};

TEST_F(OwnGasExchangeTest, MeasurementReplies) {
  using enum GasControl;
  std::tie(s_.GasModelIndex, v_.KFactor, l_.GasCOcorr) = std::tuple(2, 15, 7);  // 7: earlier
  // The bytes are unsigned: HC 200 x 256; CO 0.5 (1, 244); CO2 14 (54, 176); O2 40.96 (160,
  // 0); lambda 2.56 (10, 0); rpm 20479 (79, 255). Model 2 computes the corrected CO.
  auto res = Handle(
      Measurement({40, 200, 30, 1, 31, 244, 35, 54, 36, 176, 45, 160, 20, 10, 25, 79, 26, 255}));
  ASSERT_TRUE(res.handled && res.measurement);
  EXPECT_EQ(
      std::tuple(l_.GasHC, l_.GasO2, l_.GasLambda, l_.GasRpm, l_.GasCOcorr, Caption(res, Label9)),
      std::tuple(51200, 40.96, 2.56, 20479, 0.5, "0.5"));
  // Out marks: CO2, rpm without signal, rpm out of range, lambda, oil temperature.
  res = Handle(Measurement({35, 255, 25, 255, 20, 11, 9, 4}));
  EXPECT_EQ(std::tuple(l_.GasCO2, l_.GasCOcorr, l_.GasOilTemp, Caption(res, Label9),
                       Caption(res, Label15), Caption(res, Label26)),
            std::tuple(-1, 65, -1, "Out", "- - -", "Out"));
  Handle(Measurement({25, 80}));
  EXPECT_EQ(l_.GasRpm, -1);
  // An engine-speed counter switched in: its readings, whatever the analyser's bytes say.
  std::tie(s_.ExternRpm, s_.ExternOilTemp, l_.RpmCounterRpm, l_.RpmCounterOilTemp) =
      std::tuple(1, 1, 2480.5, 91.5);
  res = Handle(Measurement({25, 255, 9, 4}));
  EXPECT_EQ(std::tuple(l_.GasRpm, Caption(res, Label15), l_.GasOilTemp, Caption(res, Label13)),
            std::tuple(2480.5, "2480.5", 91.5f, "91.5"));
  std::tie(s_.ExternRpm, s_.ExternOilTemp) = std::tuple(0, 0);

  // The extended HC range: option bit 2 and a firmware from 5.4, each digit on its own. Raw
  // 0x3FFFFF is the range's zero point (10477); 0x400000 + 1 200 000 reads far above.
  std::tie(s_.SystemEnableMask, s_.GasModelIndex) = std::tuple(2, 0);
  for (auto [version, raw, shown] : {std::tuple("5.4", 0x3FFFFF, "10477"),
                                     {"9.9", 0x3FFFFF, "10477"},
                                     {"6.0", 0x3FFFFF, "Out"},
                                     {"4.9", 0x3FFFFF, "Out"},
                                     {"5.4", 0x524F80, "Out"}}) {
    g_.GasFirmwareVersion = version;
    res = Handle(Measurement({40, 255, 14, raw >> 16, 15, (raw >> 8) & 255, 16, raw & 255}));
    EXPECT_EQ(Caption(res, Label11), shown) << version << raw;
  }

  // The identity's serial and version bytes are Windows-1252 (\260 is "°", \351 "é").
  res = Handle(sim::BinaryReply(49, '1', std::string(" AQ\26012345 \1\2\0\0\0\3514", 17)));
  EXPECT_EQ(std::tuple(l_.GasSerialNumber, Caption(res, Label25)),
            std::tuple("AQ\u00b012345", "\u00e9.4"));

  // Frames too short for what they carry, or whose length byte is wrong, are rejected.
  std::tie(v_.Stato, l_.GasCO) = std::tuple("ACQ", 3);
  for (int command : {'P', '?', '1', '.'})
    EXPECT_FALSE(Handle(sim::BinaryReply(49, command, "\1\1\1")).handled) << char(command);
  std::string frame = Measurement({});
  frame[5] = 2;
  EXPECT_FALSE(Handle(frame).handled);
  EXPECT_EQ(std::tuple(l_.GasCO, v_.Stato), std::tuple(3, "ACQ"));
}

TEST_F(OwnGasExchangeTest, StatusReplies) {
  s_.GasModelIndex = 0;
  v_.Stato = v_.PrevState = "SCA";
  // Error 32 with detail 7: the message, and the sequence waits for Start/Stop. Fuel code 67:
  // petrol with catalyst, two-stroke; K 15.
  const auto res = Handle(Status({32, 67, 0, 0, 7}));
  EXPECT_EQ(std::tuple(v_.Stato, v_.RedoFlag, Caption(res, GasControl::Label27), v_.FuelIndex,
                       v_.StrokesIndex, v_.KFactor),
            std::tuple("RSTERT", 1, s_.LangText[lang::ANGASErrTen] + " 7", 1, 1, 15));
  // Every model takes K from the fuel code: fuel code 3 (K 15), CO 1.300 and CO2 8.000.
  for (std::int16_t model : std::initializer_list<std::int16_t>{0, 1, 2}) {
    std::tie(v_, s_.GasModelIndex) = std::tuple(GasTestVars{}, model);
    Handle(Status({1, 3, 0, 0, 0}));
    const auto measured = Handle(Measurement({30, 5, 31, 20, 35, 31, 36, 64}));
    EXPECT_EQ(std::tuple(v_.KFactor, Caption(measured, GasControl::Label9)), std::tuple(15, "2"))
        << model;
  }
  s_.GasModelIndex = 0;
  v_.Stato = v_.PrevState = "RSTERT";
  v_.FuelIndex = 4;
  Handle(Status({1, 70, 0, 0, 0}));  // fuel code 70 changes nothing
  EXPECT_EQ(std::tuple(v_.FuelIndex, v_.Stato), std::tuple(4, "ACQ"));
  // The warm-up resends the channel list only the first time; fault 34 has no request.
  std::string asked;
  for (const std::string& reply : {Status({2, 0, 0, 0, 0}), sim::BinaryReply(49, '#', ""),
                                   Status({2, 0, 0, 0, 0}), Status({34, 0, 0, 0, 0})}) {
    Handle(reply);
    const auto next = NextOwnGasRequest(v_, s_, g_);
    asked += next ? static_cast<char>(next->command) : '_';
  }
  EXPECT_EQ(asked, "#??_");

  // The calibration bar starts its sweep again past its maximum: 802 ticks.
  auto bar = [&](int tick, float shown) {
    v_.GasTickCount = tick;
    float value = -1;
    for (const ScreenEdit& e : Handle(Status({65, 3, 0, 0, 0}), {true, 0, 800, shown}).edits)
      if (e.kind == ScreenEdit::Kind::Value) value = e.value;
    return value;
  };
  v_.GasWindowStart = 100;
  EXPECT_EQ((std::tuple{bar(898, 796), bar(902, 798), v_.GasWindowStart, bar(906, 0)}),
            std::tuple(798.0f, 0.0f, 902, 4.0f));
}

// The records of an MCTC-NET conversation and a reply handled on them.
struct Records {
  LinkState l;
  GasState g;
  ShellState s;
  std::string Stato = "x", StatoRichiesto, PrevState, GasPhase;
  std::int16_t AutoZeroCount = 0, StandbyAfterEt = 0, FuelIndex = 1, StrokesIndex = 0;

  Records() {
    std::tie(l.McnAddress, l.McnDevNumber, l.McnDevNumberLen) = std::tuple("GAS", "1", 1);
    for (std::size_t i = 0; i < s.LangText.size(); ++i) s.LangText[i] = "t" + std::to_string(i);
  }
  McnGasWords Words() {
    return {Stato,          StatoRichiesto, PrevState,    GasPhase, AutoZeroCount,
            StandbyAfterEt, FuelIndex,      StrokesIndex, 1};
  }
  McnGasScreen Reply(const std::string& command, const std::string& data) {
    l.McnCommand = command;
    l.McnCommandLen = static_cast<std::int16_t>(command.size());
    std::string buffer = sim::MctcReply("GAS", command, data);
    const McnCollected got = CollectTestFormReply(l, buffer);
    EXPECT_EQ(got.status, McnCollected::Status::Accepted);
    return DecideMcnGasReply(Words(), l, g, s, got, {2026, 12, 7, 14, 35, 0});
  }
};

// The leak check at 14:35 on 7 December 2026: the reply, option mask and state before; the
// state and flag after, the box told (0: none), and whether Start and stand-by come back.
TEST(McnGasRulesTest, LeakCheckVerdictAndAge) {
  constexpr std::size_t kExpired = lang::ANGASETmsgbox, kLate = lang::ANGASETIRRmsgbox;
  using Row = std::tuple<const char*, std::string, int, const char*, const char*, const char*,
                         std::size_t, bool>;
  const Row rows[] = {
      {"valid today", Fields({"R", "07122026", "0001"}), 0, "", "ETER", "R", 0, true},
      {"a day old", Fields({"R", "06122026", "1435"}), 0, "", "ETER", "R", 0, true},
      {"a minute older", Fields({"R", "06122026", "1434"}), 0, "", "ETEI", "I", kExpired, true},
      {"two days ago", Fields({"R", "05122026", "2359"}), 0, "", "ETEI", "I", kExpired, true},
      {"no date", Fields({"R", "", ""}), 0, "", "ETEI", "I", kExpired, true},
      {"failed split keeps the word", "", 0, "", "x", " ", 0, true},
      {"after \"@LS\"", Fields({"R", "07122026", "1200"}), 0, "LSEN", "ETER", "R", kLate, true},
      {"refused", Fields({"I", "07122026", "1200"}), 0, "", "ETEI", "I", kExpired, true},
      {"reading", Fields({"E", "07122026", "1200"}), 0, "", "ETEE", "E", 0, false},
      {"skipped", Fields({"E", "07122026", "1200"}), 4, "", "ETER", "R", 0, true},
      {"expired but skipped", Fields({"I", "01012020", "1200"}), 4, "", "ETER", "R", 0, true},
  };
  for (const auto& [name, data, mask, prev, stato, flag, box, back] : rows) {
    Records r;
    std::tie(r.s.SystemEnableMask, r.PrevState, r.l.McnRsStatus1) = std::tuple(mask, prev, 9);
    const McnGasScreen out = r.Reply("ET", data);
    EXPECT_EQ(std::tuple(r.Stato, r.PrevState, r.l.McnEtFlag, out.boxes, out.startAndStandbyEnabled,
                         r.l.McnRsStatus1),
              std::tuple(stato, stato, flag, box ? std::vector{box} : std::vector<std::size_t>{},
                         back, back ? 0 : 9))
        << name;
  }
  // While the check reads, the status and message lines change their texts, not their colours.
  Records r;
  const McnGasScreen reading = r.Reply("ET", Fields({"E", "07122026", "1200"}));
  ASSERT_TRUE(reading.status && reading.message);
  EXPECT_EQ(std::tuple(reading.status->back, reading.message->back),
            std::tuple(std::nullopt, std::nullopt));
}

TEST(McnGasRulesTest, StatusCharacterAndTheAnalysersCodes) {
  // What happened, the "@RS" data before the status ("" none sent), the "@ST" data, the status
  // and state after, and the Label27 text ("" untouched).
  using Row = std::tuple<const char*, std::string, std::string, int, const char*, std::string>;
  const Row rows[] = {
      {"warm-up", "", "A", 1, "RSTRIS", "t28"},
      {"stand-by, channel error", Fields({"\xA3", "\x05"}), "B", 2, "RSTSB", "t162 CO HC"},
      {"stand-by, codes cleared by an empty reply", "#", "B", 2, "RSTSB", "t9"},
      {"measuring asks for the leak check", "\x1A", "H", 8, "TTE", ""},
      {"measuring asks for the HC residue check", "\x14", "H", 8, "HCRES", ""},
      {"status 0", "", "@", 0, "RSTMIS", ""},
      {"no status at all", "", "", 0, "RSTMIS", ""},
  };
  for (const auto& [name, rs, status, mcnStatus, stato, message] : rows) {
    Records r;
    r.g.GasMcnStatus = 8;
    if (!rs.empty()) r.Reply("@RS", rs);
    if (rs == "#") r.Reply("@RS", "");  // the codes of an earlier reply, then none
    const McnGasScreen out = r.Reply("@ST", status);
    EXPECT_EQ(std::tuple(r.g.GasMcnStatus, r.Stato, out.message ? out.message->text : ""),
              std::tuple(mcnStatus, stato, message))
        << name;
  }
}

TEST(McnGasRulesTest, HcResidueParameterAndRequestData) {
  Records r;
  EXPECT_EQ(r.Reply("EH", "I").boxes, std::vector<std::size_t>{lang::ANGASEHCIRRmsgbox});
  EXPECT_EQ(r.GasPhase + "|" + r.Stato, "|ESHC");  // a failed check starts no test phase
  r.Stato = "LAL";
  EXPECT_FALSE(r.Reply("@LU", Fields({"0.5", "046"})).pef);
  EXPECT_EQ(r.Stato, "LAL");
  EXPECT_EQ(r.Reply("@LU", Fields({"012", "047"})).pef, "012");
  EXPECT_EQ(r.Stato, "LI");

  // "@SA": six fields, a fuel text joined by "@LA" split into its two words.
  std::tie(r.l.McnSaField3, r.l.McnStrokes, r.l.McnHcRatio, r.l.McnOcRatio) =
      std::tuple("04", "4", "2.570", "0.000");
  r.Stato = r.StatoRichiesto = "@SA";
  for (const char* joined : {"GPLCAT", "GPL\027CAT"}) {
    r.l.McnFuelText = joined;
    EXPECT_EQ(NextMcnGasRequest(r.Words(), r.l, {})->data,
              Fields({"GPL", "CAT", "04", "4", "2.570", "0.000"}));
  }
  EXPECT_EQ(r.StatoRichiesto, "");
  r.l.McnFuelText = " ";  // an "@LA" reply that did not parse: still six fields
  EXPECT_EQ(McnFuelSettingsData(r.l), Fields({" ", "", "04", "4", "2.570", "0.000"}));
}

}  // namespace
}  // namespace vs::test
