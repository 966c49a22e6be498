#include "platform/display/ViewMakers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/display/Core.h"
#include "platform/display/FormWindow.h"
#include "platform/display/Keys.h"
#include "platform/forms/UserInput.h"

// FLTK after the model's headers: some of FLTK's pull in Xlib, whose macros (None,
// KeyPress, ...) would break them.
#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Secret_Input.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>
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

namespace {

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

}  // namespace

std::unique_ptr<ControlView> MakeTextView(FormWindow& window, TextBox& box) {
  if (box.MultiLine()) return std::make_unique<MultiLineView>(window, box);
  return std::make_unique<TextView>(window, box);
}

}  // namespace plat::display
