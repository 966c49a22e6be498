#include "platform/display/Keys.h"

#include <FL/Enumerations.H>

namespace plat::display {

KeyPress ModelKey(int flKey, int flState) {
  const bool ctrl = (flState & FL_CTRL) != 0;
  const bool alt = (flState & FL_ALT) != 0;
  const bool shift = (flState & FL_SHIFT) != 0;
  KeyPress k;
  if (flKey == FL_Enter || flKey == FL_KP_Enter) {
    if (ctrl || alt) return {};
    k = KeyPress::Enter();
  } else if (flKey == FL_Escape) {
    k = KeyPress::Escape();
  } else if (flKey == FL_Tab) {
    if (ctrl || alt) return {};
    k = KeyPress::Tab();
  } else if (flKey > FL_F && flKey <= FL_F + 12) {
    if (ctrl || alt) return {};
    k = KeyPress::F(flKey - FL_F);
  } else if (flKey >= 'a' && flKey <= 'z' && ctrl != alt) {
    k = ctrl ? KeyPress::Ctrl(static_cast<char>(flKey)) : KeyPress::Alt(static_cast<char>(flKey));
  } else if (flKey >= '0' && flKey <= '9' && alt && !ctrl) {
    k = KeyPress::Alt(static_cast<char>(flKey));
  } else {
    return {};
  }
  k.shift = shift;
  return k;
}

LockedKey LockedBoxKey(int flKey, int flState) {
  switch (flKey) {
    case FL_Left:
    case FL_Right:
    case FL_Up:
    case FL_Down:
    case FL_Home:
    case FL_End:
    case FL_Page_Up:
    case FL_Page_Down:
      return LockedKey::Use;
    default:
      break;
  }
  const bool ctrl = (flState & FL_CTRL) != 0, shift = (flState & FL_SHIFT) != 0;
  if (ctrl && !shift && (flKey == 'c' || flKey == 'a' || flKey == FL_Insert))
    return LockedKey::Use;  // copy, select all
  if (flState & (FL_CTRL | FL_ALT | FL_META)) return LockedKey::Pass;
  return LockedKey::Swallow;
}

int FltkShortcut(const KeyPress& k) {
  if (k.key >= Key::F1 && k.key <= Key::F12)
    return FL_F + 1 + (static_cast<int>(k.key) - static_cast<int>(Key::F1));
  if (k.key != Key::Char || k.ch >= 0x80) return 0;
  int code = static_cast<int>(k.ch);
  if (code >= 'A' && code <= 'Z') code += 'a' - 'A';
  if (k.ctrl) code |= FL_CTRL;
  if (k.alt) code |= FL_ALT;
  if (k.shift) code |= FL_SHIFT;
  return code;
}

}  // namespace plat::display
