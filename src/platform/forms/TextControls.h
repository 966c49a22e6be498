#pragma once
// Labels and text boxes.
#include <functional>
#include <string>

#include "platform/forms/Control.h"

namespace plat {

namespace detail {
struct LabelState {
  std::string caption;
  Alignment alignment = Alignment::Left;
  bool border = false;
  bool transparent = false;
};

struct TextBoxState {
  std::string text;
  Alignment alignment = Alignment::Left;
  bool multiLine = false;
  bool vScroll = false;
  std::string passwordChar;
  bool locked = false;
};
}  // namespace detail

class Label : public WithState<Control, detail::LabelState> {
 public:
  Label(Form& form, std::string name, int index = -1);
  const std::string& Caption() const { return s_.caption; }
  void setCaption(const std::string& v);
  Alignment alignment() const { return s_.alignment; }
  void setAlignment(Alignment v);
  bool BorderSingle() const { return s_.border; }  // a single line around the label
  void setBorderSingle(bool v);
  bool Transparent() const { return s_.transparent; }  // no background drawn
  void setTransparent(bool v);
};

class TextBox : public WithState<Control, detail::TextBoxState> {
 public:
  TextBox(Form& form, std::string name, int index = -1);
  const std::string& Text() const { return s_.text; }
  void setText(const std::string& v);  // runs no handler
  Alignment alignment() const { return s_.alignment; }
  void setAlignment(Alignment v);
  bool MultiLine() const { return s_.multiLine; }
  void setMultiLine(bool v);
  bool VerticalScrollBar() const { return s_.vScroll; }
  void setVerticalScrollBar(bool v);
  const std::string& PasswordChar() const { return s_.passwordChar; }  // "" or one character
  void setPasswordChar(const std::string& v);
  bool Locked() const { return s_.locked; }  // the operator cannot edit
  void setLocked(bool v);
  bool takesFocus() const override { return true; }

  // The operator edited the text.
  std::function<void()> onChange;
};

}  // namespace plat
