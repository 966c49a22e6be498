// The readings of one measured-values reply: pressure correction, the values as shown,
// the trackers and the acceleration row; "smoke.log" through the form.
#include <gtest/gtest.h>

#include <filesystem>

#include "link/LinkState.h"
#include "shell/ShellState.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeReadings.h"
#include "smoke/SmokeState.h"
#include "smoke/smoke_form_fixture.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

using smoke::Protocol;

TEST(SmokeReadingsTest, PressureCorrectionAroundItsThreshold) {
  struct Case {
    const char* pressure;
    bool comma;
    double k;       // after the correction of 1.0
    double stored;  // PressureValue, from 50 before
  };
  const Case cases[] = {
      {"94.5", false, 1.0, 94.5},   {"94.4", false, 0.75, 94.4}, {"94,4", true, 0.75, 94.4},
      {"101.3", false, 1.0, 101.3}, {"", false, 1.0, 50},        {"abc", false, 1.0, 50},
      {"94,4", false, 1.0, 50},  // not a number under "." settings
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressure);
    const auto r = c.comma ? plat::RegionalSettings::Italian() : plat::RegionalSettings::English();
    double k = 1.0, stored = 50;
    CorrectForPressure(c.pressure, r, k, stored);
    EXPECT_DOUBLE_EQ(k, c.k);
    EXPECT_DOUBLE_EQ(stored, c.stored);
  }
}

TEST(SmokeReadingsTest, ValuesAsShownWithTheirMarks) {
  const auto it = plat::RegionalSettings::Italian();
  const auto en = plat::RegionalSettings::English();
  struct Case {
    double n;
    std::int16_t unit;
    const char* shown;
  };
  for (const Case c : {Case{0, 1, "0"}, Case{20, 1, "33"}, Case{50, 1, "71,1"}, Case{100, 1, "100"},
                       Case{150, 1, "100"}, Case{-2, 1, "0"}, Case{14.1, 0, "14,1"},
                       Case{-0.5, 0, "0"}, Case{150, 0, "150"}}) {
    EXPECT_EQ(OpacityText(c.n, c.unit, it), c.shown) << c.n << " unit " << c.unit;
  }
  EXPECT_EQ(TemperatureText(888, Protocol::MctcNet, en), "OutRange");
  EXPECT_EQ(TemperatureText(888.5, Protocol::MctcNet, en), "888.5");
  EXPECT_EQ(TemperatureText(-5, Protocol::MctcNet, en), "-5");
  EXPECT_EQ(TemperatureText(888, Protocol::Binary, en), "888");
  EXPECT_EQ(TemperatureText(-5, Protocol::Binary, en), "0");

  LinkState l;
  l.OpaK = -0.05;
  l.OpaN = 20;
  l.OpaRpm = -1;
  l.OpaOilTemp = 80.5;
  l.OpaCellTemp = 888;
  l.OpaSmokeTemp = -3;
  const SmokeReadingTexts t = ReadingTexts(l, 0, Protocol::MctcNet, it);
  EXPECT_EQ(t.k, "0");
  EXPECT_EQ(t.rpm, "0");
  EXPECT_EQ(t.opacity, "20");
  EXPECT_EQ(t.oilTemp, "80,5");
  EXPECT_EQ(t.cellTemp, "OutRange");
  EXPECT_EQ(t.smokeTemp, "-3");
}

// Replies of one acceleration in phase DUE through the reading step.
class SmokeTrackersTest : public ::testing::Test {
 protected:
  SmokeReadingsOutcome Reply(double k, double rpm, double cell = 75) {
    l_.OpaK = k;
    l_.OpaRpm = rpm;
    l_.OpaCellTemp = cell;
    return TakeSmokeReadings(f_, m_, l_, s_, {Protocol::MctcNet, false, {}, r_});
  }
  void SetUp() override {
    f_.TestPhase = "DUE";
    s_.AmbientPressure = "101";
  }
  SmokeFormFields f_;
  SmokeState m_;
  LinkState l_;
  ShellState s_;
  plat::RegionalSettings r_ = plat::RegionalSettings::English();
};

TEST_F(SmokeTrackersTest, PeakAndRowFollowTheAcceleration) {
  Reply(0.5, 800);
  Reply(1.2, 2500);
  const auto out = Reply(1.2, 3000);  // an equal peak moves its engine speed on
  EXPECT_EQ(m_.AccPeakK, 1.2);
  EXPECT_EQ(m_.AccRpmAtPeak, 3000);
  ASSERT_TRUE(out.row);
  EXPECT_EQ(out.row->k, "1.2");
  EXPECT_EQ(out.row->rpmAtPeak, "3000");
  EXPECT_EQ(out.row->min, "800");
  EXPECT_EQ(out.row->max, "3000");
  EXPECT_EQ(out.lowest, "800");
  EXPECT_EQ(out.highest, "3000");
  EXPECT_TRUE(out.runPhase);

  const auto cold = Reply(2.0, 3500, 70.0);  // a cell of exactly 70 is not warm
  EXPECT_FALSE(cold.row);
  EXPECT_EQ(m_.AccPeakK, 1.2);
  EXPECT_EQ(m_.AccMaxRpm, 3000);
  EXPECT_EQ(m_.AccMinRpm, 800);  // the minimum runs on every reply

  const auto low = Reply(0.4, 350);  // a minimum of 350 is out of range: the test's lowest is 0
  EXPECT_EQ(low.row->min, "O-RANGE");
  EXPECT_EQ(low.lowest, "0");
  EXPECT_EQ(m_.ReportMinRpm, 0);

  const auto high = Reply(0.4, 9600);
  EXPECT_EQ(high.row->max, "O-RANGE");
  EXPECT_EQ(high.highest, "3000");  // an O-RANGE maximum never raises it
  EXPECT_EQ(m_.SmokeHighestRpm, 3000);

  f_.TestMode = 5;  // direct acquisition: the row shows the current k
  EXPECT_EQ(Reply(0.3, 1000).row->k, "0.3");
}

