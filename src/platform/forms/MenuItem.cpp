#include "platform/forms/MenuItem.h"

#include "platform/forms/Form.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

MenuItem::MenuItem(Form& form, std::string name, std::string caption)
    : form_(form), parent_(nullptr), name_(std::move(name)) {
  s_.caption = std::move(caption);
  form_.menus_.push_back(this);
}

MenuItem::MenuItem(MenuItem& parent, std::string name, std::string caption, KeyPress shortcut)
    : form_(parent.form_), parent_(&parent), name_(std::move(name)), shortcut_(shortcut) {
  s_.caption = std::move(caption);
  parent.items_.push_back(this);
}

MenuItem::~MenuItem() {
  auto& list = parent_ ? parent_->items_ : form_.menus_;
  for (auto it = list.begin(); it != list.end(); ++it)
    if (*it == this) {
      list.erase(it);
      break;
    }
}

void MenuItem::setCaption(const std::string& v) {
  if (SetIfChanged(s_.caption, v)) changed(Prop::Caption);
}

void MenuItem::setEnabled(bool v) {
  if (SetIfChanged(s_.enabled, v)) changed(Prop::Enabled);
}

void MenuItem::setVisible(bool v) {
  if (SetIfChanged(s_.visible, v)) changed(Prop::Visible);
}

void MenuItem::setChecked(bool v) {
  if (SetIfChanged(s_.checked, v)) changed(Prop::Checked);
}

bool MenuItem::usable() const {
  for (const MenuItem* m = this; m; m = m->parent_)
    if (!m->s_.enabled || !m->s_.visible) return false;
  return true;
}

void MenuItem::raiseClick() {
  if (onClick) onClick();
}

void MenuItem::changed(Prop p) {
  form_.rt().notify([&](FormsObserver& o) { o.menuChanged(*this, p); });
}

}  // namespace plat
