#include "platform/paint/Geometry.h"

#include "platform/forms/Controls.h"

namespace plat::paint {

int ContainerInset(const Control& container) {
  if (container.kind() == ControlKind::PictureBox &&
      static_cast<const PictureBox&>(container).BorderSingle())
    return 2;
  return 0;
}

Rect FormRect(const Control& c) {
  Rect r{c.Left(), c.Top(), c.Width(), c.Height()};
  // A chain of containers is short; the guard stops a cycle that code could build.
  int guard = 0;
  for (const Control* k = c.container(); k && guard < 64; k = k->container(), ++guard) {
    const int inset = ContainerInset(*k);
    r.x += k->Left() + inset;
    r.y += k->Top() + inset;
  }
  return r;
}

}  // namespace plat::paint
