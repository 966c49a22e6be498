#pragma once
// The operator's actions, as the display (and the test driver) deliver them to the model.
// Each returns false, changing nothing, when the operator could not have done it: the
// control or its form is hidden or disabled, the form is not loaded, a modal form or
// message box is in the way, or the program has ended.
#include <string>

#include "platform/forms/Types.h"

namespace plat {

class Control;
class Form;
class MenuItem;
class TextBox;
class ListControl;
class ComboBox;
class VScrollBar;

namespace input {

// A mouse click: the control takes the focus first (if it takes focus), then: a button
// runs Click; an option button is set (Click); a check box toggles 0 -> 1 -> 0, 2 -> 0
// (Click); a label, frame, picture box or image runs Click.
bool click(Control& c);
// The operator edited a text box (or the text of a drop-down combo) so that it now holds
// `text`: it takes the focus, and Change runs if the text differs. Locked boxes refuse.
bool editText(TextBox& box, const std::string& text);
bool editText(ComboBox& box, const std::string& text);
// The operator chose item `index` of a list or combo box: it takes the focus, the index
// is set and Click runs.
bool choose(ListControl& list, int index);
// The operator moved a scroll bar to `value` (brought into its range); Change runs if the
// value changed.
bool scrollTo(VScrollBar& bar, int value);
// Focus moved to `c` by the operator (mouse or Tab).
bool focus(Control& c);
// A key pressed on form `f`, in this order of handling: a menu shortcut clicks its item;
// Enter clicks the focused button or else the default button; Esc clicks the cancel
// button; Alt+letter acts on the control whose caption has that access key (button:
// click, option: set, check box: toggle); Tab moves the focus on; a character goes into
// the focused text box or drop-down combo. Returns whether anything handled it.
bool pressKey(Form& f, const KeyPress& k);
// The menu item was clicked (it and its menus enabled and visible).
bool menuClick(MenuItem& m);
// The window's close box: unloads the form (its unload step may cancel).
bool closeBox(Form& f);
// The operator brought a window to the front.
bool activate(Form& f);

}  // namespace input
}  // namespace plat
