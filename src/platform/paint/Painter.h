#pragma once
// A form drawn with cairo from its model: the client area in the form's colour, then every
// visible control in declaration order (a frame's or picture box's controls right after
// it, clipped to it), with the texts, colours, fonts and pictures that the screen shows.
// The same drawing makes PNG files (tests, previews) and PDF pages (printing).
//
//   plat::paint::WriteFormPng(form, "page.png");
//   plat::paint::WriteFormPdf(form, "page.pdf", 2);  // two identical pages
#include <cairo.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

#include "platform/forms/Control.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/paint/Picture.h"

namespace plat::paint {

struct PaintOptions {
  // Controls left out besides the hidden ones (nothing: every visible control is drawn).
  std::function<bool(const Control&)> skip;
  // The program's own named pictures (nullptr: only the built-in ones and files).
  const PictureBook* pictures = nullptr;
};

// Draws the form's client area at the context's origin, one unit per pixel.
void PaintForm(cairo_t* cr, const Form& form, const PaintOptions& options = {});
// Draws one control (without the controls it contains) in the box (0, 0, w, h). `pressed`
// shows a button held down by the mouse; `pictures` are the program's named pictures.
void PaintControl(cairo_t* cr, const Control& c, double w, double h, bool pressed = false,
                  const PictureBook* pictures = nullptr);
// Draws a line control in its container's client coordinates.
void PaintLine(cairo_t* cr, const Line& line);

// A4 portrait in points, and the margin kept free around a printed form.
inline constexpr double kPageWidth = 595.28, kPageHeight = 841.89, kPageMargin = 28.35;

// A form that could not be drawn or written to its file (cairo's reason in the text).
struct DrawError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Write the form to a PNG image of its client size, or to a PDF of `pages` A4 pages, each
// holding the form scaled to fit. Throw DrawError when the file cannot be written.
void WriteFormPng(const Form& form, const std::filesystem::path& file,
                  const PaintOptions& options = {});
void WriteFormPdf(const Form& form, const std::filesystem::path& file, int pages,
                  const PaintOptions& options = {});

}  // namespace plat::paint
