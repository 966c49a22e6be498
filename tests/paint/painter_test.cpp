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
using testing::HavePdfToText;
using testing::PdfText;

// A page like the printable reports: coloured labels, one inside a frame, a hidden one
// and a button with an access key.
class Page : public Form {
 public:
  explicit Page(Runtime& rt) : Form(rt.forms, "Page") {
    setBackColor(colors::kWhite);
    Move(0, 0, 400, 240);
    const auto place = [](auto& c, int x, int y, int w, int h, Color back, const char* text) {
      c.Move(x, y, w, h);
      c.setBackColor(back);
      c.setCaption(text);
    };
    place(Red, 10, 10, 120, 30, colors::kRed, "Outcome");
    place(Yellow, 140, 10, 120, 30, colors::kYellow, "Limit 3,5");
    place(Blue, 270, 10, 120, 60, colors::kWhite, "WW");
    Blue.setForeColor(colors::kBlue);
    Blue.setFont({"Arial", 24, true, false});
    place(Box, 10, 80, 250, 120, colors::kWhite, "Vehicle data");
    Inner.setContainer(Box);
    place(Inner, 20, 30, 100, 40, 0xFFFF80, "AB123CD");  // light blue
    place(Hidden, 270, 80, 120, 40, 0xFF00FF, "Secret");
    Hidden.setVisible(false);
    Print.Move(270, 150, 120, 40);
    Print.setCaption("&Stampa");
  }
  Label Red{*this, "Red"}, Yellow{*this, "Yellow"}, Blue{*this, "Blue"};
  Frame Box{*this, "Box"};
  Label Inner{*this, "Inner"}, Hidden{*this, "Hidden"};
  CommandButton Print{*this, "Print"};
};

class PainterTest : public ::testing::Test {
 protected:
  // The page drawn to PNG: 0xRRGGBB of each pixel.
  std::function<std::uint32_t(int, int)> Png() {
    WriteFormPng(page, dir / "page.png");
    auto png =
        std::make_shared<Bitmap>(cairo_image_surface_create_from_png((dir / "page.png").c_str()));
    EXPECT_EQ(std::pair(png->width(), png->height()), std::pair(400, 240));
    return [png](int x, int y) { return png->pixel(x, y) & 0xFFFFFF; };
  }
  Runtime rt{EventLoop::ClockKind::Manual};
  Page page{rt};
  TempFolder dir;
};

TEST_F(PainterTest, PngShowsEachLabelInItsColourWhereItLies) {
  auto rgb = Png();
  // Corners of each label, away from its text; the frame's label at the frame's position
  // plus its own, and beside it; the hidden label leaves the form's colour.
  EXPECT_EQ(std::tuple(rgb(125, 35), rgb(255, 35), rgb(10 + 20 + 95, 80 + 30 + 35),
                       rgb(10 + 20 - 3, 130), rgb(330, 100)),
            std::tuple(0xFF0000u, 0xFFFF00u, 0x80FFFFu, 0xFFFFFFu, 0xFFFFFFu));
  // The text in its fore colour; a red label's text dark on red.
  int blue = 0, dark = 0;
  for (int y = 10; y < 70; ++y)
    for (int x = 270; x < 390; ++x) blue += rgb(x, y) == 0x0000FFu;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 130; ++x) dark += (rgb(x, y) >> 16) < 0x60;
  EXPECT_TRUE(blue > 50 && dark > 10) << blue << " " << dark;

  page.Red.setBackColor(colors::kGreen);
  page.Yellow.setBackColor(colors::kButtonFace);
  page.Inner.setTransparent(true);  // the frame shows through
  rgb = Png();
  const Color face = ResolveColor(colors::kButtonFace);
  EXPECT_EQ(
      std::tuple(rgb(125, 35), rgb(255, 35), rgb(10 + 20 + 95, 80 + 30 + 35)),
      std::tuple(0x00FF00u, RedOf(face) << 16 | GreenOf(face) << 8 | BlueOf(face), 0xFFFFFFu));
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
  EXPECT_THROW(WriteFormPng(page, dir / "missing" / "page.png"), DrawError);
  EXPECT_THROW(WriteFormPdf(page, dir / "missing" / "page.pdf", 1), DrawError);
  EXPECT_THROW(WriteFormPdf(page, dir / "page.pdf", 0), std::invalid_argument);
  // Malformed UTF-8 (a stray Windows-1252 byte) is drawn, not refused.
  page.Red.setCaption("Umidit\xE0 \xFF\xC3");
  page.Print.setCaption("&");
  EXPECT_NO_THROW(WriteFormPng(page, dir / "page.png"));
  EXPECT_EQ(ValidUtf8("a\xE0z\xC3\xA0"), "a\xEF\xBF\xBDz\xC3\xA0");
}

// The chart as the smoke test window has it; its drawing is checked by the smoke tests. Odd
// data (none, one row, values far out or not numbers, a flat line) is drawn all the same.
TEST(ChartPainterTest, OddDataIsDrawnAndThePlotKeepsInside) {
  Runtime rt{EventLoop::ClockKind::Manual};
  Form form(rt.forms, "Grafic");
  form.Move(0, 0, 600, 400);
  Chart chart(form, "MSChart1");
  chart.Move(0, 0, 600, 400);
  chart.setColumnLabel(2, "Opacity");
  TempFolder dir;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (auto rows : std::vector<std::vector<std::vector<double>>>{
           {},
           {{0, 5}},
           {{0, 1e300, -1e300}, {1, nan, HUGE_VAL}, {}, {2, 3}},
           {{0, 7, 7}, {1, 7, 7}}}) {
    chart.setChartData(rows);
    EXPECT_NO_THROW(WriteFormPng(form, dir / "chart.png"));
  }
  const ChartGeometry with = ChartLayout(723, 400, true), without = ChartLayout(723, 400, false),
                      tiny = ChartLayout(10, 10, true);
  EXPECT_TRUE(with.plotX > 0 && with.plotX + with.plotW < with.legendX &&
              with.plotY + with.plotH < 400 && without.plotW > with.plotW && tiny.plotW >= 1 &&
              tiny.plotH >= 1);
}

}  // namespace
}  // namespace plat::paint
