#include "platform/display/ControlViews.h"

#include <algorithm>
#include <string>

#include "platform/display/FormWindow.h"
#include "platform/display/ViewMakers.h"
#include "platform/paint/Geometry.h"

// FLTK after the model's headers: some of FLTK's pull in Xlib, whose macros (None,
// KeyPress, ...) would break them.
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>

namespace plat::display {

std::string FltkText(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\r') {
      // CR LF, or a lone CR, is one line break; FLTK would draw the CR as "^M".
      if (i + 1 < s.size() && s[i + 1] == '\n') continue;
      out += '\n';
      continue;
    }
    out += c;
    if (c == '@') out += '@';
  }
  return out;
}

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
    case ControlKind::Frame:
    case ControlKind::PictureBox:
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
      return MakePaintedView(window, c);
    case ControlKind::Line:
      return MakeLineView(window, static_cast<Line&>(c));
    case ControlKind::TextBox:
      return MakeTextView(window, static_cast<TextBox&>(c));
    case ControlKind::ComboBox:
      return MakeComboView(window, static_cast<ComboBox&>(c));
    case ControlKind::ListBox:
      return MakeListView(window, static_cast<ListBox&>(c));
    case ControlKind::VScrollBar:
      return MakeScrollBarView(window, static_cast<VScrollBar&>(c));
    case ControlKind::Timer:
      return nullptr;
  }
  return nullptr;
}

}  // namespace plat::display
