#include "platform/forms/UserInput.h"

#include <algorithm>

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/MenuItem.h"

namespace plat::input {

namespace {

bool Reachable(const Form& f) { return f.rt().acceptsInput(f); }
bool Reachable(const Control& c) { return Reachable(c.form()) && c.usable(); }

std::string Utf8(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

std::string CaptionOf(const Control& c) {
  switch (c.kind()) {
    case ControlKind::CommandButton:
      return static_cast<const CommandButton&>(c).Caption();
    case ControlKind::OptionButton:
      return static_cast<const OptionButton&>(c).Caption();
    case ControlKind::CheckBox:
      return static_cast<const CheckBox&>(c).Caption();
    case ControlKind::Label:
      return static_cast<const Label&>(c).Caption();
    case ControlKind::Frame:
      return static_cast<const Frame&>(c).Caption();
    default:
      return {};
  }
}

// The next control after `from` (or the first) that takes the focus, in tab order.
Control* NextFocusable(const Form& f, const Control* from) {
  const auto& list = f.controls();
  const auto n = list.size();
  std::size_t start = 0;
  if (from)
    start = static_cast<std::size_t>(std::find(list.begin(), list.end(), from) - list.begin()) + 1;
  for (std::size_t k = 0; k < n; ++k) {
    Control* c = list[(start + k) % n];
    if (c->takesFocus() && c->usable()) return c;
  }
  return nullptr;
}

MenuItem* FindShortcut(const std::vector<MenuItem*>& items, const KeyPress& k) {
  for (MenuItem* m : items) {
    if (!m->Shortcut().none() && m->Shortcut() == k) return m;
    if (MenuItem* found = FindShortcut(m->items(), k)) return found;
  }
  return nullptr;
}

}  // namespace

bool click(Control& c) {
  if (!Reachable(c)) return false;
  switch (c.kind()) {
    case ControlKind::Timer:
    case ControlKind::Line:
      return false;
    default:
      break;
  }
  if (c.takesFocus()) c.SetFocus();
  switch (c.kind()) {
    case ControlKind::OptionButton:
      static_cast<OptionButton&>(c).setValue(true);
      break;
    case ControlKind::CheckBox: {
      auto& box = static_cast<CheckBox&>(c);
      box.setValue(box.Value() == CheckBox::kUnchecked ? CheckBox::kChecked : CheckBox::kUnchecked);
      break;
    }
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::VScrollBar:
      break;  // choosing and scrolling are actions of their own
    default:
      c.raiseClick();
      break;
  }
  return true;
}

bool editText(TextBox& box, const std::string& text) {
  if (!Reachable(box) || box.Locked()) return false;
  box.SetFocus();
  if (box.Text() == text) return true;
  box.setText(text);
  if (box.onChange) box.onChange();
  return true;
}

bool editText(ComboBox& box, const std::string& text) {
  if (!Reachable(box) || box.Style() != ComboStyle::DropDownCombo) return false;
  box.SetFocus();
  if (box.Text() == text) return true;
  box.setText(text);
  if (box.onChange) box.onChange();
  return true;
}

bool choose(ListControl& list, int index) {
  if (!Reachable(list) || index < 0 || index >= list.ListCount()) return false;
  list.SetFocus();
  list.setListIndex(index);
  return true;
}

bool scrollTo(VScrollBar& bar, int value) {
  if (!Reachable(bar)) return false;
  bar.SetFocus();
  bar.setValue(std::clamp(value, std::min(bar.Min(), bar.Max()), std::max(bar.Min(), bar.Max())));
  return true;
}

bool focus(Control& c) {
  if (!Reachable(c) || !c.takesFocus()) return false;
  c.SetFocus();
  return true;
}

bool pressKey(Form& f, const KeyPress& k) {
  if (!Reachable(f)) return false;
  const bool fkey = k.key >= Key::F1 && k.key <= Key::F12;
  if (fkey || k.ctrl) {
    KeyPress norm = k;
    if (norm.key == Key::Char && norm.ch >= 'a' && norm.ch <= 'z') norm.ch -= 'a' - 'A';
    if (MenuItem* m = FindShortcut(f.menus(), norm)) return menuClick(*m);
    return false;
  }
  Control* focused = f.ActiveControl();
  switch (k.key) {
    case Key::Enter: {
      if (focused && focused->kind() == ControlKind::CommandButton && focused->usable()) {
        focused->raiseClick();
        return true;
      }
      if (CommandButton* b = f.defaultButton(); b && b->usable()) {
        b->raiseClick();
        return true;
      }
      if (focused && focused->kind() == ControlKind::TextBox) {
        auto* box = static_cast<TextBox*>(focused);
        if (box->MultiLine()) return editText(*box, box->Text() + "\n");
      }
      return false;
    }
    case Key::Escape: {
      if (CommandButton* b = f.cancelButton(); b && b->usable()) {
        b->raiseClick();
        return true;
      }
      return false;
    }
    case Key::Tab: {
      if (Control* next = NextFocusable(f, focused)) return focus(*next);
      return false;
    }
    case Key::Char:
      break;
    default:
      return false;
  }
  if (k.alt) {
    const auto& list = f.controls();
    for (std::size_t i = 0; i < list.size(); ++i) {
      Control* c = list[i];
      if (!c->usable() || AccessKey(CaptionOf(*c)) != k.ch || k.ch == 0) continue;
      if (c->kind() == ControlKind::Label || c->kind() == ControlKind::Frame) {
        // A label's access key moves the focus to the control after it.
        if (Control* next = NextFocusable(f, c)) return focus(*next);
        return false;
      }
      return click(*c);
    }
    return false;
  }
  if (focused && focused->usable()) {
    if (focused->kind() == ControlKind::TextBox) {
      auto* box = static_cast<TextBox*>(focused);
      return editText(*box, box->Text() + Utf8(k.ch));
    }
    if (focused->kind() == ControlKind::ComboBox) {
      auto* box = static_cast<ComboBox*>(focused);
      return editText(*box, box->Text() + Utf8(k.ch));
    }
  }
  return false;
}

bool menuClick(MenuItem& m) {
  if (!Reachable(m.form()) || !m.usable()) return false;
  m.raiseClick();
  return true;
}

bool closeBox(Form& f) {
  if (!Reachable(f)) return false;
  f.Unload();
  return true;
}

bool activate(Form& f) {
  if (!Reachable(f)) return false;
  f.ZOrder();
  return true;
}

}  // namespace plat::input
