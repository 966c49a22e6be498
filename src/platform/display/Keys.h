#pragma once
// The keys that the model handles itself (plat::input::pressKey), told from FLTK's key code
// and modifier state: Enter, Esc, Tab, F1..F12, Ctrl+letter and Alt+letter or digit. Other
// keys (typing, arrows, editing) are the widgets' own and map to none.
#include "platform/forms/Types.h"

namespace plat::display {

KeyPress ModelKey(int flKey, int flState);
// Whether a key leaves a locked box's text as it is: moving the cursor (with Shift:
// selecting), copying, selecting all. Typing, deleting, Enter, pasting, cutting and undoing
// change it.
bool LockedBoxKey(int flKey, int flState);
// The FLTK shortcut code of a menu item's shortcut (0 for none).
int FltkShortcut(const KeyPress& k);

}  // namespace plat::display
