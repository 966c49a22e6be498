// Test mode 6 through the smoke test form: one free acceleration recorded and drawn in the
// chart window, which is then drawn to PNG and PDF and printed. The readings
// of each "@VA" reply are handed to the form's reading step as the MCTC-NET link stores
// them, one reply every 250 ms, so that the test knows the point of every row.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

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
  // instruction line.
  void Reply() {
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
    l.OpaCellTemp = 75;
    l.OpaLuStatus1 = "00016";
    l.OpaLuStatus2 = "00001";
    f_.ShowSmokeReadings(smoke::Protocol::MctcNet);
    f_.EndOfFrame();
  }

  Grafic& g_ = p_.grafic;
  bool throttle_ = false;
  double rpm_ = 800;
};

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

  // The window does not close with the test form; its cancel button closes it.
  ui_.click(f_.CmdOut);
  EXPECT_TRUE(g_.Visible());
  ui_.esc(g_);
  EXPECT_FALSE(g_.IsLoaded());
}

}  // namespace
}  // namespace vs
