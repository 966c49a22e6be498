#pragma once
// The keys that the model handles itself (plat::input::pressKey), told from FLTK's key code
// and modifier state: Enter, Esc, Tab, F1..F12, Ctrl+letter and Alt+letter or digit. Other
// keys (typing, arrows, editing) are the widgets' own and map to none.
#include "platform/forms/Types.h"

namespace plat::display {

KeyPress ModelKey(int flKey, int flState);
// What a locked box does with a key: its editor moves the cursor (with Shift: selects),
// copies and selects all (Use); a key that would change the text (typing, deleting, Enter)
// ends there unused (Swallow: FLTK would otherwise take an unused Enter as "focus on to
// the next widget"); other keys with Ctrl, Alt or Meta (pasting, cutting, undoing, access
// keys) go on to FLTK's shortcuts (Pass).
enum class LockedKey { Use, Swallow, Pass };
LockedKey LockedBoxKey(int flKey, int flState);
// The FLTK shortcut code of a menu item's shortcut (0 for none).
int FltkShortcut(const KeyPress& k);

}  // namespace plat::display
