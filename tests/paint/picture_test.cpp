#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/paint/Picture.h"

namespace plat::paint {
namespace {

using namespace std::string_literals;

// The n little-endian bytes of v.
std::string Le(std::size_t v, int n = 4) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}
std::string InfoHeader(int w, int h, int bpp, int colors = 0) {
  return Le(40) + Le(w) + Le(h) + Le(1, 2) + Le(bpp, 2) + std::string(16, '\0') + Le(colors) +
         Le(0);
}
// An icon file of one square image.
std::string Ico(int side, int bpp, const std::string& image) {
  return Le(0, 2) + Le(1, 2) + Le(1, 2) + Le(side, 1) + Le(side, 1) + Le(0, 2) + Le(1, 2) +
         Le(bpp, 2) + Le(image.size()) + Le(22) + image;
}
// 2 x 2, 24 bits, bottom-up: bottom row blue, green; top row red, white (B, G, R; padded).
std::string Bmp24() {
  return "BM" + Le(70) + Le(0) + Le(54) + InfoHeader(2, 2, 24) +
         "\xFF\0\0\0\xFF\0\0\0\0\0\xFF\xFF\xFF\xFF\0\0"s;
}
// 2 x 2, 8 bits, palette blue and green; the mask makes the top-left pixel transparent.
std::string Ico8() {
  return Ico(2, 8,
             InfoHeader(2, 4, 8, 2) + Le(0xFF) + Le(0xFF00) +
                 "\0\1\0\0\1\0\0\0"s        // rows from the bottom: blue, green; green, blue
                 + "\0\0\0\0\x80\0\0\0"s);  // mask rows
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

TEST(PictureTest, BmpIcoAndPngDecodeToTheirPixels) {
  const Bitmap bmp = DecodePicture(Bmp24());
  ASSERT_EQ(bmp.width(), 2);
  const Bitmap ico = DecodePicture(Ico8());
  ASSERT_EQ(ico.height(), 2);
  const std::uint32_t pixels[][2] = {{bmp.pixel(0, 0), 0xFFFF0000u}, {bmp.pixel(1, 0), 0xFFFFFFFFu},
                                     {bmp.pixel(0, 1), 0xFF0000FFu}, {bmp.pixel(1, 1), 0xFF00FF00u},
                                     {ico.pixel(0, 0), 0u},  // masked
                                     {ico.pixel(1, 0), 0xFF0000FFu}, {ico.pixel(0, 1), 0xFF0000FFu},
                                     {ico.pixel(1, 1), 0xFF00FF00u}};
  for (const auto& p : pixels) EXPECT_EQ(p[0], p[1]);

  const Bitmap src = BuiltinPicture("close", 16, 16);
  std::string png;
  ASSERT_EQ(cairo_surface_write_to_png_stream(src.surface(), Append, &png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(DecodePicture(png).width(), 16);
  const Bitmap fromIco = DecodePicture(Ico(16, 32, png));  // an icon holding a PNG
  ASSERT_EQ(fromIco.width(), 16);
  EXPECT_EQ(fromIco.pixel(8, 8), src.pixel(8, 8));
}

TEST(PictureTest, DamagedFilesGiveNoPictureAndNeverFault) {
  for (const std::string& good : {Bmp24(), Ico8()}) {
    for (std::size_t n = 0; n < good.size(); ++n) DecodePicture(good.substr(0, n));
    for (std::size_t i = 0; i < good.size(); ++i) {
      std::string bad = good;
      bad[i] = static_cast<char>(bad[i] ^ 0xFF);
      DecodePicture(bad);
    }
  }
  // Sizes in the header far beyond the data.
  std::string huge = Bmp24();
  huge[18] = huge[22] = '\x7F';
  EXPECT_TRUE(DecodePicture(huge).empty() && DecodePicture("not a picture").empty() &&
              LoadPictureFile("/nonexistent/picture.bmp").empty());
}

TEST(PictureTest, BuiltinAndTheProgramsNamedPicturesFillTheirBox) {
  for (const char* name : {"print", "close", "lamp"}) {
    const Bitmap b = BuiltinPicture(name, 48, 32);  // not empty in the middle
    EXPECT_TRUE(IsBuiltinPicture(name) && b.width() == 48 && b.pixel(24, 16) >> 24 != 0) << name;
  }
  EXPECT_TRUE(!IsBuiltinPicture("Immagini/RPM.ico") && BuiltinPicture("nothing", 10, 10).empty() &&
              BuiltinPicture("close", 0, 10).empty());

  PictureBook book;
  std::vector<std::pair<double, double>> sizes;
  book.add("band", [&](cairo_t* cr, double w, double h) {
    sizes.emplace_back(w, h);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_fill(cr);
  });
  EXPECT_TRUE(book.has("band") && !book.has("close") && book.draw("band", 0, 5).empty() &&
              book.draw("other", 5, 5).empty());
  Bitmap canvas(40, 30);
  cairo_t* cr = cairo_create(canvas.surface());
  DrawPicture(cr, "band", 10, 5, 20, 10, false, &book);  // not stretched: filled all the same
  DrawPicture(cr, "band", 0, 20, 40, 10, true);          // no book: a file that is not there
  cairo_destroy(cr);
  ASSERT_EQ(sizes, (std::vector<std::pair<double, double>>{{20, 10}}));
  EXPECT_EQ(std::tuple(canvas.pixel(10, 5), canvas.pixel(29, 14), canvas.pixel(30, 14),
                       canvas.pixel(5, 25)),
            std::tuple(0xFFFF0000u, 0xFFFF0000u, 0u, 0u));
}

}  // namespace
}  // namespace plat::paint
