#include "platform/display/ViewMakers.h"

#include <algorithm>
#include <memory>
#include <type_traits>

#include "platform/display/CairoDraw.h"
#include "platform/display/Core.h"
#include "platform/display/FormWindow.h"
#include "platform/forms/UserInput.h"
#include "platform/paint/Geometry.h"
#include "platform/paint/Painter.h"

// FLTK after the model's headers: some of FLTK's pull in Xlib, whose macros (None,
// KeyPress, ...) would break them.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Window.H>

namespace plat::display {

namespace {

// A dotted frame inside a widget that has the keyboard focus.
void FocusFrame(cairo_t* cr, int w, int h) {
  const double dash[] = {1.0, 1.0};
  cairo_set_dash(cr, dash, 2, 0);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_rectangle(cr, 3.5, 3.5, w - 7, h - 7);
  cairo_stroke(cr);
}

// A control drawn by the painter that the operator can click.
class PaintedBox : public Fl_Box {
 public:
  PaintedBox(Control& c, const paint::PictureBook& pictures)
      : Fl_Box(0, 0, 1, 1), c_(c), pictures_(pictures) {
    box(FL_NO_BOX);
    clear_visible_focus();
  }
  void draw() override {
    if (cairo_t* cr = BeginCairo(x(), y(), w(), h())) {
      paint::PaintControl(cr, c_, w(), h(), false, &pictures_);
      EndCairo(cr);
    }
  }
  int handle(int e) override {
    switch (e) {
      case FL_PUSH:
        return 1;
      case FL_RELEASE:
        if (Fl::event_inside(this)) do_callback();
        return 1;
      default:
        return Fl_Box::handle(e);
    }
  }

 private:
  Control& c_;
  const paint::PictureBook& pictures_;
};

// A frame or picture box: drawn by the painter, holding the widgets of its controls.
class PaintedGroup : public Fl_Group {
 public:
  PaintedGroup(Control& c, const paint::PictureBook& pictures)
      : Fl_Group(0, 0, 1, 1), c_(c), pictures_(pictures) {
    end();
    box(FL_NO_BOX);
    clip_children(1);
  }
  // Its controls are placed one by one; moving the group does not drag them along.
  void resize(int X, int Y, int W, int H) override { Fl_Widget::resize(X, Y, W, H); }
  void draw() override {
    if (damage() & ~FL_DAMAGE_CHILD) {
      if (cairo_t* cr = BeginCairo(x(), y(), w(), h())) {
        paint::PaintControl(cr, c_, w(), h(), false, &pictures_);
        EndCairo(cr);
      }
    }
    draw_children();
  }
  int handle(int e) override {
    if (Fl_Group::handle(e)) return 1;
    if (e == FL_PUSH) return 1;
    if (e == FL_RELEASE) {
      if (Fl::event_inside(this)) do_callback();
      return 1;
    }
    return 0;
  }

 private:
  Control& c_;
  const paint::PictureBook& pictures_;
};

// Command buttons, option buttons and check boxes: FLTK's button behaviour (mouse, space
// bar), the painter's look.
class PaintedButton : public Fl_Button {
 public:
  PaintedButton(Control& c, const paint::PictureBook& pictures)
      : Fl_Button(0, 0, 1, 1), c_(c), pictures_(pictures) {
    box(FL_NO_BOX);
  }
  void draw() override {
    if (cairo_t* cr = BeginCairo(x(), y(), w(), h())) {
      paint::PaintControl(cr, c_, w(), h(), value() != 0, &pictures_);
      if (Fl::focus() == this && c_.kind() == ControlKind::CommandButton) FocusFrame(cr, w(), h());
      EndCairo(cr);
    }
  }

 private:
  Control& c_;
  const paint::PictureBook& pictures_;
};

// A line: its widget covers the line's bounding box; it draws in its container's
// coordinates.
class LineWidget : public Fl_Widget {
 public:
  explicit LineWidget(Line& l) : Fl_Widget(0, 0, 1, 1), l_(l) { clear_visible_focus(); }
  int originX = 0, originY = 0;  // the container's client origin in the window
  void draw() override {
    if (cairo_t* cr = BeginCairo(x(), y(), w(), h())) {
      cairo_translate(cr, originX - x(), originY - y());
      paint::PaintLine(cr, l_);
      EndCairo(cr);
    }
  }

 private:
  Line& l_;
};

// A control drawn by the painter whose widget reports clicks: labels, images, progress
// bars and charts (PaintedBox), frames and picture boxes (PaintedGroup), buttons, option
// buttons and check boxes (PaintedButton).
template <class W>
class ClickView : public ControlView {
 public:
  ClickView(FormWindow& w, Control& c) : ControlView(w, c), widget_(new W(c, w.core().pictures)) {
    widget_->callback(OnClick, this);
  }
  Fl_Widget* widget() const override { return widget_; }
  Fl_Group* group() const override {
    if constexpr (std::is_base_of_v<Fl_Group, W>)
      return widget_;
    else
      return nullptr;
  }

 private:
  static void OnClick(Fl_Widget*, void* v) { input::click(static_cast<ClickView*>(v)->control); }
  W* widget_;
};

class LineView : public ControlView {
 public:
  LineView(FormWindow& w, Line& l) : ControlView(w, l), line_(l), widget_(new LineWidget(l)) {}
  Fl_Widget* widget() const override { return widget_; }
  void sync() override {
    syncCommon();
    // The widget covers the bounding box of the points, whatever Left/Top say.
    paint::Rect origin{0, window.menuHeight(), 0, 0};
    if (const Control* k = line_.container()) {
      const paint::Rect r = paint::FormRect(*k);
      const int inset = paint::ContainerInset(*k);
      origin.x = r.x + inset;
      origin.y += r.y + inset;
    }
    const int pad = std::max(1, line_.BorderWidth());
    const int x0 = std::min(line_.X1(), line_.X2()) - pad,
              y0 = std::min(line_.Y1(), line_.Y2()) - pad;
    const int x1 = std::max(line_.X1(), line_.X2()) + pad,
              y1 = std::max(line_.Y1(), line_.Y2()) + pad;
    widget_->originX = origin.x;
    widget_->originY = origin.y;
    window.damage(FL_DAMAGE_ALL, widget_->x(), widget_->y(), widget_->w(), widget_->h());
    widget_->resize(origin.x + x0, origin.y + y0, x1 - x0 + 1, y1 - y0 + 1);
    window.damage(FL_DAMAGE_ALL, widget_->x(), widget_->y(), widget_->w(), widget_->h());
  }

 private:
  Line& line_;
  LineWidget* widget_;
};

}  // namespace

std::unique_ptr<ControlView> MakePaintedView(FormWindow& window, Control& c) {
  switch (c.kind()) {
    case ControlKind::Frame:
    case ControlKind::PictureBox:
      return std::make_unique<ClickView<PaintedGroup>>(window, c);
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
      return std::make_unique<ClickView<PaintedButton>>(window, c);
    default:
      return std::make_unique<ClickView<PaintedBox>>(window, c);
  }
}

std::unique_ptr<ControlView> MakeLineView(FormWindow& window, Line& line) {
  return std::make_unique<LineView>(window, line);
}

}  // namespace plat::display
