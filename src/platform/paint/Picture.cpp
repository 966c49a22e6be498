#include "platform/paint/Picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <utility>

namespace plat::paint {

// ---- Bitmap

Bitmap::Bitmap(cairo_surface_t* s) : s_(s) {
  if (s_ && cairo_surface_status(s_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s_);
    s_ = nullptr;
  }
}

Bitmap::Bitmap(int width, int height)
    : Bitmap(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, width),
                                        std::max(1, height))) {}

Bitmap::~Bitmap() {
  if (s_) cairo_surface_destroy(s_);
}

Bitmap::Bitmap(Bitmap&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}

Bitmap& Bitmap::operator=(Bitmap&& o) noexcept {
  if (this != &o) {
    if (s_) cairo_surface_destroy(s_);
    s_ = std::exchange(o.s_, nullptr);
  }
  return *this;
}

int Bitmap::width() const { return s_ ? cairo_image_surface_get_width(s_) : 0; }
int Bitmap::height() const { return s_ ? cairo_image_surface_get_height(s_) : 0; }

std::uint32_t Bitmap::pixel(int x, int y) const {
  if (!s_ || x < 0 || y < 0 || x >= width() || y >= height()) return 0;
  cairo_surface_flush(s_);
  const unsigned char* data = cairo_image_surface_get_data(s_);
  const int stride = cairo_image_surface_get_stride(s_);
  std::uint32_t p;
  std::copy_n(data + y * stride + x * 4, 4, reinterpret_cast<unsigned char*>(&p));
  const std::uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto un = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (un((p >> 16) & 0xFF) << 16) | (un((p >> 8) & 0xFF) << 8) | un(p & 0xFF);
}

namespace {

constexpr int kMaxSide = 8192;

// ---- Little-endian reading with bounds checks.
struct Reader {
  std::string_view b;
  std::optional<std::uint32_t> u32(std::size_t at) const {
    if (at > b.size() || b.size() - at < 4) return std::nullopt;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
      v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
  }
  std::optional<std::uint16_t> u16(std::size_t at) const {
    if (at > b.size() || b.size() - at < 2) return std::nullopt;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      (static_cast<unsigned char>(b[at + 1]) << 8));
  }
  unsigned char u8(std::size_t at) const {
    return at < b.size() ? static_cast<unsigned char>(b[at]) : 0;
  }
};

