#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "paint/paint_test_util.h"
#include "platform/Runtime.h"
#include "platform/forms/Forms.h"
#include "platform/paint/ChartPainter.h"
#include "platform/paint/Painter.h"
#include "platform/paint/Picture.h"
#include "platform/paint/Text.h"
#include "support/TempFolder.h"

namespace plat::paint {
namespace {

using test::TempFolder;
using testing::Capture;
using testing::HavePdfToText;
using testing::PdfText;

// A page like the printable reports: coloured labels, one inside a frame, a hidden one
// and a button with an access key.
class Page : public Form {
 public:
  explicit Page(Runtime& rt) : Form(rt.forms, "Page") {
    setBackColor(colors::kWhite);
    Move(0, 0, 400, 240);
    Red.Move(10, 10, 120, 30);
    Red.setBackColor(colors::kRed);
    Red.setCaption("Outcome");
    Yellow.Move(140, 10, 120, 30);
    Yellow.setBackColor(colors::kYellow);
    Yellow.setCaption("Limit 3,5");
    Blue.Move(270, 10, 120, 60);
    Blue.setBackColor(colors::kWhite);
    Blue.setForeColor(colors::kBlue);
    Blue.setFont({"Arial", 24, true, false});
    Blue.setCaption("WW");
    Box.Move(10, 80, 250, 120);
    Box.setBackColor(colors::kWhite);
    Box.setCaption("Vehicle data");
    Inner.setContainer(Box);
    Inner.Move(20, 30, 100, 40);
    Inner.setBackColor(0xFFFF80);  // light blue
    Inner.setCaption("AB123CD");
    Hidden.Move(270, 80, 120, 40);
    Hidden.setBackColor(0xFF00FF);
    Hidden.setCaption("Secret");
    Hidden.setVisible(false);
    Print.Move(270, 150, 120, 40);
    Print.setCaption("&Stampa");
  }
  Label Red{*this, "Red"};
  Label Yellow{*this, "Yellow"};
  Label Blue{*this, "Blue"};
  Frame Box{*this, "Box"};
  Label Inner{*this, "Inner"};
  Label Hidden{*this, "Hidden"};
  CommandButton Print{*this, "Print"};
};

// 0xRRGGBB of a pixel.
std::uint32_t Rgb(const Bitmap& b, int x, int y) { return b.pixel(x, y) & 0xFFFFFF; }
std::uint32_t Rgb(Color c) {
  const Color r = ResolveColor(c);
  return static_cast<std::uint32_t>(RedOf(r) << 16 | GreenOf(r) << 8 | BlueOf(r));
}

Bitmap ReadPng(const std::filesystem::path& file) {
  return Bitmap(cairo_image_surface_create_from_png(file.c_str()));
}

class PainterTest : public ::testing::Test {
 protected:
  Runtime rt{EventLoop::ClockKind::Manual};
  Page page{rt};
  TempFolder dir;
};

TEST_F(PainterTest, PngShowsEachLabelInItsColourWhereItLies) {
  WriteFormPng(page, dir / "page.png");
  const Bitmap png = ReadPng(dir / "page.png");
  ASSERT_EQ(png.width(), 400);
  ASSERT_EQ(png.height(), 240);
  // Corners of each label, away from its text.
  EXPECT_EQ(Rgb(png, 125, 35), 0xFF0000u);
  EXPECT_EQ(Rgb(png, 255, 35), 0xFFFF00u);
  // The frame's label lies at the frame's position plus its own.
  EXPECT_EQ(Rgb(png, 10 + 20 + 95, 80 + 30 + 35), Rgb(0xFFFF80));
  EXPECT_EQ(Rgb(png, 10 + 20 - 3, 80 + 30 + 20), 0xFFFFFFu);
  // The hidden label leaves the form's colour.
  EXPECT_EQ(Rgb(png, 330, 100), 0xFFFFFFu);
  // The text is drawn in its fore colour.
  int blue = 0;
  for (int y = 10; y < 70; ++y)
    for (int x = 270; x < 390; ++x) blue += Rgb(png, x, y) == 0x0000FFu;
  EXPECT_GT(blue, 50);
  // A red label's text is dark on red.
  int dark = 0;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 130; ++x) dark += (Rgb(png, x, y) >> 16) < 0x60;
  EXPECT_GT(dark, 10);
}

TEST_F(PainterTest, ColoursFollowTheModelAndSystemColoursResolve) {
  page.Red.setBackColor(colors::kGreen);
  page.Yellow.setBackColor(colors::kButtonFace);
  page.Inner.setTransparent(true);
  WriteFormPng(page, dir / "page.png");
  const Bitmap png = ReadPng(dir / "page.png");
  EXPECT_EQ(Rgb(png, 125, 35), 0x00FF00u);
  EXPECT_EQ(Rgb(png, 255, 35), Rgb(colors::kButtonFace));
  EXPECT_EQ(Rgb(png, 10 + 20 + 95, 80 + 30 + 35), 0xFFFFFFu);  // the frame shows through
}

TEST_F(PainterTest, PdfHoldsTheVisibleTextsOnEveryPageAndLeavesSkippedControlsOff) {
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  PaintOptions options;
  options.skip = [&](const Control& c) { return &c == &page.Box; };
  WriteFormPdf(page, dir / "page.pdf", 2, options);
  const std::string text = PdfText(dir / "page.pdf");
  for (const char* s : {"Outcome", "Limit 3,5", "Stampa"})
    EXPECT_NE(text.find(s), std::string::npos) << s << " in:\n" << text;
  for (const char* s : {"Secret", "&Stampa", "Vehicle data", "AB123CD"})
    EXPECT_EQ(text.find(s), std::string::npos) << s;  // hidden, access key mark, skipped
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2);
  EXPECT_NE(text.find("Outcome", text.find('\f')), std::string::npos);  // page 2 too
}

