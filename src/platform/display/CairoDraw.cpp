// The only file that sees Xlib: its macros (None, Status, ...) clash with names of the model.
#include "platform/display/CairoDraw.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <cairo-xlib.h>

namespace plat::display {

cairo_t* BeginCairo(int x, int y, int w, int h) {
  Fl_Window* win = Fl_Window::current();
  if (!win || !fl_window || w <= 0 || h <= 0) return nullptr;
  int cx = 0, cy = 0, cw = 0, ch = 0;
  fl_clip_box(x, y, w, h, cx, cy, cw, ch);
  if (cw <= 0 || ch <= 0) return nullptr;
  cairo_surface_t* s =
      cairo_xlib_surface_create(fl_display, fl_window, fl_visual->visual, win->w(), win->h());
  cairo_t* cr = cairo_create(s);
  cairo_surface_destroy(s);
  cairo_rectangle(cr, cx, cy, cw, ch);
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
