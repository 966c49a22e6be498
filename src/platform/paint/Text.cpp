#include "platform/paint/Text.h"

#include <cmath>

#include "platform/paint/Fonts.h"

namespace plat::paint {

std::string ValidUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t min = 0;
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3, min = 0x10000;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    bool ok = true;
    char32_t c = b & (0x3F >> extra);
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + static_cast<std::size_t>(k) >= s.size()) {
        ok = false;
        break;
      }
      const auto n = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((n & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (n & 0x3F);
    }
    if (ok && (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
    if (!ok) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    out.append(s.substr(i, static_cast<std::size_t>(extra) + 1));
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

void SelectFont(cairo_t* cr, const Font& font) {
  const std::string family = FontFamily(font.name);
  cairo_select_font_face(cr, family.c_str(),
                         font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, FontPixels(font.size));
}

void SetColor(cairo_t* cr, Color c) {
  const Color r = ResolveColor(c);
  cairo_set_source_rgb(cr, RedOf(r) / 255.0, GreenOf(r) / 255.0, BlueOf(r) / 255.0);
}

namespace {

double Advance(cairo_t* cr, const std::string& s) {
  if (s.empty()) return 0;
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  return e.x_advance;
}

// Splits at line breaks ("\r\n", "\n" or "\r").
std::vector<std::string> HardLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

}  // namespace

std::vector<std::string> WrapLines(cairo_t* cr, std::string_view text, double width, bool wrap) {
  std::vector<std::string> out;
  for (const std::string& hard : HardLines(text)) {
    if (!wrap || Advance(cr, hard) <= width) {
      out.push_back(hard);
      continue;
    }
    std::string line;
    std::size_t i = 0;
    while (i < hard.size()) {
      // The next word with the blanks before it.
      std::size_t j = i;
      while (j < hard.size() && hard[j] == ' ') ++j;
      while (j < hard.size() && hard[j] != ' ') ++j;
      const std::string word = hard.substr(i, j - i);
      if (line.empty()) {
        line = word;
      } else if (Advance(cr, line + word) <= width) {
        line += word;
      } else {
        out.push_back(line);
        const std::size_t first = word.find_first_not_of(' ');
        line = first == std::string::npos ? std::string() : word.substr(first);
      }
      i = j;
    }
    out.push_back(line);
  }
  return out;
}

void DrawText(cairo_t* cr, std::string_view rawText, double x, double y, double w, double h,
              const TextStyle& style) {
  std::string text = ValidUtf8(rawText);
  // The access key: its byte offset in the text as shown.
  std::size_t keyAt = std::string::npos;
  if (style.accessKeys) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '&') {
        if (i + 1 < text.size() && text[i + 1] == '&') {
          shown += '&';
          ++i;
          continue;
        }
        if (keyAt == std::string::npos && i + 1 < text.size()) keyAt = shown.size();
        continue;
      }
      shown += text[i];
    }
    text = shown;
  }

  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  SelectFont(cr, style.font);
  SetColor(cr, style.color);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  const double inner = std::max(0.0, w - 2.0 * style.insetX);
  const auto lines = WrapLines(cr, text, inner, style.wrap);
  const double lineH = std::ceil(fe.height);
  double top = y + 1;
  if (style.centerV) top = y + (h - lineH * static_cast<double>(lines.size())) / 2.0;
  std::size_t consumed = 0;  // bytes of `text` before the current line
  for (const std::string& line : lines) {
    const double lineW = Advance(cr, line);
    double lx = x + style.insetX;
    if (style.align == Alignment::Center) lx = x + (w - lineW) / 2.0;
    if (style.align == Alignment::Right) lx = x + w - style.insetX - lineW;
    const double baseline = std::round(top + fe.ascent);
    cairo_move_to(cr, std::round(lx), baseline);
    if (!line.empty()) cairo_show_text(cr, line.c_str());
    // Underline the access key when it falls on this line.
    const std::size_t at = text.find(line, consumed);
    if (keyAt != std::string::npos && at != std::string::npos && keyAt >= at &&
        keyAt < at + line.size()) {
      const std::size_t off = keyAt - at;
      std::size_t len = 1;
      while (off + len < line.size() &&
             (static_cast<unsigned char>(line[off + len]) & 0xC0) == 0x80)
        ++len;
      const double ux = std::round(lx) + Advance(cr, line.substr(0, off));
      const double uw = Advance(cr, line.substr(off, len));
      cairo_rectangle(cr, ux, baseline + 1, uw, 1);
      cairo_fill(cr);
    }
    if (at != std::string::npos) consumed = at + line.size();
    top += lineH;
  }
  cairo_restore(cr);
}

}  // namespace plat::paint
