#include "platform/display/ControlViews.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/display/CairoDraw.h"
#include "platform/display/Core.h"
#include "platform/display/FormWindow.h"
#include "platform/display/Keys.h"
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
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Secret_Input.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

namespace plat::display {

std::string EditorText(std::string_view model) {
  std::string out;
  out.reserve(model.size());
  for (std::size_t i = 0; i < model.size(); ++i)
    if (!(model[i] == '\r' && i + 1 < model.size() && model[i + 1] == '\n')) out += model[i];
  return out;
}

std::string ModelText(std::string_view editor) {
  std::string out;
  out.reserve(editor.size() + editor.size() / 8);
  for (char c : editor) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

int AlignOffset(Alignment a, int room) {
  if (room <= 0) return 0;
  switch (a) {
    case Alignment::Left:
      return 0;
    case Alignment::Center:
      return room / 2;
    case Alignment::Right:
      return room;
  }
  return 0;
}

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

// ---- Views.

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

// Pixels kept free after the text of a single-line box, room for the cursor: with less, the
// box scrolls the text.
constexpr int kCursorRoom = 4;

// A single-line box: FLTK's input (or its secret input) with the text aligned left, centred
// or right while it fits the box.
template <class Base>
class AlignedInput : public Base {
 public:
  AlignedInput() : Base(0, 0, 1, 1) {}
  void align(Alignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    this->redraw();
  }
  void draw() override {
    const Fl_Boxtype b = this->box();
    if (this->damage() & FL_DAMAGE_ALL) this->draw_box(b, this->color());
    drawn_ = offset();
    const int X = this->x() + Fl::box_dx(b), W = this->w() - Fl::box_dw(b);
    this->drawtext(X + drawn_, this->y() + Fl::box_dy(b), W - drawn_, this->h() - Fl::box_dh(b));
  }
  int handle(int e) override {
    // Enter belongs to the form (default button); unused, FLTK would move the focus on.
    if (e == FL_KEYBOARD && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter))
      return 1;
    const bool mouse =
        e == FL_PUSH || e == FL_DRAG || e == FL_RELEASE || e == FL_DND_DRAG || e == FL_DND_RELEASE;
    const int shift = mouse ? offset() : 0;
    int used = 0;
    if (shift == 0) {
      used = Base::handle(e);
    } else {
      // The input finds the character under the mouse as if the text began at its left
      // edge: it is told the mouse is that much further left.
      const int saved = Fl::e_x;
      Fl::e_x = std::max(this->x() + Fl::box_dx(this->box()), saved - shift);
      used = Base::handle(e);
      Fl::e_x = saved;
    }
    // Typing moves a centred or right-aligned text as a whole.
    if (offset() != drawn_) this->redraw();
    return used;
  }

 private:
  // How far right of the box's left edge the text begins.
  int offset() const {
    if (alignment_ == Alignment::Left) return 0;
    fl_font(this->textfont(), this->textsize());
    double width = 0;
    if (this->input_type() == FL_SECRET_INPUT)
      width = fl_width("\xe2\x80\xa2") *
              fl_utf_nb_char(reinterpret_cast<const unsigned char*>(this->value()), this->size());
    else
      width = fl_width(this->value(), this->size());
    const int room =
        this->w() - Fl::box_dw(this->box()) - static_cast<int>(std::ceil(width)) - kCursorRoom;
    return AlignOffset(alignment_, room);
  }
  Alignment alignment_ = Alignment::Left;
  int drawn_ = 0;
};

class TextView : public ControlView {
 public:
  TextView(FormWindow& w, TextBox& t) : ControlView(w, t), box_(t) {
    if (!t.PasswordChar().empty())
      input_ = Make<Fl_Secret_Input>();
    else
      input_ = Make<Fl_Input>();
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
    align_(box_.alignment());
    syncCommon();
  }

