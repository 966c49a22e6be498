#include "platform/forms/TextControls.h"

#include "platform/forms/SetIfChanged.h"

namespace plat {

// ---- Label

Label::Label(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Label, std::move(name), index) {}

void Label::setCaption(const std::string& v) {
  if (SetIfChanged(s_.caption, v)) changed(Prop::Caption);
}
void Label::setAlignment(Alignment v) {
  if (SetIfChanged(s_.alignment, v)) changed(Prop::Alignment);
}
void Label::setBorderSingle(bool v) {
  if (SetIfChanged(s_.border, v)) changed(Prop::BorderStyle);
}
void Label::setTransparent(bool v) {
  if (SetIfChanged(s_.transparent, v)) changed(Prop::BackStyle);
}

// ---- TextBox

TextBox::TextBox(Form& form, std::string name, int index)
    : WithState(form, ControlKind::TextBox, std::move(name), index) {
  setBackColor(colors::kWindowBackground);
  setForeColor(colors::kWindowText);
}

void TextBox::setText(const std::string& v) {
  if (SetIfChanged(s_.text, v)) changed(Prop::Text);
}
void TextBox::setAlignment(Alignment v) {
  if (SetIfChanged(s_.alignment, v)) changed(Prop::Alignment);
}
void TextBox::setMultiLine(bool v) {
  if (SetIfChanged(s_.multiLine, v)) changed(Prop::MultiLine);
}
void TextBox::setVerticalScrollBar(bool v) {
  if (SetIfChanged(s_.vScroll, v)) changed(Prop::MultiLine);
}
void TextBox::setPasswordChar(const std::string& v) {
  if (SetIfChanged(s_.passwordChar, v)) changed(Prop::PasswordChar);
}
void TextBox::setLocked(bool v) {
  if (SetIfChanged(s_.locked, v)) changed(Prop::Locked);
}

}  // namespace plat
