// Test mode 6 through the smoke test form: one free acceleration recorded row by row and
// drawn in the chart window, which is then drawn to PNG and PDF and printed. The readings
// of each "@VA" reply are handed to the form's reading step as the MCTC-NET link stores
// them, one reply every 250 ms, so that the test knows the point of every row.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "paint/paint_test_util.h"
#include "platform/paint/Painter.h"
#include "platform/paint/Picture.h"
#include "smoke/smoke_form_fixture.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

using plat::paint::testing::HavePdfToText;
using plat::paint::testing::PdfText;

std::uint32_t Rgb(const plat::paint::Bitmap& b, int x, int y) { return b.pixel(x, y) & 0xFFFFFF; }

class GraficTest : public test::SmokeFormTest {
 protected:
  void SetUp() override {
    SmokeFormTest::SetUp();
    Station(5, "0", "RN=1000\r\nMX=4000\r\nON=0.5\r\nVK=1.5\r\n");
    Open();
    ui_.choose(f_.Combo1, 6);
    ui_.click(f_.Command2);
  }
  // One "@VA" reply 250 ms after the last, from an engine whose throttle follows the
  // instruction line; returns the point it wrote to the chart table if it was recording.
  void Reply(double cellTemp = 75) {
    const std::string& line = f_.Label39.Caption();
    const auto& t = p_.shell.LangText;
    if (line == t[lang::ANFUMOAcc] || line == t[lang::ANFUMOManMax]) throttle_ = true;
    if (line == t[lang::ANFUMODec]) throttle_ = false;
    rpm_ = throttle_ ? std::min(4600.0, rpm_ + 1200) : std::max(800.0, rpm_ - 1200);
    ui_.advance(250);
    device_->takeWritten();
    LinkState& l = p_.link;
    l.OpaRpm = rpm_;
    l.OpaK = 0.3 + 2.2 * (rpm_ - 800) / 3800;  // peaks at 2.5 with the engine at full speed
    l.OpaCellTemp = cellTemp;
    l.OpaLuStatus1 = "00016";
    l.OpaLuStatus2 = "00001";
    f_.ShowSmokeReadings(smoke::Protocol::MctcNet);
    f_.EndOfFrame();
    points_.push_back({l.OpaK * 10, rpm_ / 100});
  }

  Grafic& g_ = p_.grafic;
  bool throttle_ = false;
  double rpm_ = 800;
  std::vector<std::array<double, 2>> points_;  // k x 10, rpm / 100 of every reply
};

TEST_F(GraficTest, OneAccelerationIsRecordedRowByRowAndShownWhenItEnds) {
  const auto& t = p_.shell.LangText;
  Reply(70.0);  // a cell at 70 degrees is cold
  EXPECT_EQ(f_.Label24.BackColor(), plat::colors::kRed);
  EXPECT_EQ(f_.Label39.Caption(), t[lang::ANFUMOAttRisc]);
  // The chart window follows the line from the first reply on, loaded but not shown.
  EXPECT_TRUE(g_.IsLoaded());
  EXPECT_FALSE(g_.Visible());
  EXPECT_EQ(g_.Label39.Caption(), t[lang::ANFUMOAttRisc]);
  EXPECT_EQ(g_.Label3.Caption(), "800");

  std::size_t first = 0;  // the reply whose point went into row 0
  int hold = 0, holdStart = 0;
  for (int i = 0; i < 60 && !g_.Visible(); ++i) {
    Reply();
    if (f_.TestPhase == "AVVIO" && first == 0) first = points_.size() - 2;
    if (f_.Label39.Caption() == t[lang::ANFUMOManMax] && holdStart == 0)
      holdStart = f_.SmokeTickCount;
    if (f_.Label39.Caption() == t[lang::ANFUMODec] && hold == 0)
      hold = f_.SmokeTickCount - holdStart;
  }
  ASSERT_TRUE(g_.Visible());
  EXPECT_GT(hold, 120);  // 3 s at full speed, then release
  EXPECT_LE(hold, 130);
  const std::string done =
      t[lang::ANFUMOConcl] + ", " + t[lang::ANFUMOAcc] + " " + t[lang::ANFUMOGrafic];
  EXPECT_EQ(f_.Label39.Caption(), done);
  EXPECT_EQ(f_.Label39.BackColor(), 0xFF8080);
  EXPECT_EQ(g_.Label39.Caption(), done);
  EXPECT_EQ(g_.Label39.BackColor(), 0xFF8080);
  EXPECT_EQ(f_.TestPhase, "PREAVVIO");  // back at idle: ready for the next one

  // Row 0 is the idle point before the engine passed the lower limit, rows 1 and 2 the
  // first point past it, then one row per reply down to idle again; the rest stays 0.
  const auto& rows = g_.MSChart1.ChartData();
  ASSERT_EQ(rows.size(), 41u);
  const std::size_t filled = points_.size() - first + 1;
  ASSERT_GT(filled, 10u);
  ASSERT_LT(filled, 41u);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    ASSERT_EQ(rows[r].size(), 5u);
    EXPECT_EQ(rows[r][3], 10.0);  // the engine-speed limits / 100
    EXPECT_EQ(rows[r][4], 40.0);
    if (r >= filled) {
      EXPECT_EQ(rows[r][1], 0.0);
      EXPECT_EQ(rows[r][2], 0.0);
      EXPECT_TRUE(std::isnan(rows[r][0]));  // never written: not drawn
      continue;
    }
    EXPECT_DOUBLE_EQ(rows[r][0], 0.25 * static_cast<double>(r));
    const auto& point = points_[first + (r < 2 ? r : r - 1)];
    EXPECT_DOUBLE_EQ(rows[r][1], point[0]);
    EXPECT_DOUBLE_EQ(rows[r][2], point[1]);
  }
  EXPECT_EQ(rows[2][1], rows[1][1]);

  // The window does not close with the test form; its cancel button closes it.
  ui_.click(f_.CmdOut);
  EXPECT_TRUE(g_.Visible());
  ui_.esc(g_);
  EXPECT_FALSE(g_.IsLoaded());
}

