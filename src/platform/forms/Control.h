#pragma once
// The base of every control: a named member of one form, with the properties all kinds
// share (geometry in pixels, visibility, colours, font, tool tip) and the events Click,
// GotFocus and LostFocus. Properties are read with `Caption()` and written with
// `setCaption(...)`; every change that alters a value is reported to the observers.
#include <functional>
#include <string>

#include "platform/forms/Types.h"

namespace plat {

class Form;
class FormsRuntime;

enum class ControlKind {
  Label,
  TextBox,
  CommandButton,
  OptionButton,
  CheckBox,
  ComboBox,
  ListBox,
  Frame,
  PictureBox,
  Image,
  Line,
  VScrollBar,
  Timer,
  ProgressBar,
  Chart,
};
const char* KindName(ControlKind k);

// Throws RuntimeError 380 "Invalid property value": a property refused a value.
[[noreturn]] void ThrowInvalidValue();

class Control {
 public:
  // Registers the control with `form` (declaration order is the drawing order: later
  // controls lie above earlier ones, and the tab order). `index` >= 0 for an element of a
  // control array.
  Control(Form& form, ControlKind kind, std::string name, int index = -1);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind kind() const { return kind_; }
  Form& form() const { return form_; }
  FormsRuntime& rt() const;
  const std::string& name() const { return name_; }
  int index() const { return index_; }  // -1 unless part of a control array
  std::string qualifiedName() const;    // "Form1.Label1(3)"

  // The frame or picture box that holds the control; nullptr: the form itself. Positions
  // are relative to the container's client area.
  Control* container() const { return c_.container; }
  void setContainer(Control& frameOrPicture);

  int Left() const { return c_.left; }
  int Top() const { return c_.top; }
  int Width() const { return c_.width; }
  int Height() const { return c_.height; }
  void setLeft(int v) { Move(v, c_.top, c_.width, c_.height); }
  void setTop(int v) { Move(c_.left, v, c_.width, c_.height); }
  void setWidth(int v) { Move(c_.left, c_.top, v, c_.height); }
  void setHeight(int v) { Move(c_.left, c_.top, c_.width, v); }
  void Move(int left, int top, int width, int height);

  bool Visible() const { return c_.visible; }
  void setVisible(bool v);
  bool Enabled() const { return c_.enabled; }
  void setEnabled(bool v);

  Color BackColor() const { return c_.backColor; }
  void setBackColor(Color c);
  Color ForeColor() const { return c_.foreColor; }
  void setForeColor(Color c);

  const Font& font() const { return c_.font; }
  void setFont(const Font& f);
  const std::string& FontName() const { return c_.font.name; }
  double FontSize() const { return c_.font.size; }
  bool FontBold() const { return c_.font.bold; }
  bool FontItalic() const { return c_.font.italic; }
  void setFontName(const std::string& v);
  void setFontSize(double v);
  void setFontBold(bool v);
  void setFontItalic(bool v);

  const std::string& ToolTipText() const { return c_.toolTip; }
  void setToolTipText(const std::string& v);

  // Visible with every container (the form's own visibility aside).
  bool visibleInForm() const;
  // On a loaded form, visible and enabled with every container: the operator can use it.
  bool usable() const;

  // Focus: only kinds that take the focus (text box, buttons, lists, scroll bar, picture
  // box) and only when usable; otherwise SetFocus does nothing.
  virtual bool takesFocus() const { return false; }
  void SetFocus();
  bool hasFocus() const;

  // Events.
  std::function<void()> onClick;
  std::function<void()> onGotFocus;
  std::function<void()> onLostFocus;

  // Runs the Click handler as the operator's action would (no checks).
  void raiseClick();

 protected:
  // Reports a changed property to the observers.
  void changed(Prop p);
  // The design state: recorded at the first load, restored at every load and unload.
  virtual void saveDesign();
  virtual void restoreDesign();
  // Called when the form is loaded or unloaded, and after End (timers stop).
  virtual void loadStateChanged() {}
  virtual void enabledChanged() {}

 private:
  friend class Form;
  friend class FormsRuntime;
  struct Common {
    Control* container = nullptr;
    int left = 0, top = 0, width = 100, height = 25;
    bool visible = true;
    bool enabled = true;
    Color backColor = colors::kButtonFace;
    Color foreColor = colors::kButtonText;
    Font font;
    std::string toolTip;
  };
  Form& form_;
  ControlKind kind_;
  std::string name_;
  int index_;
  Common c_;
  Common design_;
};

// A kind of control with its own properties `State` (member s_), recorded with the design
// and restored with it like the common ones.
template <class Base, class State>
class WithState : public Base {
 public:
  using Base::Base;

 protected:
  void saveDesign() override {
    Base::saveDesign();
    design_ = s_;
  }
  void restoreDesign() override {
    Base::restoreDesign();
    s_ = design_;
  }
  State s_;

 private:
  State design_;
};

}  // namespace plat
