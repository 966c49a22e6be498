#include "platform/forms/Control.h"

#include <stdexcept>

#include "platform/core/Error.h"
#include "platform/forms/Form.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

const char* KindName(ControlKind k) {
  switch (k) {
    case ControlKind::Label:
      return "Label";
    case ControlKind::TextBox:
      return "TextBox";
    case ControlKind::CommandButton:
      return "CommandButton";
    case ControlKind::OptionButton:
      return "OptionButton";
    case ControlKind::CheckBox:
      return "CheckBox";
    case ControlKind::ComboBox:
      return "ComboBox";
    case ControlKind::ListBox:
      return "ListBox";
    case ControlKind::Frame:
      return "Frame";
    case ControlKind::PictureBox:
      return "PictureBox";
    case ControlKind::Image:
      return "Image";
    case ControlKind::Line:
      return "Line";
    case ControlKind::VScrollBar:
      return "VScrollBar";
    case ControlKind::Timer:
      return "Timer";
    case ControlKind::ProgressBar:
      return "ProgressBar";
    case ControlKind::Chart:
      return "Chart";
  }
  return "?";
}

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {
  form_.controls_.push_back(this);
}

Control::~Control() {
  auto& list = form_.controls_;
  for (auto it = list.begin(); it != list.end(); ++it)
    if (*it == this) {
      list.erase(it);
      break;
    }
  if (form_.focus_ == this) form_.focus_ = nullptr;
}

void ThrowInvalidValue() { throw RuntimeError(kErrInvalidProperty, "Invalid property value"); }

FormsRuntime& Control::rt() const { return form_.rt(); }

std::string Control::qualifiedName() const {
  std::string s = form_.name() + "." + name_;
  if (index_ >= 0) s += "(" + std::to_string(index_) + ")";
  return s;
}

void Control::setContainer(Control& frameOrPicture) {
  if (frameOrPicture.kind() != ControlKind::Frame &&
      frameOrPicture.kind() != ControlKind::PictureBox)
    throw std::invalid_argument(qualifiedName() + ": only a frame or a picture box can contain");
  if (&frameOrPicture.form() != &form_)
    throw std::invalid_argument(qualifiedName() + ": container on another form");
  if (c_.container == &frameOrPicture) return;
  c_.container = &frameOrPicture;
  changed(Prop::Container);
}

void Control::Move(int left, int top, int width, int height) {
  if (width < 0 || height < 0) ThrowInvalidValue();
  if (left == c_.left && top == c_.top && width == c_.width && height == c_.height) return;
  c_.left = left, c_.top = top, c_.width = width, c_.height = height;
  changed(Prop::Geometry);
}

void Control::setVisible(bool v) {
  if (SetIfChanged(c_.visible, v)) changed(Prop::Visible);
}

void Control::setEnabled(bool v) {
  if (!SetIfChanged(c_.enabled, v)) return;
  changed(Prop::Enabled);
  enabledChanged();
}

void Control::setBackColor(Color c) {
  if (SetIfChanged(c_.backColor, c)) changed(Prop::BackColor);
}

void Control::setForeColor(Color c) {
  if (SetIfChanged(c_.foreColor, c)) changed(Prop::ForeColor);
}

void Control::setFont(const Font& f) {
  if (SetIfChanged(c_.font, f)) changed(Prop::Font);
}

void Control::setFontName(const std::string& v) {
  Font f = c_.font;
  f.name = v;
  setFont(f);
}

void Control::setFontSize(double v) {
  if (!(v > 0 && v < 2048)) ThrowInvalidValue();
  Font f = c_.font;
  f.size = v;
  setFont(f);
}

void Control::setFontBold(bool v) {
  Font f = c_.font;
  f.bold = v;
  setFont(f);
}

void Control::setFontItalic(bool v) {
  Font f = c_.font;
  f.italic = v;
  setFont(f);
}

void Control::setToolTipText(const std::string& v) {
  if (SetIfChanged(c_.toolTip, v)) changed(Prop::ToolTipText);
}

bool Control::visibleInForm() const {
  for (const Control* c = this; c; c = c->container())
    if (!c->Visible()) return false;
  return true;
}

bool Control::usable() const {
  if (!form_.IsLoaded()) return false;
  for (const Control* c = this; c; c = c->container())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void Control::SetFocus() {
  if (!takesFocus() || !usable()) return;
  form_.setFocusTo(this);
}

bool Control::hasFocus() const { return form_.focus_ == this; }

void Control::raiseClick() {
  if (onClick) onClick();
}

void Control::changed(Prop p) {
  rt().notify([&](FormsObserver& o) { o.controlChanged(*this, p); });
}

void Control::saveDesign() { design_ = c_; }

void Control::restoreDesign() { c_ = design_; }

}  // namespace plat
