#pragma once
// Cairo drawing onto the FLTK window being drawn: widgets that the painter draws (labels,
// buttons, frames, pictures, charts) use it from their draw(), so the screen shows exactly
// what the PNG and PDF pages show.
#include <cairo.h>

namespace plat::display {

// A context on the current window's drawable, clipped to FLTK's current clip within the
// box (x, y, w, h) and translated so that (0, 0) is the box's top-left corner. nullptr when
// nothing of the box is to be drawn. Pair with EndCairo.
cairo_t* BeginCairo(int x, int y, int w, int h);
void EndCairo(cairo_t* cr);

// Connects to the X server named by $DISPLAY (FLTK ends the program if it cannot).
void OpenDisplay();

// The size of `text` in FLTK's normal font, wrapped at `w` (in: the widest; out: the width).
void MeasureText(const char* text, int& w, int& h);

}  // namespace plat::display