// Converts any image surface to ARGB32.
Bitmap ToArgb(cairo_surface_t* src) {
  if (!src || cairo_surface_status(src) != CAIRO_STATUS_SUCCESS) {
    if (src) cairo_surface_destroy(src);
    return {};
  }
  if (cairo_image_surface_get_format(src) == CAIRO_FORMAT_ARGB32) return Bitmap(src);
  Bitmap out(cairo_image_surface_get_width(src), cairo_image_surface_get_height(src));
  if (!out.empty()) {
    cairo_t* cr = cairo_create(out.surface());
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  cairo_surface_destroy(src);
  return out;
}

struct PngSource {
  std::string_view bytes;
  std::size_t pos = 0;
};

cairo_status_t ReadPng(void* closure, unsigned char* data, unsigned int length) {
  auto* src = static_cast<PngSource*>(closure);
  if (src->bytes.size() - src->pos < length) return CAIRO_STATUS_READ_ERROR;
  std::copy_n(src->bytes.data() + src->pos, length, data);
  src->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

bool IsPng(std::string_view b) { return b.size() >= 8 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n"; }

Bitmap DecodePng(std::string_view b) {
  PngSource src{b};
  return ToArgb(cairo_image_surface_create_from_png_stream(ReadPng, &src));
}

// A device-independent bitmap: the header at `hdr`; pixels at `pixels` (0: right after
// the palette). An icon's image holds twice its height: the colours, then a 1-bit mask.
Bitmap DecodeDib(std::string_view b, std::size_t hdr, std::size_t pixels, bool icon) {
  const Reader r{b};
  const auto hdrSize = r.u32(hdr);
  if (!hdrSize) return {};
  std::int64_t w = 0, h = 0;
  int bpp = 0;
  std::uint32_t compression = 0, colorsUsed = 0;
  std::size_t paletteEntry = 4;
  if (*hdrSize == 12) {
    auto w16 = r.u16(hdr + 4), h16 = r.u16(hdr + 6), b16 = r.u16(hdr + 10);
    if (!w16 || !h16 || !b16) return {};
    w = *w16, h = *h16, bpp = *b16, paletteEntry = 3;
  } else if (*hdrSize >= 40 && *hdrSize <= 1024) {
    const auto w32 = r.u32(hdr + 4), h32 = r.u32(hdr + 8), c32 = r.u32(hdr + 16),
               u32 = r.u32(hdr + 32);
    const auto b16 = r.u16(hdr + 14);
    if (!w32 || !h32 || !b16 || !c32 || !u32) return {};
    w = static_cast<std::int32_t>(*w32), h = static_cast<std::int32_t>(*h32);
    bpp = *b16, compression = *c32, colorsUsed = *u32;
  } else {
    return {};
  }
  const bool topDown = h < 0;
  if (topDown) h = -h;
  if (icon) h /= 2;
  if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) return {};
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return {};
  std::size_t palette = hdr + *hdrSize;
  if (compression == 3 && bpp == 32) {
    // Bit fields: only the usual byte order is taken.
    const std::size_t masks = *hdrSize == 40 ? palette : hdr + 40;
    auto rm = r.u32(masks), gm = r.u32(masks + 4), bm = r.u32(masks + 8);
    if (!rm || !gm || !bm || *rm != 0xFF0000 || *gm != 0xFF00 || *bm != 0xFF) return {};
    if (*hdrSize == 40) palette += 12;
  } else if (compression != 0) {
    return {};
  }
  std::size_t paletteCount = 0;
  if (bpp <= 8) paletteCount = colorsUsed && colorsUsed <= 256u ? colorsUsed : (1u << bpp);
  if (pixels == 0) pixels = palette + paletteCount * paletteEntry;
  const auto W = static_cast<std::size_t>(w), H = static_cast<std::size_t>(h);
  const std::size_t stride = (static_cast<std::size_t>(bpp) * W + 31) / 32 * 4;
  if (pixels > b.size() || (b.size() - pixels) / stride < H) return {};
  if (palette + paletteCount * paletteEntry > b.size() && bpp <= 8) return {};
  const std::size_t maskStride = (W + 31) / 32 * 4;
  const std::size_t mask = pixels + stride * H;
  const bool hasMask = icon && mask <= b.size() && (b.size() - mask) / maskStride >= H;

  // 32-bit images with an alpha channel use it; all-zero alpha means an opaque image.
  bool useAlpha = false;
  if (bpp == 32)
    for (std::size_t i = pixels + 3; i < pixels + stride * H && !useAlpha; i += 4)
      useAlpha = r.u8(i) != 0;

  Bitmap out(static_cast<int>(W), static_cast<int>(H));
  if (out.empty()) return {};
  cairo_surface_flush(out.surface());
  unsigned char* data = cairo_image_surface_get_data(out.surface());
  const auto outStride = static_cast<std::size_t>(cairo_image_surface_get_stride(out.surface()));
  for (std::size_t y = 0; y < H; ++y) {
    const std::size_t srcRow = topDown ? y : H - 1 - y;
    const std::size_t row = pixels + srcRow * stride;
    for (std::size_t x = 0; x < W; ++x) {
      std::uint32_t red = 0, green = 0, blue = 0, alpha = 255;
      if (bpp >= 24) {
        const std::size_t p = row + x * static_cast<std::size_t>(bpp / 8);
        blue = r.u8(p), green = r.u8(p + 1), red = r.u8(p + 2);
        if (useAlpha) alpha = r.u8(p + 3);
      } else {
        const std::size_t bit = x * static_cast<std::size_t>(bpp);
        const unsigned byte = r.u8(row + bit / 8);
        const unsigned shift = 8 - static_cast<unsigned>(bpp) - static_cast<unsigned>(bit % 8);
        const std::size_t index = (byte >> shift) & ((1u << bpp) - 1);
        if (index < paletteCount) {
          const std::size_t p = palette + index * paletteEntry;
          blue = r.u8(p), green = r.u8(p + 1), red = r.u8(p + 2);
        }
      }
      if (hasMask && !useAlpha) {
        const unsigned byte = r.u8(mask + srcRow * maskStride + x / 8);
        if ((byte >> (7 - x % 8)) & 1) alpha = 0;
      }
      const std::uint32_t px = (alpha << 24) | ((red * alpha / 255) << 16) |
                               ((green * alpha / 255) << 8) | (blue * alpha / 255);
      std::copy_n(reinterpret_cast<const unsigned char*>(&px), 4, data + y * outStride + x * 4);
    }
  }
  cairo_surface_mark_dirty(out.surface());
  return out;
}

Bitmap DecodeBmp(std::string_view b) {
  const Reader r{b};
  const auto offset = r.u32(10);
  if (!offset || *offset < 26) return {};
  return DecodeDib(b, 14, *offset, false);
}

Bitmap DecodeIco(std::string_view b) {
  const Reader r{b};
  const auto count = r.u16(4);
  if (!count || *count == 0) return {};
  std::optional<std::size_t> best;
  long bestScore = -1;
  for (std::size_t i = 0; i < *count; ++i) {
    const std::size_t e = 6 + 16 * i;
    const auto size = r.u32(e + 8), offset = r.u32(e + 12);
    const auto bpp = r.u16(e + 6);
    if (!size || !offset || !bpp) break;
    const long w = r.u8(e) ? r.u8(e) : 256, h = r.u8(e + 1) ? r.u8(e + 1) : 256;
    const long score = w * h * 64 + *bpp;
    if (*offset >= b.size() || *size > b.size() - *offset) continue;
    if (score > bestScore) bestScore = score, best = e;
  }
  if (!best) return {};
  const std::string_view img = b.substr(*r.u32(*best + 12), *r.u32(*best + 8));
  if (IsPng(img)) return DecodePng(img);
  return DecodeDib(img, 0, 0, true);
}

// ---- Built-in pictures, drawn in a 100 x 100 box.

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void DrawPrinter(cairo_t* cr) {
  cairo_set_line_width(cr, 3);
  cairo_rectangle(cr, 28, 10, 44, 30);  // paper in
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
  cairo_stroke(cr);
  RoundRect(cr, 10, 36, 80, 36, 6);  // body
  cairo_set_source_rgb(cr, 0.45, 0.47, 0.52);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
  cairo_stroke(cr);
  cairo_rectangle(cr, 26, 60, 48, 30);  // paper out
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
  cairo_stroke(cr);
  for (double y : {70.0, 78.0}) {
    cairo_move_to(cr, 33, y);
    cairo_line_to(cr, 67, y);
  }
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_arc(cr, 80, 46, 4, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 0.1, 0.8, 0.2);
  cairo_fill(cr);
}

void DrawClose(cairo_t* cr) {
  RoundRect(cr, 10, 10, 80, 80, 12);
  cairo_set_source_rgb(cr, 0.8, 0.1, 0.1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.45, 0.0, 0.0);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 12);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, 32, 32);
  cairo_line_to(cr, 68, 68);
  cairo_move_to(cr, 68, 32);
  cairo_line_to(cr, 32, 68);
  cairo_stroke(cr);
}

