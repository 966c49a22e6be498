#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/paint/Picture.h"

namespace plat::paint {
namespace {

void Put16(std::string& s, std::uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A BITMAPINFOHEADER for w x h at bpp.
std::string InfoHeader(int w, int h, int bpp, int colors = 0) {
  std::string s;
  Put32(s, 40);
  Put32(s, static_cast<std::uint32_t>(w));
  Put32(s, static_cast<std::uint32_t>(h));
  Put16(s, 1);
  Put16(s, static_cast<std::uint16_t>(bpp));
  Put32(s, 0);
  Put32(s, 0);
  Put32(s, 0);
  Put32(s, 0);
  Put32(s, static_cast<std::uint32_t>(colors));
  Put32(s, 0);
  return s;
}

// 2 x 2, 24 bits, bottom-up: bottom row blue, green; top row red, white.
std::string Bmp24() {
  std::string pixels;
  pixels += std::string(
      "\xFF\x00\x00"
      "\x00\xFF\x00"
      "\x00\x00",
      8);  // B,G,R ... padded
  pixels += std::string(
      "\x00\x00\xFF"
      "\xFF\xFF\xFF"
      "\x00\x00",
      8);
  std::string s = "BM";
  Put32(s, static_cast<std::uint32_t>(14 + 40 + pixels.size()));
  Put32(s, 0);
  Put32(s, 14 + 40);
  return s + InfoHeader(2, 2, 24) + pixels;
}

// A 2 x 2 icon of 8 bits with a palette of two colours; its mask makes the top-left
// pixel transparent.
std::string Ico8() {
  std::string img = InfoHeader(2, 4, 8, 2);
  Put32(img, 0x000000FF);                     // palette 0: blue (B, G, R, 0)
  Put32(img, 0x0000FF00);                     // palette 1: green
  img += std::string("\x00\x01\x00\x00", 4);  // bottom row: blue, green
  img += std::string("\x01\x00\x00\x00", 4);  // top row: green, blue
  img += std::string("\x00\x00\x00\x00", 4);  // mask bottom row: opaque
  img += std::string("\x80\x00\x00\x00", 4);  // mask top row: first pixel transparent
  std::string s;
  Put16(s, 0);
  Put16(s, 1);
  Put16(s, 1);
  s += '\x02';
  s += '\x02';
  s += std::string("\x00\x00", 2);
  Put16(s, 1);
  Put16(s, 8);
  Put32(s, static_cast<std::uint32_t>(img.size()));
  Put32(s, 6 + 16);
  return s + img;
}

TEST(PictureTest, BmpAndIcoDecodeToTheirPixels) {
  const Bitmap bmp = DecodePicture(Bmp24());
  ASSERT_FALSE(bmp.empty());
  EXPECT_EQ(bmp.pixel(0, 0), 0xFFFF0000u);  // top-left red
  EXPECT_EQ(bmp.pixel(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(bmp.pixel(0, 1), 0xFF0000FFu);
  EXPECT_EQ(bmp.pixel(1, 1), 0xFF00FF00u);

  const Bitmap ico = DecodePicture(Ico8());
  ASSERT_EQ(ico.width(), 2);
  ASSERT_EQ(ico.height(), 2);
  EXPECT_EQ(ico.pixel(0, 0), 0u);  // masked
  EXPECT_EQ(ico.pixel(1, 0), 0xFF0000FFu);
  EXPECT_EQ(ico.pixel(0, 1), 0xFF0000FFu);
  EXPECT_EQ(ico.pixel(1, 1), 0xFF00FF00u);
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

TEST(PictureTest, PngAndIconsHoldingPngDecode) {
  Bitmap src = BuiltinPicture("close", 16, 16);
  std::string png;
  ASSERT_EQ(cairo_surface_write_to_png_stream(src.surface(), Append, &png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(DecodePicture(png).width(), 16);
  std::string ico;
  Put16(ico, 0);
  Put16(ico, 1);
  Put16(ico, 1);
  ico += std::string("\x10\x10\x00\x00", 4);
  Put16(ico, 1);
  Put16(ico, 32);
  Put32(ico, static_cast<std::uint32_t>(png.size()));
  Put32(ico, 22);
  const Bitmap fromIco = DecodePicture(ico + png);
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
  huge[18] = '\x7F';
  huge[22] = '\x7F';
  EXPECT_TRUE(DecodePicture(huge).empty());
  EXPECT_TRUE(DecodePicture("not a picture").empty());
  EXPECT_TRUE(LoadPictureFile("/nonexistent/picture.bmp").empty());
}

TEST(PictureTest, BuiltinPicturesAreDrawnToAnySize) {
  for (const char* name : {"print", "close", "lamp"}) {
    EXPECT_TRUE(IsBuiltinPicture(name));
    const Bitmap b = BuiltinPicture(name, 48, 32);
    ASSERT_EQ(b.width(), 48) << name;
    EXPECT_NE(b.pixel(24, 16) >> 24, 0u) << name << " is empty in the middle";
  }
  EXPECT_FALSE(IsBuiltinPicture("Immagini/RPM.ico"));
  EXPECT_TRUE(BuiltinPicture("nothing", 10, 10).empty());
  EXPECT_TRUE(BuiltinPicture("close", 0, 10).empty());
}

TEST(PictureTest, TheProgramsNamedPicturesFillTheirBoxAndComeBeforeFiles) {
  PictureBook book;
  std::vector<std::pair<double, double>> sizes;
  book.add("band", [&](cairo_t* cr, double w, double h) {
    sizes.emplace_back(w, h);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_fill(cr);
  });
  EXPECT_TRUE(book.has("band"));
  EXPECT_FALSE(book.has("close"));
  EXPECT_TRUE(book.draw("band", 0, 5).empty());
  EXPECT_TRUE(book.draw("other", 5, 5).empty());

  Bitmap canvas(40, 30);
  cairo_t* cr = cairo_create(canvas.surface());
  DrawPicture(cr, "band", 10, 5, 20, 10, false, &book);  // not stretched: filled all the same
  DrawPicture(cr, "band", 0, 20, 40, 10, true);          // no book: a file that is not there
  cairo_destroy(cr);
  ASSERT_EQ(sizes, (std::vector<std::pair<double, double>>{{20, 10}}));
  EXPECT_EQ(canvas.pixel(10, 5), 0xFFFF0000u);
  EXPECT_EQ(canvas.pixel(29, 14), 0xFFFF0000u);
  EXPECT_EQ(canvas.pixel(30, 14), 0u);
  EXPECT_EQ(canvas.pixel(5, 25), 0u);
}

}  // namespace
}  // namespace plat::paint
