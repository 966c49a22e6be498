#include "app/Artwork.h"

#include <algorithm>
#include <cmath>

namespace vs {

namespace {

// A blue dial with a white scale and a yellow needle, centred on (cx, cy).
void DrawGauge(cairo_t* cr, double cx, double cy, double r) {
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 0.05, 0.3, 0.65);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, r * 0.78, M_PI * 0.8, M_PI * 2.2);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, r * 0.12);
  cairo_stroke(cr);
  cairo_move_to(cr, cx, cy);
  cairo_line_to(cr, cx + r * 0.55, cy - r * 0.45);
  cairo_set_source_rgb(cr, 1, 0.75, 0);
  cairo_set_line_width(cr, r * 0.1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_arc(cr, cx, cy, r * 0.12, 0, 2 * M_PI);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
}

// A green band with the gauge at its left and the program's name beside it.
void DrawBanner(cairo_t* cr, double w, double h) {
  cairo_pattern_t* band = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgb(band, 0, 0.04, 0.33, 0.06);
  cairo_pattern_add_color_stop_rgb(band, 1, 0.55, 0.8, 0.35);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_set_source(cr, band);
  cairo_fill(cr);
  cairo_pattern_destroy(band);
  DrawGauge(cr, h * 0.6, h * 0.5, h * 0.4);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, h * 0.45);
  cairo_move_to(cr, h * 1.25, h * 0.66);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_show_text(cr, "VANTOSCOPE");
}

// The gauge alone, square and centred in the box.
void DrawLogo(cairo_t* cr, double w, double h) {
  const double side = std::min(w, h);
  cairo_translate(cr, (w - side) / 2.0, (h - side) / 2.0);
  cairo_scale(cr, side / 100.0, side / 100.0);
  DrawGauge(cr, 50, 50, 46);
}

}  // namespace

void AddArtwork(plat::paint::PictureBook& book) {
  book.add("banner", DrawBanner);
  book.add("logo", DrawLogo);
}

}  // namespace vs
