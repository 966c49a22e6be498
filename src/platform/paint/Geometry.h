#pragma once
// Where controls lie on their form: positions are relative to the container's client area
// (the form, a frame, or a picture box inside its border). The screen and the painter both
// place controls with these functions.
#include "platform/forms/Control.h"

namespace plat::paint {

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The inset of a container's client area from its outer top-left corner.
int ContainerInset(const Control& container);
// The control's rectangle in the form's client coordinates.
Rect FormRect(const Control& c);

}  // namespace plat::paint