 private:
  template <class Base>
  Fl_Input* Make() {
    auto* in = new AlignedInput<Base>;
    align_ = [in](Alignment a) { in->align(a); };
    return in;
  }
  static void OnChange(Fl_Widget* w, void* v) {
    auto* view = static_cast<TextView*>(v);
    Fl_Widget_Tracker alive(w);
    const std::string text = view->input_->value();
    const bool taken = input::editText(view->box_, text);
    if (!alive.deleted() && !taken) view->sync();  // refused: the model's text comes back
  }
  TextBox& box_;
  std::function<void(Alignment)> align_;
  Fl_Input* input_;
};

// The buffer of an editor, made before the editor and destroyed after it (the editor
// detaches itself from its buffer when it goes).
struct EditorBuffer {
  Fl_Text_Buffer store;
};

// The editor of a multi-line box: FLTK's text editor, words wrapped at its width, without
// scroll bars of its own. A locked box moves the cursor, selects and copies, and takes no
// edit.
class TextEditor : private EditorBuffer, public Fl_Text_Editor {
 public:
  TextEditor() : Fl_Text_Editor(0, 0, 1, 1) {
    Fl_Text_Editor::buffer(&store);
    box(FL_FLAT_BOX);
    scrollbar_width(0);
    wrap_mode(WRAP_AT_BOUNDS, 0);
  }
  bool locked = false;
  // Runs after each drawing: the text may have scrolled.
  std::function<void()> drawn;
  Fl_Text_Buffer& text() { return store; }
  int topLine() const { return mTopLineNum; }
  int visibleLines() const { return mNVisibleLines; }
  int lines() const { return mNBufferLines; }
  void draw() override {
    Fl_Text_Editor::draw();
    if (drawn) drawn();
  }
  int handle(int e) override {
    if (locked) {
      switch (e) {
        case FL_KEYBOARD:
          switch (LockedBoxKey(Fl::event_key(), Fl::event_state())) {
            case LockedKey::Use:
              break;
            case LockedKey::Swallow:
              return 1;
            case LockedKey::Pass:
              return 0;
          }
          break;
        case FL_PUSH:
          if (Fl::event_button() == 2) return 1;  // pasting
          break;
        case FL_PASTE:
        case FL_DND_ENTER:
        case FL_DND_DRAG:
        case FL_DND_RELEASE:
          return 0;
        default:
          break;
      }
    }
    return Fl_Text_Editor::handle(e);
  }
};

// A multi-line box: the editor inside the box's border and, when the box has one, a
// vertical scroll bar beside it that is always there (greyed while the whole text shows).
class MultiLineBox : public Fl_Group {
 public:
  explicit MultiLineBox(bool bar) : Fl_Group(0, 0, 1, 1) {
    editor = new TextEditor;
    if (bar) {
      scroll = new Fl_Scrollbar(0, 0, 1, 1);
      scroll->type(FL_VERTICAL);
      scroll->linesize(3);
      scroll->clear_visible_focus();
      scroll->callback(OnScroll, this);
      editor->drawn = [this] { syncBar(); };
    }
    end();
    box(FL_DOWN_BOX);
  }
  TextEditor* editor;
  Fl_Scrollbar* scroll = nullptr;
  void resize(int X, int Y, int W, int H) override {
    Fl_Widget::resize(X, Y, W, H);
    const Fl_Boxtype b = box();
    const int x0 = X + Fl::box_dx(b), y0 = Y + Fl::box_dy(b);
    const int w0 = W - Fl::box_dw(b), h0 = std::max(1, H - Fl::box_dh(b));
    const int bar = scroll ? std::min(Fl::scrollbar_size(), w0 / 2) : 0;
    editor->resize(x0, y0, std::max(1, w0 - bar), h0);
    if (scroll) scroll->resize(x0 + w0 - bar, y0, std::max(1, bar), h0);
  }

 private:
  void syncBar() {
    const int lines = editor->lines(), visible = editor->visibleLines();
    scroll->value(editor->topLine(), visible, 1, lines + 2);
    if (lines >= visible - 1)
      scroll->activate();
    else
      scroll->deactivate();
  }
  static void OnScroll(Fl_Widget*, void* v) {
    auto* self = static_cast<MultiLineBox*>(v);
    self->editor->scroll(static_cast<int>(self->scroll->value()), 0);
  }
};

class MultiLineView : public ControlView {
 public:
  MultiLineView(FormWindow& w, TextBox& t)
      : ControlView(w, t), box_(t), group_(new MultiLineBox(t.VerticalScrollBar())) {
    group_->editor->when(FL_WHEN_CHANGED);
    group_->editor->callback(OnChange, this);
  }
  Fl_Widget* widget() const override { return group_; }
  void sync() override {
    Core& core = window.core();
    TextEditor& e = *group_->editor;
    group_->color(Core::color(box_.BackColor()));
    e.color(Core::color(box_.BackColor()));
    e.textcolor(Core::color(box_.ForeColor()));
    e.textfont(core.font(box_.font()));
    e.textsize(Core::fontSize(box_.font()));
    e.locked = box_.Locked();
    const std::string shown = EditorText(box_.Text());
    if (shown != current()) {
      const int cursor = e.insert_position();
      e.text().text(shown.c_str());
      e.insert_position(std::min(cursor, e.text().length()));
    }
    syncCommon();
  }

 private:
  std::string current() const {
    char* raw = group_->editor->text().text();
    std::string s = raw ? raw : "";
    std::free(raw);
    return s;
  }
  static void OnChange(Fl_Widget* w, void* v) {
    auto* view = static_cast<MultiLineView*>(v);
    Fl_Widget_Tracker alive(w);
    const bool taken = input::editText(view->box_, ModelText(view->current()));
    if (!alive.deleted() && !taken) view->sync();  // refused: the model's text comes back
  }
  TextBox& box_;
  MultiLineBox* group_;
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
      if (static_cast<TextBox&>(c).MultiLine())
        return std::make_unique<MultiLineView>(window, static_cast<TextBox&>(c));
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
