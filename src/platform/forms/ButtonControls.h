#pragma once
// Command buttons, option buttons and check boxes.
#include <string>

#include "platform/forms/Control.h"

namespace plat {

enum class ButtonStyle { Standard, Graphical };

namespace detail {
struct CommandButtonState {
  std::string caption;
  bool isDefault = false;
  bool isCancel = false;
  ButtonStyle style = ButtonStyle::Standard;
  std::string picture;
};

struct OptionButtonState {
  std::string caption;
  bool value = false;
  ButtonStyle style = ButtonStyle::Standard;
};

struct CheckBoxState {
  std::string caption;
  int value = 0;
  ButtonStyle style = ButtonStyle::Standard;
};
}  // namespace detail

class CommandButton : public WithState<Control, detail::CommandButtonState> {
 public:
  CommandButton(Form& form, std::string name, int index = -1);
  const std::string& Caption() const { return s_.caption; }  // "&" marks the access key
  void setCaption(const std::string& v);
  // Enter presses the default button, Esc the cancel button; one of each per form
  // (setting one clears it on the others).
  bool Default() const { return s_.isDefault; }
  void setDefault(bool v);
  bool Cancel() const { return s_.isCancel; }
  void setCancel(bool v);
  ButtonStyle Style() const { return s_.style; }  // graphical: BackColor and Picture show
  void setStyle(ButtonStyle v);
  const std::string& Picture() const { return s_.picture; }
  void setPicture(const std::string& v);
  bool takesFocus() const override { return true; }
};

// Option buttons form one group per container: setting one clears the others.
class OptionButton : public WithState<Control, detail::OptionButtonState> {
 public:
  OptionButton(Form& form, std::string name, int index = -1);
  const std::string& Caption() const { return s_.caption; }
  void setCaption(const std::string& v);
  bool Value() const { return s_.value; }
  // true: clears the others of the group and runs Click (also when disabled, and also when
  // it was already set); false: clears it, no handler.
  void setValue(bool v);
  ButtonStyle Style() const { return s_.style; }
  void setStyle(ButtonStyle v);
  bool takesFocus() const override { return true; }
};

class CheckBox : public WithState<Control, detail::CheckBoxState> {
 public:
  static constexpr int kUnchecked = 0, kChecked = 1, kGrayed = 2;
  CheckBox(Form& form, std::string name, int index = -1);
  const std::string& Caption() const { return s_.caption; }
  void setCaption(const std::string& v);
  int Value() const { return s_.value; }
  void setValue(int v);  // 0, 1 or 2 (else error 380); Click runs when the value changes
  ButtonStyle Style() const { return s_.style; }
  void setStyle(ButtonStyle v);
  bool takesFocus() const override { return true; }
};

}  // namespace plat