TEST_F(SmokeTrackersTest, ARowOutsideTheTableIsNotWrittenAndTheClosedSeriesStopsThePhase) {
  m_.AccIndex = 8;
  auto out = Reply(1, 1000);
  EXPECT_TRUE(out.row);  // the row numbered "9"
  EXPECT_FALSE(out.runPhase);
  m_.AccIndex = 11;
  out = Reply(2, 900);
  EXPECT_FALSE(out.row);
  EXPECT_FALSE(out.lowest);
  EXPECT_EQ(m_.AccPeakK, 2);  // the trackers still run
  m_.AccIndex = 0;
  f_.ValuesInvalid = 1;
  out = Reply(1, 1000);
  EXPECT_FALSE(out.shown);
  EXPECT_TRUE(out.row);
  EXPECT_FALSE(out.runPhase);
}

TEST_F(SmokeTrackersTest, LowPressureCorrectsBeforeEverythingAndTheBinaryLinkTakesTheCounter) {
  s_.AmbientPressure = "90";
  s_.ExternRpm = 1;
  l_.RpmCounterRpm = 1234;
  auto out = Reply(0.2, 800);
  EXPECT_DOUBLE_EQ(l_.OpaK, -0.05);
  EXPECT_EQ(out.shown->k, "0");
  EXPECT_EQ(out.shown->rpm, "800");  // MCTC-NET: the parser already chose
  l_.OpaK = 1;
  out = TakeSmokeReadings(f_, m_, l_, s_, {Protocol::Binary, false, {}, r_});
  EXPECT_EQ(out.shown->rpm, "1234");
  EXPECT_EQ(out.shown->k, "0.75");
}

class SmokeLogTest : public test::SmokeFormTest {
 protected:
  void SetUp() override {
    SmokeFormTest::SetUp();
    Station(5);
    p_.rt.loop.setLocalTime({2026, 12, 6, 9, 5, 3});
    Open();
    p_.link.InstrSerial = "AQ12\xC3\xA9";  // "é"
  }
  void Reply(double k) {
    p_.link.OpaK = k;
    p_.link.OpaN = 14.5;
    p_.link.OpaRpm = 800;
    p_.link.OpaOilTemp = 80;
    p_.link.OpaCellTemp = 75;
    p_.link.OpaSmokeTemp = 888;
    f_.ShowSmokeReadings(Protocol::MctcNet);
  }
  std::filesystem::path log() const { return bin_ / "smoke.log"; }
};

TEST_F(SmokeLogTest, LinesWhileLoggingAndMeasuringOnly) {
  p_.shell.AmbientPressure = "101,3";  // not a number under "." settings: no correction
  Reply(0.5);                          // logging off
  EXPECT_FALSE(std::filesystem::exists(log()));
  ui_.click(f_.Command7);
  Reply(0.5);  // the status line does not show the measuring text
  EXPECT_FALSE(std::filesystem::exists(log()));

  f_.Label2.setCaption(p_.shell.LangText[lang::ANFUMOMisura]);
  Reply(0.5);
  p_.shell.AmbientPressure = "90";
  Reply(0.2);
  EXPECT_EQ(f_.Label27.Caption(), "0");
  EXPECT_EQ(f_.Label26.Caption(), "OutRange");
  const std::string logged = plat::test::ReadBytes(log());
  EXPECT_EQ(logged,
            "0.5\t14.5\t800\t80\t75\tOutRange\t06/12/2026 09:05:03\tAQ12\xE9 \r\n"
            "0\t14.5\t800\t80\t75\tOutRange\t06/12/2026 09:05:03\tAQ12\xE9 \r\n");

  ui_.click(f_.Command7);
  Reply(0.5);
  EXPECT_EQ(plat::test::ReadBytes(log()), logged);
}

TEST_F(SmokeLogTest, AnUnwritableLogLosesTheLineAndTheTestGoesOn) {
  std::filesystem::create_directory(log());  // "smoke.log" cannot be opened as a file
  ui_.click(f_.Command7);
  f_.Label2.setCaption(p_.shell.LangText[lang::ANFUMOMisura]);
  f_.TestPhase = "DUE";
  Reply(1.5);
  EXPECT_EQ(f_.Label27.Caption(), "1.5");
  EXPECT_EQ(f_.Label36(0).Caption(), "1.5");
  EXPECT_TRUE(std::filesystem::is_directory(log()));
  EXPECT_EQ(ui_.boxes().size(), 0u);
}

}  // namespace
}  // namespace vs
