#pragma once
// Pictures of picture boxes, images and graphical buttons: PNG, BMP and ICO files, the
// platform's built-in pictures named without a folder ("print", "close", "lamp"), and the
// pictures a program adds by name to a PictureBook, drawn to any size. A file that cannot
// be read or decoded gives an empty bitmap (nothing is drawn); bad bytes never crash the
// decoder.
#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace plat::paint {

// An ARGB32 cairo image (premultiplied alpha), owned.
class Bitmap {
 public:
  Bitmap() = default;
  explicit Bitmap(cairo_surface_t* s);  // takes the reference; an error surface gives empty
  Bitmap(int width, int height);        // transparent
  ~Bitmap();
  Bitmap(Bitmap&& o) noexcept;
  Bitmap& operator=(Bitmap&& o) noexcept;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  bool empty() const { return s_ == nullptr; }
  int width() const;
  int height() const;
  cairo_surface_t* surface() const { return s_; }
  // The pixel at (x, y) as 0xAARRGGBB, not premultiplied; 0 outside.
  std::uint32_t pixel(int x, int y) const;

 private:
  cairo_surface_t* s_ = nullptr;
};

// Pictures a program draws itself, by name: its own artwork, added at start. A picture
// named here is drawn to fill the box it is shown in, as the built-in ones are.
class PictureBook {
 public:
  // Draws the picture in the box (0, 0, w, h) of `cr`.
  using Drawer = std::function<void(cairo_t* cr, double w, double h)>;

  // Adds (or replaces) the picture `name`.
  void add(std::string name, Drawer draw);
  bool has(std::string_view name) const;
  // The picture drawn at w x h (empty for an unknown name or a size out of range).
  Bitmap draw(std::string_view name, int w, int h) const;

 private:
  std::map<std::string, Drawer, std::less<>> drawers_;
};

// Names of the built-in pictures.
bool IsBuiltinPicture(std::string_view name);
// A built-in picture drawn at w x h (empty for an unknown name).
Bitmap BuiltinPicture(std::string_view name, int w, int h);
// Decodes a PNG, BMP or ICO file's bytes (ICO: its largest image).
Bitmap DecodePicture(std::string_view bytes);
Bitmap LoadPictureFile(const std::filesystem::path& file);

// Draws a control's picture into the box: a name in `book` (if given), else a built-in
// name, else a file. A file is stretched to fill the box or drawn at its own size from the
// top-left corner; named pictures always fill the box.
void DrawPicture(cairo_t* cr, const std::string& picture, double x, double y, double w, double h,
                 bool stretch, const PictureBook* book = nullptr);

}  // namespace plat::paint
