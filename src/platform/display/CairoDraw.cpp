// The only file that sees Xlib: its macros (None, Status, ...) clash with names of the model.
#include "platform/display/CairoDraw.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xregion.h>
#include <X11/Xutil.h>
#include <cairo-xlib.h>

#include <algorithm>

namespace plat::display {

namespace {

// Adds to the path the parts of the box (x, y, w, h) that lie in FLTK's clip region, rectangle
// by rectangle: its bounding box may take in widgets that are not drawn again this time, and
// painting over them would wipe them out. Returns whether anything was added.
bool AddClip(cairo_t* cr, int x, int y, int w, int h) {
  const Fl_Region region = fl_clip_region();
  if (!region) {
    cairo_rectangle(cr, x, y, w, h);
    return true;
  }
  bool any = false;
  for (long i = 0; i < region->numRects; ++i) {
    const BOX& b = region->rects[i];
    const int x0 = std::max(x, static_cast<int>(b.x1)), y0 = std::max(y, static_cast<int>(b.y1));
    const int x1 = std::min(x + w, static_cast<int>(b.x2)),
              y1 = std::min(y + h, static_cast<int>(b.y2));
    if (x0 >= x1 || y0 >= y1) continue;
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    any = true;
  }
  return any;
}

}  // namespace

cairo_t* BeginCairo(int x, int y, int w, int h) {
  Fl_Window* win = Fl_Window::current();
  if (!win || !fl_window || w <= 0 || h <= 0) return nullptr;
  cairo_surface_t* s =
      cairo_xlib_surface_create(fl_display, fl_window, fl_visual->visual, win->w(), win->h());
  cairo_t* cr = cairo_create(s);
  cairo_surface_destroy(s);
  if (!AddClip(cr, x, y, w, h)) {
    cairo_destroy(cr);
    return nullptr;
  }
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  return cr;
}

void OpenDisplay() { fl_open_display(); }

void MeasureText(const char* text, int& w, int& h) {
  fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
  h = 0;
  fl_measure(text, w, h, 0);
}

void EndCairo(cairo_t* cr) {
  if (!cr) return;
  cairo_surface_flush(cairo_get_target(cr));
  cairo_destroy(cr);
}

}  // namespace plat::display