TEST_F(PainterTest, UnwritableFilesAndBadTextAreReportedNotCrashed) {
  EXPECT_THROW(WriteFormPng(page, dir / "missing" / "page.png"), std::runtime_error);
  EXPECT_THROW(WriteFormPdf(page, dir / "missing" / "page.pdf", 1), std::runtime_error);
  EXPECT_THROW(WriteFormPdf(page, dir / "page.pdf", 0), std::invalid_argument);
  // Malformed UTF-8 (a stray Windows-1252 byte) is drawn, not refused.
  page.Red.setCaption("Umidit\xE0 \xFF\xC3");
  page.Print.setCaption("&");
  EXPECT_NO_THROW(WriteFormPng(page, dir / "page.png"));
  EXPECT_EQ(ValidUtf8("a\xE0z\xC3\xA0"), "a\xEF\xBF\xBDz\xC3\xA0");
}

// ---- The chart.

class ChartForm : public Form {
 public:
  explicit ChartForm(Runtime& rt) : Form(rt.forms, "Grafic") {
    setBackColor(colors::kWhite);
    Move(0, 0, 600, 400);
    MSChart1.Move(0, 0, 600, 400);
    MSChart1.setTitleText("SINGLE  ACCELERATION");
    MSChart1.setAxisTitle(ChartAxis::X, "Time, msec");
    MSChart1.setAxisTitle(ChartAxis::Y, "Opacity x 10, k");
    MSChart1.setColumnLabel(2, "Opacity");
    MSChart1.setColumnLabel(3, "RPM");
    MSChart1.setSeriesColor(2, colors::kRed);
    MSChart1.setSeriesColor(3, colors::kBlue);
  }
  Chart MSChart1{*this, "MSChart1"};
};

// 41 rows: time, a rising and falling opacity, a flat engine-speed line.
std::vector<std::vector<double>> Acceleration() {
  std::vector<std::vector<double>> rows;
  for (int r = 0; r <= 40; ++r) rows.push_back({r * 0.25, 30 * std::sin(r * M_PI / 40), 20.0});
  return rows;
}

TEST(ChartPainterTest, CurvesTitleAxesAndLegendAreDrawn) {
  Runtime rt{EventLoop::ClockKind::Manual};
  ChartForm form(rt);
  form.MSChart1.setChartData(Acceleration());
  TempFolder dir;
  WriteFormPng(form, dir / "chart.png");
  const Bitmap png = ReadPng(dir / "chart.png");
  const ChartGeometry g = ChartLayout(600, 400, true);
  int red = 0, blueTop = 400, blueBottom = 0;
  for (int y = static_cast<int>(g.plotY); y < g.plotY + g.plotH; ++y)
    for (int x = static_cast<int>(g.plotX) + 2; x < g.plotX + g.plotW - 2; ++x) {
      const auto p = Rgb(png, x, y);
      red += p == 0xFF0000u;
      if (p == 0x0000FFu) blueTop = std::min(blueTop, y), blueBottom = std::max(blueBottom, y);
    }
  EXPECT_GT(red, 200);  // the opacity curve crosses the plot
  // The flat series is one horizontal line (two pixels wide).
  EXPECT_LE(blueBottom - blueTop, 2);
  EXPECT_GT(blueTop, g.plotY);
  if (!HavePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
  WriteFormPdf(form, dir / "chart.pdf", 1);
  const std::string text = PdfText(dir / "chart.pdf");
  for (const char* s : {"SINGLE", "ACCELERATION", "Time, msec", "Opacity", "RPM"})
    EXPECT_NE(text.find(s), std::string::npos) << s << " in:\n" << text;
}

TEST(ChartPainterTest, OddDataIsDrawnWithoutFault) {
  Runtime rt{EventLoop::ClockKind::Manual};
  ChartForm form(rt);
  TempFolder dir;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (auto rows : std::vector<std::vector<std::vector<double>>>{
           {},
           {{0}},
           {{0, 5}},
           {{0, 1e300, -1e300}, {1, nan, inf}, {}, {2, 3}},
           {{0, 1e15}, {1, 1e15 + 1}},
           {{0, 7, 7}, {1, 7, 7}}}) {
    form.MSChart1.setChartData(rows);
    EXPECT_NO_THROW(WriteFormPng(form, dir / "chart.png"));
    EXPECT_NO_THROW(WriteFormPdf(form, dir / "chart.pdf", 1));
  }
}

TEST(ChartPainterTest, LayoutKeepsThePlotInsideAndLeavesRoomForTheLegend) {
  const ChartGeometry with = ChartLayout(723, 400, true), without = ChartLayout(723, 400, false);
  EXPECT_GT(with.plotX, 0);
  EXPECT_LT(with.plotX + with.plotW, with.legendX);
  EXPECT_LT(with.plotY + with.plotH, 400);
  EXPECT_GT(without.plotW, with.plotW);
  const ChartGeometry tiny = ChartLayout(10, 10, true);
  EXPECT_GE(tiny.plotW, 1);
  EXPECT_GE(tiny.plotH, 1);
}

}  // namespace
}  // namespace plat::paint
