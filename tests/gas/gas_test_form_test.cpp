// Whole gas tests on the manual clock: the start menu's F1, the analyser simulated on COM1
// in either protocol, the test sequence to its verdict, and the certificate printed from
// the gas test form's print button.
#include <gtest/gtest.h>

#include <string>

#include "gas_station_fixture.h"
#include "shell/LanguageKeys.h"

namespace vs::test {
namespace {

using plat::MsgBoxResult;

class GasTestFormTest : public GasStationTest {
 protected:
  // The engine at idle, too fast at first; then revved into the raised-idle window, too
  // slow at first. Times count from the first request after the Start press.
  void PlayEngine() {
    analyser_->play(
        sim::ParseScenario("at 0ms rpm 1200\n"
                           "at 3s rpm 1200\n"
                           "at 3025ms rpm 850\n"
                           "at 12s rpm 850\n"
                           "at 12025ms rpm 2300\n"
                           "at 0ms cocorr 0.1\n"
                           "at 0ms co 0.1\n"
                           "at 0ms lambda 1.004\n",
                           "engine"));
  }
  const std::string& Said() const { return p_.angas.Label27.Caption(); }
  bool Phase(const char* word) const { return p_.angas.GasPhase == word; }
};

class WholeGasTest : public GasTestFormTest, public ::testing::WithParamInterface<sim::Protocol> {
 protected:
  sim::Protocol AnalyserProtocol() const override { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Protocols, WholeGasTest,
                         ::testing::Values(sim::Protocol::Binary, sim::Protocol::Mctc),
                         [](const ::testing::TestParamInfo<sim::Protocol>& run) {
                           return run.param == sim::Protocol::Binary ? "Binary" : "MctcNet";
                         });

TEST_P(WholeGasTest, CatalysedPetrolFromF1ToThePrintedCertificate) {
  ANGAS& f = OpenGasTest();
  StartCertification(f);
  PlayEngine();
  EXPECT_FALSE(f.Command2.Enabled());

  // The windows' timing is the sequence's own test; here the whole run reaches its verdict.
  ASSERT_TRUE(AdvanceUntil([&] { return Phase("OUT"); }, 30000));
  EXPECT_EQ(Said(), Text(lang::ANGASP2Concl));
  EXPECT_EQ(f.Label28.Caption(), Text(lang::ANGASProSup));
  EXPECT_EQ(f.Label28.BackColor(), plat::colors::kGreen);
  ASSERT_TRUE(f.Command2.Enabled());

  PrtKYMRACERT& cert = p_.prtKYMRACERT;
  ui_.onModal(cert, [&] {
    EXPECT_EQ(cert.Label22.Caption(), "AB123CD");
    EXPECT_EQ(cert.Text2.Text(), "TOPAZ");
    EXPECT_EQ(cert.Label60.Caption(), "2300");
    EXPECT_EQ(cert.Label46.Caption(), "850");
    EXPECT_EQ(cert.Label79.Caption(), Text(lang::ANGASProSup));
    EXPECT_EQ(cert.Label79.BackColor(), plat::colors::kYellow);
    ui_.type(cert.Text5, "2");
    ui_.click(cert.Command2);
    ui_.click(cert.Command1);
  });
  ui_.click(f.Command2);
  ASSERT_EQ(ui_.printed().size(), 1u);
  EXPECT_EQ(ui_.printed()[0].copies, 2);
  const std::string log = ReportLog();
  EXPECT_NE(log.find("Plate=AB123CD\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("ParRPMmin=850\r\nRPM=2300\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Result=" + Text(lang::ANGASProSup) + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Date=14/03/2026\r\n"), std::string::npos) << log;
}

// Closing the certificate and printing again before the next test gives the same
// certificate and the same report; closing the gas test form ends it.
TEST_F(GasTestFormTest, TheCertificateOutlivesItsPageUntilTheGasFormCloses) {
  ANGAS& f = OpenGasTest();
  StartCertification(f);
  PlayEngine();
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 30000));
  PrtKYMRACERT& cert = p_.prtKYMRACERT;
  ui_.onEveryModal(cert, [&] { ui_.click(cert.Command1); });
  ui_.click(f.Command2);
  const std::string first = ReportLog();
  ASSERT_FALSE(cert.IsLoaded());

  ui_.advance(60'000);  // the end of measurement moves on, nothing else
  ui_.onModal(cert, [&] {
    EXPECT_EQ(cert.Label79.Caption(), Text(lang::ANGASProSup));
    EXPECT_EQ(cert.Label60.Caption(), "2300");
    ui_.click(cert.Command1);
  });
  ui_.click(f.Command2);
  std::string second = ReportLog();
  const auto end = first.find("EndMeas=");
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(second.substr(0, end), first.substr(0, end));
  EXPECT_NE(second.find("Result=" + Text(lang::ANGASProSup)), std::string::npos);

  ui_.click(f.CmdOut1);
  EXPECT_EQ(cert.Certificate.Label79.Caption, "");
  EXPECT_EQ(cert.Certificate.Label22, "");
}

}  // namespace
}  // namespace vs::test