TEST_F(GraficTest, ChartIsDrawnWithItsCurvesLimitLinesAndTitlesAndPrintedWithoutItsControls) {
  for (int i = 0; i < 60 && !g_.Visible(); ++i) Reply();
  ASSERT_TRUE(g_.Visible());
  plat::test::TempFolder dir;
  plat::paint::WriteFormPng(g_, dir / "chart.png");
  const plat::paint::Bitmap png(cairo_image_surface_create_from_png((dir / "chart.png").c_str()));
  ASSERT_EQ(png.width(), 723);
  const plat::ChartGeometry geo = plat::ChartLayout(723, 400, true);
  const int left = static_cast<int>(geo.plotX) + 3,
            right = static_cast<int>(geo.plotX + geo.plotW) - 3;
  const int top = static_cast<int>(geo.plotY) + 1,
            bottom = static_cast<int>(geo.plotY + geo.plotH) - 1;
  // The limit lines are flat across the whole plot: y of the first pixel of their colour
  // in a column.
  const auto lineAt = [&](int x, std::uint32_t rgb) {
    for (int y = top; y < bottom; ++y)
      if (Rgb(png, x, y) == rgb) return y;
    return -1;
  };
  const int minLine = lineAt(left + 5, 0x008000), maxLine = lineAt(left + 5, 0xFF00FF);
  ASSERT_GT(minLine, 0);
  ASSERT_GT(maxLine, 0);
  EXPECT_EQ(lineAt(right - 5, 0x008000), minLine);
  EXPECT_EQ(lineAt(right - 5, 0xFF00FF), maxLine);
  // 1000 and 4000 rpm on a scale from 0: the lower line four times nearer the base.
  const double base = geo.plotY + geo.plotH;
  EXPECT_NEAR((base - minLine) * 4, base - maxLine, 6);
  // k rises to 25 and the engine speed to 46, above the upper limit line, then both fall.
  int kTop = bottom, rpmTop = bottom, kPixels = 0;
  for (int x = left; x < right; ++x)
    for (int y = top; y < bottom; ++y) {
      const auto p = Rgb(png, x, y);
      if (p == 0xFF0000) kTop = std::min(kTop, y), ++kPixels;
      if (p == 0x0000FF) rpmTop = std::min(rpmTop, y);
    }
  EXPECT_GT(kPixels, 100);
  EXPECT_LT(rpmTop, maxLine);
  EXPECT_NEAR(base - kTop, (base - maxLine) * 25 / 40, 6);
  EXPECT_EQ(Rgb(png, right - 5, top + 3), 0xFFFFFFu);  // nothing drawn above the curves

  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  plat::paint::WriteFormPdf(g_, dir / "chart.pdf", 1);
  const std::string shown = PdfText(dir / "chart.pdf");
  for (const char* s : {"SINGLE", "ACCELERATION", "Time, sec", "Opacity x 10, k", "RPM / 100",
                        "Opacity", "RPMmin", "RPMmax", "0.5", "9.5", "10", "TEST COMPLETED"})
    EXPECT_NE(shown.find(s), std::string::npos) << s << " in:\n" << shown;
  EXPECT_EQ(shown.find("msec"), std::string::npos);  // the time axis is in seconds

  // Printed: the instruction line, the engine speed and the buttons are left off the page.
  std::string printed;
  ui_.whilePrinting = [&](plat::Form& form) {
    plat::paint::WriteFormPdf(form, dir / "printed.pdf", 1);
    printed = PdfText(dir / "printed.pdf");
  };
  ui_.click(g_.Command2);
  ASSERT_EQ(ui_.printed().size(), 1u);
  EXPECT_EQ(ui_.printed()[0].form, "Grafic");
  EXPECT_EQ(ui_.printed()[0].copies, 1);
  EXPECT_NE(printed.find("Time, sec"), std::string::npos) << printed;
  EXPECT_EQ(printed.find("TEST COMPLETED"), std::string::npos) << printed;
  for (plat::Control* c :
       {static_cast<plat::Control*>(&g_.Command2), static_cast<plat::Control*>(&g_.Command1),
        static_cast<plat::Control*>(&g_.Label39), static_cast<plat::Control*>(&g_.Label3),
        static_cast<plat::Control*>(&g_.Label4)})
    EXPECT_TRUE(c->Visible()) << c->name();
  EXPECT_TRUE(g_.Visible());
}

}  // namespace
}  // namespace vs
