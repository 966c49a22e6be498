#include "platform/display/MessageWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>

#include <algorithm>
#include <cmath>

#include "platform/display/CairoDraw.h"
#include "platform/display/ControlViews.h"

namespace plat::display {

namespace {

constexpr int kIcon = 40, kPad = 16, kButtonW = 88, kButtonH = 28, kMaxText = 460;

class IconBox : public Fl_Box {
 public:
  IconBox(int x, int y, MsgBoxIcon icon) : Fl_Box(x, y, kIcon, kIcon), icon_(icon) {}
  void draw() override {
    cairo_t* cr = BeginCairo(x(), y(), w(), h());
    if (!cr) return;
    const double r = kIcon / 2.0 - 2, c = kIcon / 2.0;
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (icon_) {
      case MsgBoxIcon::Critical:
        cairo_arc(cr, c, c, r, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, c - 8, c - 8);
        cairo_line_to(cr, c + 8, c + 8);
        cairo_move_to(cr, c + 8, c - 8);
        cairo_line_to(cr, c - 8, c + 8);
        cairo_stroke(cr);
        break;
      case MsgBoxIcon::Exclamation:
        cairo_move_to(cr, c, 2);
        cairo_line_to(cr, kIcon - 2, kIcon - 4);
        cairo_line_to(cr, 2, kIcon - 4);
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 1, 0.8, 0);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, c, 13);
        cairo_line_to(cr, c, 25);
        cairo_move_to(cr, c, 31);
        cairo_line_to(cr, c, 31.5);
        cairo_stroke(cr);
        break;
      case MsgBoxIcon::Information:
        cairo_arc(cr, c, c, r, 0, 2 * M_PI);
        cairo_set_source_rgb(cr, 0.1, 0.35, 0.85);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, c, 18);
        cairo_line_to(cr, c, 30);
        cairo_move_to(cr, c, 11);
        cairo_line_to(cr, c, 11.5);
        cairo_stroke(cr);
        break;
      case MsgBoxIcon::None:
        break;
    }
    EndCairo(cr);
  }

 private:
  MsgBoxIcon icon_;
};

}  // namespace

MessageWindow::MessageWindow(MessageBox& box)
    : Fl_Double_Window(300, 150), box_(box), title_(box.request().title) {
  const MessageBoxRequest& r = box.request();
  text_ = FltkText(r.text);
  int tw = kMaxText, th = 0;
  MeasureText(text_.c_str(), tw, th);
  // FLTK keeps 3 pixels free on each side of a left-aligned label.
  tw = std::min(std::max(tw, 120), kMaxText) + 8;
  const bool icon = r.icon != MsgBoxIcon::None;
  const int textX = kPad + (icon ? kIcon + kPad : 0);
  const bool cancel = r.buttons == MsgBoxButtons::OKCancel;
  const int buttonsW = kButtonW * (cancel ? 2 : 1) + (cancel ? 8 : 0);
  const int W = std::max(textX + tw + kPad, buttonsW + 2 * kPad);
  const int bodyH = std::max(th, icon ? kIcon : 0);
  const int H = kPad + bodyH + kPad + kButtonH + kPad;
  size(W, H);
  if (icon) new IconBox(kPad, kPad, r.icon);
  auto* text = new Fl_Box(textX, kPad, W - textX - kPad, std::max(th, icon ? kIcon : 0));
  text->label(text_.c_str());
  text->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_WRAP);
  int x = (W - buttonsW) / 2;
  auto* ok = new Fl_Return_Button(x, H - kPad - kButtonH, kButtonW, kButtonH, "OK");
  ok->callback(OnOk, this);
  if (cancel) {
    auto* no = new Fl_Button(x + kButtonW + 8, H - kPad - kButtonH, kButtonW, kButtonH, "Cancel");
    no->callback(OnCancel, this);
    no->shortcut(FL_Escape);
  }
  end();
  label(title_.c_str());
  callback(OnClose, this);
  set_non_modal();
}

void MessageWindow::OnOk(Fl_Widget*, void* self) {
  static_cast<MessageWindow*>(self)->box_.answer(MsgBoxResult::OK);
}

void MessageWindow::OnCancel(Fl_Widget*, void* self) {
  static_cast<MessageWindow*>(self)->box_.answer(MsgBoxResult::Cancel);
}

void MessageWindow::OnClose(Fl_Widget*, void* self) {
  auto* w = static_cast<MessageWindow*>(self);
  w->box_.answer(w->box_.request().buttons == MsgBoxButtons::OKCancel ? MsgBoxResult::Cancel
                                                                      : MsgBoxResult::OK);
}

}  // namespace plat::display
