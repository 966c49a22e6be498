#include "platform/display/ControlViews.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>
#include <type_traits>
#include <vector>

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
#include <FL/Fl_Choice.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Input_Choice.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Multiline_Input.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Secret_Input.H>
#include <FL/Fl_Window.H>

namespace plat::display {

std::string FltkText(std::string_view s) {
  std::string out;
  for (char c : s) {
    out += c;
    if (c == '@') out += '@';
  }
  return out;
}

namespace {

// ---- Widgets drawn by the painter.

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
  explicit PaintedBox(Control& c) : Fl_Box(0, 0, 1, 1), c_(c) {
    box(FL_NO_BOX);
    clear_visible_focus();
  }
  void draw() override {
    if (cairo_t* cr = BeginCairo(x(), y(), w(), h())) {
      paint::PaintControl(cr, c_, w(), h());
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
};

// A frame or picture box: drawn by the painter, holding the widgets of its controls.
class PaintedGroup : public Fl_Group {
 public:
  explicit PaintedGroup(Control& c) : Fl_Group(0, 0, 1, 1), c_(c) {
    end();
    box(FL_NO_BOX);
    clip_children(1);
  }
  // Its controls are placed one by one; moving the group does not drag them along.
  void resize(int X, int Y, int W, int H) override { Fl_Widget::resize(X, Y, W, H); }
  void draw() override {
    if (damage() & ~FL_DAMAGE_CHILD) {
      if (cairo_t* cr = BeginCairo(x(), y(), w(), h())) {
        paint::PaintControl(cr, c_, w(), h());
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
};

// Command buttons, option buttons and check boxes: FLTK's button behaviour (mouse, space
// bar), the painter's look.
class PaintedButton : public Fl_Button {
 public:
  explicit PaintedButton(Control& c) : Fl_Button(0, 0, 1, 1), c_(c) { box(FL_NO_BOX); }
  void draw() override {
    if (cairo_t* cr = BeginCairo(x(), y(), w(), h())) {
      paint::PaintControl(cr, c_, w(), h(), value() != 0);
      if (Fl::focus() == this && c_.kind() == ControlKind::CommandButton) FocusFrame(cr, w(), h());
      EndCairo(cr);
    }
  }

 private:
  Control& c_;
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

// ---- Views.

// A control drawn by the painter whose widget reports clicks: labels, images, progress
// bars and charts (PaintedBox), frames and picture boxes (PaintedGroup), buttons, option
// buttons and check boxes (PaintedButton).
template <class W>
class ClickView : public ControlView {
 public:
  ClickView(FormWindow& w, Control& c) : ControlView(w, c), widget_(new W(c)) {
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

class TextView : public ControlView {
 public:
  TextView(FormWindow& w, TextBox& t) : ControlView(w, t), box_(t) {
    if (t.MultiLine())
      input_ = new Fl_Multiline_Input(0, 0, 1, 1);
    else if (!t.PasswordChar().empty())
      input_ = new Fl_Secret_Input(0, 0, 1, 1);
    else
      input_ = new Fl_Input(0, 0, 1, 1);
    input_->when(FL_WHEN_CHANGED);
    input_->callback(OnChange, this);
  }
  Fl_Widget* widget() const override { return input_; }
  void sync() override {
    Core& core = window.core();
    input_->color(Core::color(box_.BackColor()));
    input_->textcolor(Core::color(box_.ForeColor()));
    input_->textfont(core.font(box_.font()));
    input_->textsize(Core::fontSize(box_.font()));
    input_->readonly(box_.Locked() ? 1 : 0);
    if (box_.Text() != input_->value()) input_->value(box_.Text().c_str());
    syncCommon();
  }

 private:
  static void OnChange(Fl_Widget* w, void* v) {
    auto* view = static_cast<TextView*>(v);
    Fl_Widget_Tracker alive(w);
    const std::string text = view->input_->value();
    const bool taken = input::editText(view->box_, text);
    if (!alive.deleted() && !taken) view->sync();  // refused: the model's text comes back
  }
  TextBox& box_;
  Fl_Input* input_;
};

// Menu items of a list, kept alive for FLTK.
struct ItemStore {
  std::vector<Fl_Menu_Item> items;
  std::deque<std::string> labels;
  void set(const std::vector<std::string>& list, Fl_Font font, int size, Fl_Color color) {
    items.clear();
    labels.clear();
    for (const auto& s : list) {
      std::string label;
      for (char c : FltkText(s)) {
        label += c;
        if (c == '&') label += '&';
      }
      labels.push_back(label.empty() ? std::string(" ") : label);
      items.push_back({labels.back().c_str(), 0, nullptr, nullptr, 0, FL_NORMAL_LABEL, font,
                       static_cast<Fl_Fontsize>(size), color});
    }
    items.push_back({nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0});
  }
};

class ComboView : public ControlView {
 public:
  ComboView(FormWindow& w, ComboBox& c) : ControlView(w, c), combo_(c) {
    if (c.Style() == ComboStyle::DropDownList) {
      choice_ = new Fl_Choice(0, 0, 1, 1);
      choice_->callback(OnChoice, this);
      choice_->when(FL_WHEN_CHANGED);
    } else {
      editable_ = new Fl_Input_Choice(0, 0, 1, 1);
      editable_->menubutton()->callback(OnMenu, this);
      editable_->input()->when(FL_WHEN_CHANGED);
      editable_->input()->callback(OnText, this);
    }
  }
  Fl_Widget* widget() const override {
    return choice_ ? static_cast<Fl_Widget*>(choice_) : editable_;
  }
  void sync() override {
    Core& core = window.core();
    const Fl_Font font = core.font(combo_.font());
    const int size = Core::fontSize(combo_.font());
    const Fl_Color fg = Core::color(combo_.ForeColor()), bg = Core::color(combo_.BackColor());
    if (combo_.items() != shown_ || font != font_ || size != size_ || fg != fg_) {
      shown_ = combo_.items(), font_ = font, size_ = size, fg_ = fg;
      // The old items stay alive until the menu has been given the new ones.
      auto fresh = std::make_unique<ItemStore>();
      fresh->set(shown_, font, size, fg);
      if (choice_) choice_->menu(fresh->items.data());
      if (editable_) editable_->menubutton()->menu(fresh->items.data());
      old_ = std::move(store_);
      store_ = std::move(fresh);
    }
    if (choice_) {
      choice_->textfont(font);
      choice_->textsize(size);
      choice_->textcolor(fg);
      choice_->color(bg);
      if (choice_->value() != combo_.ListIndex()) choice_->value(combo_.ListIndex());
    } else {
      editable_->textfont(font);
      editable_->textsize(size);
      editable_->textcolor(fg);
      editable_->input()->color(bg);
      if (combo_.Text() != editable_->value()) editable_->value(combo_.Text().c_str());
    }
    syncCommon();
  }

 private:
  static void OnChoice(Fl_Widget* w, void* v) {
    auto* view = static_cast<ComboView*>(v);
    Fl_Widget_Tracker alive(w);
    input::choose(view->combo_, view->choice_->value());
    if (!alive.deleted()) view->sync();
  }
  static void OnMenu(Fl_Widget* w, void* v) {
    auto* view = static_cast<ComboView*>(v);
    Fl_Widget_Tracker alive(w);
    input::choose(view->combo_, view->editable_->menubutton()->value());
    if (!alive.deleted()) view->sync();
  }
  static void OnText(Fl_Widget* w, void* v) {
    auto* view = static_cast<ComboView*>(v);
    Fl_Widget_Tracker alive(w);
    const bool taken = input::editText(view->combo_, view->editable_->input()->value());
    if (!alive.deleted() && !taken) view->sync();
  }
  ComboBox& combo_;
  Fl_Choice* choice_ = nullptr;
  Fl_Input_Choice* editable_ = nullptr;
  std::unique_ptr<ItemStore> store_, old_;
  std::vector<std::string> shown_;
  Fl_Font font_ = -1;
  int size_ = 0;
  Fl_Color fg_ = 0;
};

class ListView : public ControlView {
 public:
  ListView(FormWindow& w, ListBox& l) : ControlView(w, l), list_(l) {
    browser_ = new Fl_Hold_Browser(0, 0, 1, 1);
    browser_->format_char(0);
    browser_->when(FL_WHEN_CHANGED);
    browser_->callback(OnChoose, this);
  }
  Fl_Widget* widget() const override { return browser_; }
  void sync() override {
    Core& core = window.core();
    browser_->textfont(core.font(list_.font()));
    browser_->textsize(Core::fontSize(list_.font()));
    browser_->textcolor(Core::color(list_.ForeColor()));
    browser_->color(Core::color(list_.BackColor()));
    if (list_.items() != shown_) {
      shown_ = list_.items();
      browser_->clear();
      for (const auto& s : shown_) browser_->add(s.c_str());
    }
    if (browser_->value() != list_.ListIndex() + 1) browser_->value(list_.ListIndex() + 1);
    syncCommon();
  }

 private:
  static void OnChoose(Fl_Widget* w, void* v) {
    auto* view = static_cast<ListView*>(v);
    Fl_Widget_Tracker alive(w);
    if (view->browser_->value() > 0) input::choose(view->list_, view->browser_->value() - 1);
    if (!alive.deleted()) view->sync();
  }
  ListBox& list_;
  Fl_Hold_Browser* browser_;
  std::vector<std::string> shown_;
};

class ScrollView : public ControlView {
 public:
  ScrollView(FormWindow& w, VScrollBar& b) : ControlView(w, b), bar_(b) {
    scroll_ = new Fl_Scrollbar(0, 0, 1, 1);
    scroll_->type(FL_VERTICAL);
    scroll_->step(1);
    scroll_->slider_size(0.15);
    scroll_->when(FL_WHEN_CHANGED);
    scroll_->callback(OnScroll, this);
  }
  Fl_Widget* widget() const override { return scroll_; }
  void sync() override {
    scroll_->bounds(bar_.Min(), bar_.Max());
    scroll_->linesize(std::max(1, bar_.SmallChange()));
    if (std::lround(scroll_->value()) != bar_.Value()) scroll_->value(bar_.Value());
    syncCommon();
  }

 private:
  static void OnScroll(Fl_Widget* w, void* v) {
    auto* view = static_cast<ScrollView*>(v);
    Fl_Widget_Tracker alive(w);
    input::scrollTo(view->bar_, static_cast<int>(std::lround(view->scroll_->value())));
    if (!alive.deleted()) view->sync();
  }
  VScrollBar& bar_;
  Fl_Scrollbar* scroll_;
};

}  // namespace

void ControlView::sync() { syncCommon(); }

void ControlView::syncCommon() {
  Fl_Widget* w = widget();
  if (control.kind() != ControlKind::Line) {
    const paint::Rect r = paint::FormRect(control);
    const int y = r.y + window.menuHeight();
    if (w->x() != r.x || w->y() != y || w->w() != std::max(1, r.w) || w->h() != std::max(1, r.h)) {
      window.damage(FL_DAMAGE_ALL, w->x(), w->y(), w->w(), w->h());
      w->resize(r.x, y, std::max(1, r.w), std::max(1, r.h));
    }
  }
  if (control.Visible() && !w->visible())
    w->show();
  else if (!control.Visible() && w->visible())
    w->hide();
  if (control.Enabled())
    w->activate();
  else
    w->deactivate();
  const std::string& tip = control.ToolTipText();
  if (tip.empty())
    w->tooltip(nullptr);
  else if (!w->tooltip() || tip != w->tooltip())
    w->copy_tooltip(tip.c_str());
  // Painted controls may be transparent: the window repaints what lies beneath them too.
  window.damage(FL_DAMAGE_ALL, w->x(), w->y(), w->w(), w->h());
}

bool ControlView::Structural(const Control& c, Prop p) {
  switch (p) {
    case Prop::Container:
      return true;
    case Prop::MultiLine:
    case Prop::PasswordChar:
      return c.kind() == ControlKind::TextBox;
    case Prop::Style:
      return c.kind() == ControlKind::ComboBox;
    default:
      return false;
  }
}

std::unique_ptr<ControlView> MakeView(FormWindow& window, Control& c) {
  switch (c.kind()) {
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::ProgressBar:
    case ControlKind::Chart:
      return std::make_unique<ClickView<PaintedBox>>(window, c);
    case ControlKind::Frame:
    case ControlKind::PictureBox:
      return std::make_unique<ClickView<PaintedGroup>>(window, c);
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
      return std::make_unique<ClickView<PaintedButton>>(window, c);
    case ControlKind::Line:
      return std::make_unique<LineView>(window, static_cast<Line&>(c));
    case ControlKind::TextBox:
      return std::make_unique<TextView>(window, static_cast<TextBox&>(c));
    case ControlKind::ComboBox:
      return std::make_unique<ComboView>(window, static_cast<ComboBox&>(c));
    case ControlKind::ListBox:
      return std::make_unique<ListView>(window, static_cast<ListBox&>(c));
    case ControlKind::VScrollBar:
      return std::make_unique<ScrollView>(window, static_cast<VScrollBar&>(c));
    case ControlKind::Timer:
      return nullptr;
  }
  return nullptr;
}

}  // namespace plat::display
