#include "platform/forms/ButtonControls.h"

#include "platform/forms/Form.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

// ---- CommandButton

CommandButton::CommandButton(Form& form, std::string name, int index)
    : WithState(form, ControlKind::CommandButton, std::move(name), index) {}

void CommandButton::setCaption(const std::string& v) {
  if (SetIfChanged(s_.caption, v)) changed(Prop::Caption);
}
void CommandButton::setDefault(bool v) {
  if (v)
    for (Control* c : form().controls())
      if (c != this && c->kind() == ControlKind::CommandButton)
        static_cast<CommandButton*>(c)->setDefault(false);
  if (SetIfChanged(s_.isDefault, v)) changed(Prop::Default);
}
void CommandButton::setCancel(bool v) {
  if (v)
    for (Control* c : form().controls())
      if (c != this && c->kind() == ControlKind::CommandButton)
        static_cast<CommandButton*>(c)->setCancel(false);
  if (SetIfChanged(s_.isCancel, v)) changed(Prop::Cancel);
}
void CommandButton::setStyle(ButtonStyle v) {
  if (SetIfChanged(s_.style, v)) changed(Prop::Style);
}
void CommandButton::setPicture(const std::string& v) {
  if (SetIfChanged(s_.picture, v)) changed(Prop::Picture);
}

// ---- OptionButton

OptionButton::OptionButton(Form& form, std::string name, int index)
    : WithState(form, ControlKind::OptionButton, std::move(name), index) {}

void OptionButton::setCaption(const std::string& v) {
  if (SetIfChanged(s_.caption, v)) changed(Prop::Caption);
}
void OptionButton::setValue(bool v) {
  if (!v) {
    if (SetIfChanged(s_.value, false)) changed(Prop::Value);
    return;
  }
  for (Control* c : form().controls()) {
    if (c == this || c->kind() != ControlKind::OptionButton || c->container() != container())
      continue;
    auto* other = static_cast<OptionButton*>(c);
    if (SetIfChanged(other->s_.value, false)) other->changed(Prop::Value);
  }
  if (SetIfChanged(s_.value, true)) changed(Prop::Value);
  raiseClick();
}
void OptionButton::setStyle(ButtonStyle v) {
  if (SetIfChanged(s_.style, v)) changed(Prop::Style);
}

// ---- CheckBox

CheckBox::CheckBox(Form& form, std::string name, int index)
    : WithState(form, ControlKind::CheckBox, std::move(name), index) {}

void CheckBox::setCaption(const std::string& v) {
  if (SetIfChanged(s_.caption, v)) changed(Prop::Caption);
}
void CheckBox::setValue(int v) {
  if (v < kUnchecked || v > kGrayed) ThrowInvalidValue();
  if (!SetIfChanged(s_.value, v)) return;
  changed(Prop::Value);
  raiseClick();
}
void CheckBox::setStyle(ButtonStyle v) {
  if (SetIfChanged(s_.style, v)) changed(Prop::Style);
}

}  // namespace plat
