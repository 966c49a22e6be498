#include "platform/paint/Painter.h"

#include <cairo-pdf.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/forms/Controls.h"
#include "platform/paint/ChartPainter.h"
#include "platform/paint/Geometry.h"
#include "platform/paint/Picture.h"
#include "platform/paint/Text.h"

namespace plat::paint {

namespace {

constexpr Color kShadow = 0xA0A0A0, kDarkShadow = 0x696969, kLight = 0xE3E3E3,
                kHighlight = 0xFFFFFF, kGrayText = 0x6D6D6D, kSelection = 0xD77800,
                kTrough = 0xE8E8E8;

void Fill(cairo_t* cr, Color c, double x, double y, double w, double h) {
  SetColor(cr, c);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

// A one-pixel frame: top and left in one colour, bottom and right in another.
void Edge(cairo_t* cr, double x, double y, double w, double h, Color topLeft, Color bottomRight) {
  if (w < 2 || h < 2) return;
  Fill(cr, topLeft, x, y, w - 1, 1);
  Fill(cr, topLeft, x, y, 1, h - 1);
  Fill(cr, bottomRight, x, y + h - 1, w, 1);
  Fill(cr, bottomRight, x + w - 1, y, 1, h);
}

void Raised(cairo_t* cr, double w, double h) {
  Edge(cr, 0, 0, w, h, kHighlight, colors::kBlack);
  Edge(cr, 1, 1, w - 2, h - 2, kLight, kDarkShadow);
}

void Sunken(cairo_t* cr, double w, double h) {
  Edge(cr, 0, 0, w, h, kShadow, kHighlight);
  Edge(cr, 1, 1, w - 2, h - 2, kDarkShadow, kLight);
}

Color TextColor(const Control& c) { return c.Enabled() ? c.ForeColor() : kGrayText; }

TextStyle Style(const Control& c, Alignment a, bool wrap, bool centerV, bool keys) {
  return TextStyle{c.font(), TextColor(c), a, wrap, centerV, keys};
}

double LineHeight(cairo_t* cr, const Font& f) {
  cairo_save(cr);
  SelectFont(cr, f);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_restore(cr);
  return std::ceil(fe.height);
}

void Triangle(cairo_t* cr, double cx, double cy, double size, bool down, Color color) {
  SetColor(cr, color);
  const double d = down ? 1 : -1;
  cairo_move_to(cr, cx - size, cy - d * size / 2);
  cairo_line_to(cr, cx + size, cy - d * size / 2);
  cairo_line_to(cr, cx, cy + d * size / 2);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void PaintButtonFace(cairo_t* cr, const Control& c, const std::string& caption,
                     const std::string& picture, bool graphical, bool pressed, double w, double h,
                     const PictureBook* pictures) {
  Fill(cr, graphical ? c.BackColor() : colors::kButtonFace, 0, 0, w, h);
  if (pressed)
    Sunken(cr, w, h);
  else
    Raised(cr, w, h);
  double textTop = 0, textH = h;
  if (graphical && !picture.empty()) {
    const double lineH = LineHeight(cr, c.font());
    const double picH = caption.empty() ? h - 8 : std::max(0.0, h - lineH - 10);
    const double side = std::min(w - 8, picH);
    DrawPicture(cr, picture, (w - side) / 2, 4, side, side, true, pictures);
    textTop = 4 + side;
    textH = h - textTop - 2;
  }
  DrawText(cr, caption, 2, textTop, w - 4, textH, Style(c, Alignment::Center, true, true, true));
}

void PaintMark(cairo_t* cr, const Control& c, bool round, int value, double h) {
  const double top = std::floor((h - 13) / 2);
  if (round) {
    cairo_arc(cr, 8.5, top + 6.5, 6, 0, 2 * M_PI);
    SetColor(cr, colors::kWhite);
    cairo_fill_preserve(cr);
    SetColor(cr, kDarkShadow);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (value) {
      cairo_arc(cr, 8.5, top + 6.5, 2.5, 0, 2 * M_PI);
      SetColor(cr, TextColor(c));
      cairo_fill(cr);
    }
    return;
  }
  Fill(cr, colors::kWhite, 2, top, 13, 13);
  cairo_save(cr);
  cairo_translate(cr, 2, top);
  Sunken(cr, 13, 13);
  if (value) {
    SetColor(cr, value == CheckBox::kGrayed ? kShadow : TextColor(c));
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 3, 6.5);
    cairo_line_to(cr, 5.5, 9.5);
    cairo_line_to(cr, 10, 3.5);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

std::string Masked(const std::string& text, const std::string& mask) {
  if (mask.empty()) return text;
  std::string out;
  for (unsigned char ch : text)
    if ((ch & 0xC0) != 0x80) out += mask;
  return out;
}

void PaintScrollBar(cairo_t* cr, const VScrollBar& bar, double w, double h) {
  Fill(cr, kTrough, 0, 0, w, h);
  const double arrow = std::min(w, h / 2);
  for (double y : {0.0, h - arrow}) {
    cairo_save(cr);
    cairo_translate(cr, 0, y);
    Fill(cr, colors::kButtonFace, 0, 0, w, arrow);
    Raised(cr, w, arrow);
    cairo_restore(cr);
  }
  const Color ink = bar.Enabled() ? colors::kBlack : kGrayText;
  Triangle(cr, w / 2, arrow / 2, std::max(2.0, w / 5), false, ink);
  Triangle(cr, w / 2, h - arrow / 2, std::max(2.0, w / 5), true, ink);
  const double span = std::abs(static_cast<double>(bar.Max()) - bar.Min());
  const double pos = span > 0 ? std::abs(static_cast<double>(bar.Value()) - bar.Min()) / span : 0;
  const double thumb = std::min(std::max(8.0, w), std::max(0.0, h - 2 * arrow));
  const double y = arrow + pos * std::max(0.0, h - 2 * arrow - thumb);
  cairo_save(cr);
  cairo_translate(cr, 0, y);
  Fill(cr, colors::kButtonFace, 0, 0, w, thumb);
  Raised(cr, w, thumb);
  cairo_restore(cr);
}

bool Drawn(const Control& c, const PaintOptions& options) {
  if (!c.Visible() || c.kind() == ControlKind::Timer) return false;
  return !(options.skip && options.skip(c));
}

// Draws the controls whose container is `container`, in the container's client coordinates.
void PaintChildren(cairo_t* cr, const Form& form, const Control* container,
                   const PaintOptions& options, int depth) {
  if (depth > 16) return;
  for (const Control* c : form.controls()) {
    if (c->container() != container || !Drawn(*c, options)) continue;
    if (c->kind() == ControlKind::Line) {
      PaintLine(cr, static_cast<const Line&>(*c));
      continue;
    }
    cairo_save(cr);
    cairo_translate(cr, c->Left(), c->Top());
    cairo_rectangle(cr, 0, 0, c->Width(), c->Height());
    cairo_clip(cr);
    PaintControl(cr, *c, c->Width(), c->Height(), false, options.pictures);
    if (c->kind() == ControlKind::Frame || c->kind() == ControlKind::PictureBox) {
      const int inset = ContainerInset(*c);
      cairo_rectangle(cr, inset, inset, c->Width() - 2 * inset, c->Height() - 2 * inset);
      cairo_clip(cr);
      cairo_translate(cr, inset, inset);
      PaintChildren(cr, form, c, options, depth + 1);
    }
    cairo_restore(cr);
  }
}

void Check(cairo_status_t status, const std::filesystem::path& file) {
  if (status != CAIRO_STATUS_SUCCESS)
    throw DrawError("cannot write " + file.string() + ": " +
                             cairo_status_to_string(status));
}

}  // namespace

void PaintLine(cairo_t* cr, const Line& line) {
  if (line.BorderWidth() <= 0) return;
  cairo_save(cr);
  SetColor(cr, line.BorderColor());
  cairo_set_line_width(cr, line.BorderWidth());
  const double off = line.BorderWidth() % 2 ? 0.5 : 0.0;
  cairo_move_to(cr, line.X1() + off, line.Y1() + off);
  cairo_line_to(cr, line.X2() + off, line.Y2() + off);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void PaintControl(cairo_t* cr, const Control& c, double w, double h, bool pressed,
                  const PictureBook* pictures) {
  switch (c.kind()) {
    case ControlKind::Label: {
      const auto& l = static_cast<const Label&>(c);
      if (!l.Transparent()) Fill(cr, l.BackColor(), 0, 0, w, h);
      if (l.BorderSingle()) Edge(cr, 0, 0, w, h, colors::kBlack, colors::kBlack);
      DrawText(cr, l.Caption(), 0, l.BorderSingle() ? 1 : 0, w, h,
               Style(l, l.alignment(), true, false, true));
      break;
    }
    case ControlKind::TextBox: {
      const auto& t = static_cast<const TextBox&>(c);
      Fill(cr, t.BackColor(), 0, 0, w, h);
      Sunken(cr, w, h);
      TextStyle s = Style(t, t.alignment(), t.MultiLine(), !t.MultiLine(), false);
      s.insetX = 2;
      DrawText(cr, Masked(t.Text(), t.PasswordChar()), 2, 2, w - 4, h - 4, s);
      break;
    }
    case ControlKind::CommandButton: {
      const auto& b = static_cast<const CommandButton&>(c);
      PaintButtonFace(cr, b, b.Caption(), b.Picture(), b.Style() == ButtonStyle::Graphical, pressed,
                      w, h, pictures);
      if (b.Default()) Edge(cr, 0, 0, w, h, colors::kBlack, colors::kBlack);
      break;
    }
    case ControlKind::OptionButton:
    case ControlKind::CheckBox: {
      const bool option = c.kind() == ControlKind::OptionButton;
      const auto& caption = option ? static_cast<const OptionButton&>(c).Caption()
                                   : static_cast<const CheckBox&>(c).Caption();
      const int value = option ? static_cast<const OptionButton&>(c).Value()
                               : static_cast<const CheckBox&>(c).Value();
      const ButtonStyle style = option ? static_cast<const OptionButton&>(c).Style()
                                       : static_cast<const CheckBox&>(c).Style();
      if (style == ButtonStyle::Graphical) {
        PaintButtonFace(cr, c, caption, {}, true, pressed || value != 0, w, h, pictures);
        break;
      }
      Fill(cr, c.BackColor(), 0, 0, w, h);
      PaintMark(cr, c, option, value, h);
      DrawText(cr, caption, 18, 0, w - 18, h, Style(c, Alignment::Left, true, true, true));
      break;
    }
    case ControlKind::ComboBox: {
      const auto& b = static_cast<const ComboBox&>(c);
      Fill(cr, b.BackColor(), 0, 0, w, h);
      Sunken(cr, w, h);
      const double arrow = std::min(17.0, w / 2);
      cairo_save(cr);
      cairo_translate(cr, w - 2 - arrow, 2);
      Fill(cr, colors::kButtonFace, 0, 0, arrow, h - 4);
      Raised(cr, arrow, h - 4);
      Triangle(cr, arrow / 2, (h - 4) / 2, 3.5, true, b.Enabled() ? colors::kBlack : kGrayText);
      cairo_restore(cr);
      DrawText(cr, b.Text(), 2, 2, w - arrow - 6, h - 4,
               Style(b, Alignment::Left, false, true, false));
      break;
    }
    case ControlKind::ListBox: {
      const auto& l = static_cast<const ListBox&>(c);
      Fill(cr, l.BackColor(), 0, 0, w, h);
      const double lineH = LineHeight(cr, l.font()) + 1;
      double y = 2;
      for (int i = 0; i < l.ListCount() && y < h; ++i, y += lineH) {
        TextStyle s = Style(l, Alignment::Left, false, true, false);
        if (i == l.ListIndex()) {
          Fill(cr, kSelection, 2, y, w - 4, lineH);
          s.color = colors::kWhite;
        }
        DrawText(cr, l.List(i), 2, y, w - 4, lineH, s);
      }
      Sunken(cr, w, h);
      break;
    }
    case ControlKind::Frame: {
      const auto& f = static_cast<const Frame&>(c);
      Fill(cr, f.BackColor(), 0, 0, w, h);
      const double lineH = LineHeight(cr, f.font());
      const double top = std::floor(lineH / 2);
      Edge(cr, 0, top, w - 1, h - top - 1, kShadow, kShadow);
      Edge(cr, 1, top + 1, w - 1, h - top - 1, kHighlight, kHighlight);
      if (!f.Caption().empty()) {
        cairo_save(cr);
        SelectFont(cr, f.font());
        cairo_text_extents_t e;
        const std::string shown = ValidUtf8(StripAccessKeys(f.Caption()));
        cairo_text_extents(cr, shown.c_str(), &e);
        cairo_restore(cr);
        const double tw = std::min(w - 12, e.x_advance + 4);
        Fill(cr, f.BackColor(), 6, 0, tw, lineH);
        DrawText(cr, f.Caption(), 6, -1, tw, lineH + 2,
                 Style(f, Alignment::Left, false, false, true));
      }
      break;
    }
    case ControlKind::PictureBox: {
      const auto& p = static_cast<const PictureBox&>(c);
      Fill(cr, p.BackColor(), 0, 0, w, h);
      const int inset = ContainerInset(p);
      DrawPicture(cr, p.Picture(), inset, inset, w - 2 * inset, h - 2 * inset, false, pictures);
      if (p.BorderSingle()) Sunken(cr, w, h);
      break;
    }
    case ControlKind::Image: {
      const auto& i = static_cast<const Image&>(c);
      DrawPicture(cr, i.Picture(), 0, 0, w, h, i.Stretch(), pictures);
      break;
    }
    case ControlKind::Line:
      break;  // drawn in its container's coordinates (PaintForm)
    case ControlKind::VScrollBar:
      PaintScrollBar(cr, static_cast<const VScrollBar&>(c), w, h);
      break;
    case ControlKind::ProgressBar: {
      const auto& p = static_cast<const ProgressBar&>(c);
      Fill(cr, colors::kButtonFace, 0, 0, w, h);
      const double span = static_cast<double>(p.Max()) - p.Min();
      const double part = span > 0 ? std::clamp((p.Value() - p.Min()) / span, 0.0, 1.0) : 0;
      Fill(cr, 0x25B006, 2, 2, (w - 4) * part, h - 4);
      Sunken(cr, w, h);
      break;
    }
    case ControlKind::Chart:
      PaintChart(cr, static_cast<const Chart&>(c), w, h);
      break;
    case ControlKind::Timer:
      break;
  }
}

void PaintForm(cairo_t* cr, const Form& form, const PaintOptions& options) {
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, form.Width(), form.Height());
  cairo_clip(cr);
  Fill(cr, form.BackColor(), 0, 0, form.Width(), form.Height());
  PaintChildren(cr, form, nullptr, options, 0);
  cairo_restore(cr);
}

void WriteFormPng(const Form& form, const std::filesystem::path& file,
                  const PaintOptions& options) {
  Bitmap image(form.Width(), form.Height());
  if (image.empty()) throw DrawError("cannot draw " + form.name());
  cairo_t* cr = cairo_create(image.surface());
  PaintForm(cr, form, options);
  const cairo_status_t drawn = cairo_status(cr);
  cairo_destroy(cr);
  Check(drawn, file);
  Check(cairo_surface_write_to_png(image.surface(), file.c_str()), file);
}

void WriteFormPdf(const Form& form, const std::filesystem::path& file, int pages,
                  const PaintOptions& options) {
  if (pages < 1) throw std::invalid_argument("a PDF needs at least one page");
  cairo_surface_t* pdf = cairo_pdf_surface_create(file.c_str(), kPageWidth, kPageHeight);
  cairo_t* cr = cairo_create(pdf);
  // 96 pixels per inch on screen, 72 points per inch on paper; a larger form is shrunk.
  const double w = std::max(1, form.Width()), h = std::max(1, form.Height());
  const double scale =
      std::min({0.75, (kPageWidth - 2 * kPageMargin) / w, (kPageHeight - 2 * kPageMargin) / h});
  for (int page = 0; page < pages; ++page) {
    cairo_save(cr);
    cairo_translate(cr, (kPageWidth - w * scale) / 2, kPageMargin);
    cairo_scale(cr, scale, scale);
    PaintForm(cr, form, options);
    cairo_restore(cr);
    cairo_show_page(cr);
  }
  const cairo_status_t drawn = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(pdf);
  const cairo_status_t written = cairo_surface_status(pdf);
  cairo_surface_destroy(pdf);
  Check(drawn, file);
  Check(written, file);
}

}  // namespace plat::paint
