#pragma once
// Text with cairo as the controls show it: a form's font, a colour, left/centre/right
// alignment, word wrap within the width, and the access key ("&x") underlined.
#include <cairo.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/Types.h"

namespace plat::paint {

// Valid UTF-8 for cairo: every malformed byte becomes U+FFFD (cairo refuses bad text).
std::string ValidUtf8(std::string_view s);

// Selects the font (family mapped, size in pixels) on the context.
void SelectFont(cairo_t* cr, const Font& font);
// Sets the source colour (&HBBGGRR, system colours resolved).
void SetColor(cairo_t* cr, Color c);

struct TextStyle {
  Font font;
  Color color = colors::kBlack;
  Alignment align = Alignment::Left;
  bool wrap = true;         // break lines at blanks to fit the width
  bool centerV = false;     // centre the block vertically (else from the top)
  bool accessKeys = false;  // "&x" shows x underlined, "&&" a single "&"
  int insetX = 2;           // blank space left and right of the text
};

// The lines the text breaks into at this width (line breaks kept, blanks between words).
std::vector<std::string> WrapLines(cairo_t* cr, std::string_view text, double width, bool wrap);

// Draws `text` in the box (x, y, w, h), clipped to it.
void DrawText(cairo_t* cr, std::string_view text, double x, double y, double w, double h,
              const TextStyle& style);

}  // namespace plat::paint