void DrawLamp(cairo_t* cr) {
  cairo_pattern_t* glow = cairo_pattern_create_radial(42, 42, 4, 50, 50, 44);
  cairo_pattern_add_color_stop_rgb(glow, 0, 1, 1, 0.7);
  cairo_pattern_add_color_stop_rgb(glow, 0.6, 1, 0.6, 0);
  cairo_pattern_add_color_stop_rgb(glow, 1, 0.8, 0.25, 0);
  cairo_arc(cr, 50, 50, 44, 0, 2 * M_PI);
  cairo_set_source(cr, glow);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
}

// A transparent bitmap of w x h with `draw` run on it (empty for a size out of range).
Bitmap Drawn(int w, int h, const std::function<void(cairo_t*)>& draw) {
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return {};
  Bitmap out(w, h);
  if (out.empty()) return out;
  cairo_t* cr = cairo_create(out.surface());
  draw(cr);
  cairo_destroy(cr);
  return out;
}

}  // namespace

void PictureBook::add(std::string name, Drawer draw) {
  drawers_[std::move(name)] = std::move(draw);
}

bool PictureBook::has(std::string_view name) const { return drawers_.find(name) != drawers_.end(); }

Bitmap PictureBook::draw(std::string_view name, int w, int h) const {
  const auto it = drawers_.find(name);
  if (it == drawers_.end() || !it->second) return {};
  return Drawn(w, h, [&](cairo_t* cr) { it->second(cr, w, h); });
}

bool IsBuiltinPicture(std::string_view name) {
  return name == "print" || name == "close" || name == "lamp";
}

Bitmap BuiltinPicture(std::string_view name, int w, int h) {
  if (!IsBuiltinPicture(name)) return {};
  return Drawn(w, h, [&](cairo_t* cr) {
    // Square pictures keep their shape, centred in the box.
    const double side = std::min(w, h);
    cairo_translate(cr, (w - side) / 2.0, (h - side) / 2.0);
    cairo_scale(cr, side / 100.0, side / 100.0);
    if (name == "print") DrawPrinter(cr);
    if (name == "close") DrawClose(cr);
    if (name == "lamp") DrawLamp(cr);
  });
}

Bitmap DecodePicture(std::string_view bytes) {
  if (IsPng(bytes)) return DecodePng(bytes);
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "BM") return DecodeBmp(bytes);
  if (bytes.size() >= 4 && bytes.substr(0, 4) == std::string_view("\0\0\1\0", 4))
    return DecodeIco(bytes);
  return {};
}

Bitmap LoadPictureFile(const std::filesystem::path& file) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size > 64u * 1024 * 1024) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodePicture(bytes);
}

void DrawPicture(cairo_t* cr, const std::string& picture, double x, double y, double w, double h,
                 bool stretch, const PictureBook* book) {
  if (picture.empty() || w <= 0 || h <= 0) return;
  Bitmap bmp;
  const int pw = static_cast<int>(std::lround(w)), ph = static_cast<int>(std::lround(h));
  const bool named = (book && book->has(picture)) || IsBuiltinPicture(picture);
  if (book && book->has(picture))
    bmp = book->draw(picture, pw, ph);
  else if (named)
    bmp = BuiltinPicture(picture, pw, ph);
  else
    bmp = LoadPictureFile(picture);
  if (bmp.empty()) return;
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  if (stretch && !named) cairo_scale(cr, w / bmp.width(), h / bmp.height());
  cairo_set_source_surface(cr, bmp.surface(), 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
}

}  // namespace plat::paint
