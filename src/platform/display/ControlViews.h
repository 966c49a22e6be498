#pragma once
// One widget per control, kept in line with the control's properties. Labels, buttons,
// option buttons, check boxes, frames, picture boxes, images, lines, progress bars and
// charts are drawn by the painter (cairo), exactly as on paper; text boxes, combo boxes,
// list boxes and scroll bars are FLTK's own editing widgets in the control's colours and
// font. Every operator action on a widget goes to the model through plat::input.
#include <memory>
#include <string>
#include <string_view>

#include "platform/forms/Forms.h"

class Fl_Widget;
class Fl_Group;

namespace plat::display {

class FormWindow;

class ControlView {
 public:
  ControlView(FormWindow& w, Control& c) : window(w), control(c) {}
  virtual ~ControlView() = default;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  FormWindow& window;
  Control& control;

  virtual Fl_Widget* widget() const = 0;
  // The group that holds the controls of a frame or picture box.
  virtual Fl_Group* group() const { return nullptr; }
  // Brings the widget in line with every property of the control.
  virtual void sync();

  // Whether a change of `p` needs another kind of widget for `c`.
  static bool Structural(const Control& c, Prop p);

 protected:
  // Position, visibility, enabled state and tool tip; repaints the old and new area.
  void syncCommon();
};

// The view of a control (nullptr for a timer, which has no widget).
std::unique_ptr<ControlView> MakeView(FormWindow& window, Control& control);

// A multi-line box's text as its editor holds it: each CR LF becomes a LF; everything else
// (a lone LF, a lone CR) stays as it is.
std::string EditorText(std::string_view model);
// The editor's text for the model: each LF becomes CR LF. For a text whose line ends are
// all CR LF, ModelText(EditorText(t)) == t.
std::string ModelText(std::string_view editor);

// How far right of its left edge a single-line box's text begins, for `room` pixels left
// over beside the text (none when the text fills the box: it scrolls).
int AlignOffset(Alignment a, int room);

// A caption for FLTK's label drawing: '@' starts a symbol there, so it is doubled; CR LF and a
// lone CR become the line break FLTK knows.
std::string FltkText(std::string_view s);

}  // namespace plat::display
