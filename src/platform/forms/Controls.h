#pragma once
// The control kinds. Rules that code relies on:
//  - setting a list's ListIndex (to 0 or more), an option button's Value to true, or a check
//    box's Value to a new value runs the control's Click handler, as the operator's action
//    does; setting a scroll bar's Value runs Change when the value changes;
//  - setting a combo box's Text or a text box's Text from code runs no handler;
//  - out-of-range values of a list index, a scroll bar or a progress bar are refused with
//    RuntimeError 380 and leave the old value.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/EventLoop.h"
#include "platform/forms/Control.h"

namespace plat {

enum class ButtonStyle { Standard, Graphical };
enum class ComboStyle { DropDownCombo, DropDownList };

// The own properties of each kind, which follow the design like the common ones.
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

struct FrameState {
  std::string caption;
};

struct PictureBoxState {
  std::string picture;
  bool border = true;
};

struct ImageState {
  std::string picture;
  bool stretch = false;
};

struct LineState {
  int x1 = 0, y1 = 0, x2 = 100, y2 = 0;
  Color color = colors::kBlack;
  int width = 1;
};

struct VScrollBarState {
  int min = 0, max = 32767, value = 0, smallChange = 1;
};

struct TimerState {
  int interval = 0;
};

struct ProgressBarState {
  float min = 0, max = 100, value = 0;
};

struct ChartState {
  std::vector<std::vector<double>> data;
  std::vector<std::string> labels;
  std::vector<Color> colors;
  std::string title, xTitle, yTitle;
  bool legend = true;
};

struct ListState {
  std::vector<std::string> items;
  int listIndex = -1;
};

struct ComboState {
  ComboStyle style = ComboStyle::DropDownCombo;
  std::string text;
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

// What list boxes and combo boxes share: the items and the selected index.
class ListControl : public WithState<Control, detail::ListState> {
 public:
  int ListCount() const { return static_cast<int>(s_.items.size()); }
  const std::vector<std::string>& items() const { return s_.items; }
  // Item i; "" for an index outside the list.
  std::string List(int i) const;
  void setList(int i, const std::string& text);  // replaces item i (error 381 outside)
  // Inserts at `index` (-1: at the end; error 5 outside 0..ListCount).
  void AddItem(const std::string& text, int index = -1);
  void RemoveItem(int index);
  void Clear();
  int ListIndex() const { return s_.listIndex; }
  // -1 clears the choice; 0..ListCount-1 chooses and runs Click; anything else: error 380.
  void setListIndex(int i);
  bool takesFocus() const override { return true; }

 protected:
  ListControl(Form& form, ControlKind kind, std::string name, int index);
  virtual void selectionChanged() {}
  // Sets the index without running Click.
  void setIndexQuietly(int i);
};

class ListBox : public ListControl {
 public:
  ListBox(Form& form, std::string name, int index = -1);
};

class ComboBox : public WithState<ListControl, detail::ComboState> {
 public:
  ComboBox(Form& form, std::string name, int index = -1);
  ComboStyle Style() const { return s_.style; }
  void setStyle(ComboStyle v);
  // The text in the box: the chosen item, or what was typed (drop-down combo). Setting it
  // runs no handler; the index follows an item of exactly that text, else becomes -1.
  const std::string& Text() const { return s_.text; }
  void setText(const std::string& v);

  // The operator typed into the box (drop-down combo).
  std::function<void()> onChange;

 protected:
  void selectionChanged() override;
};

class Frame : public WithState<Control, detail::FrameState> {
 public:
  Frame(Form& form, std::string name, int index = -1);
  const std::string& Caption() const { return s_.caption; }
  void setCaption(const std::string& v);
};

// The picture of a picture box, image or graphical button: a file path, or the name of a
// built-in bitmap (no folder part) that the painter supplies. "" is none.
// LoadPicture checks that the file exists (error 53 "File not found") and returns it.
std::string LoadPicture(const std::string& path);

class PictureBox : public WithState<Control, detail::PictureBoxState> {
 public:
  PictureBox(Form& form, std::string name, int index = -1);
  const std::string& Picture() const { return s_.picture; }
  void setPicture(const std::string& v);
  bool BorderSingle() const { return s_.border; }
  void setBorderSingle(bool v);
  bool takesFocus() const override { return true; }
};

class Image : public WithState<Control, detail::ImageState> {
 public:
  Image(Form& form, std::string name, int index = -1);
  const std::string& Picture() const { return s_.picture; }
  void setPicture(const std::string& v);
  bool Stretch() const { return s_.stretch; }
  void setStretch(bool v);
};

// A straight line from (X1, Y1) to (X2, Y2) in the container's pixels, in the colour
// BorderColor; its Left/Top/Width/Height are the bounding box.
class Line : public WithState<Control, detail::LineState> {
 public:
  Line(Form& form, std::string name, int index = -1);
  int X1() const { return s_.x1; }
  int Y1() const { return s_.y1; }
  int X2() const { return s_.x2; }
  int Y2() const { return s_.y2; }
  void setPoints(int x1, int y1, int x2, int y2);
  Color BorderColor() const { return s_.color; }
  void setBorderColor(Color c);
  int BorderWidth() const { return s_.width; }
  void setBorderWidth(int w);
};

// A vertical scroll bar used as a spinner. Value lies between Min and Max (Min may be the
// larger); the top arrow moves towards Min.
class VScrollBar : public WithState<Control, detail::VScrollBarState> {
 public:
  VScrollBar(Form& form, std::string name, int index = -1);
  int Min() const { return s_.min; }
  int Max() const { return s_.max; }
  int Value() const { return s_.value; }
  void setMin(int v);  // Value is brought into the new range (Change runs if it moved)
  void setMax(int v);
  void setValue(int v);  // outside the range: error 380; Change runs when it changes
  int SmallChange() const { return s_.smallChange; }
  void setSmallChange(int v);
  bool takesFocus() const override { return true; }

  std::function<void()> onChange;

 private:
  void clampAfterRangeChange();
};

// Ticks every Interval ms while Enabled, Interval > 0 and its form is loaded. Turning it
// on or changing Interval starts a new period; switching on a running timer changes
// nothing. A late tick is not queued twice.
class Timer : public WithState<Control, detail::TimerState> {
 public:
  Timer(Form& form, std::string name, int index = -1);
  ~Timer() override;
  int Interval() const { return s_.interval; }
  void setInterval(int ms);  // negative: error 380
  bool running() const { return id_ != 0; }

  std::function<void()> onTimer;

 protected:
  void loadStateChanged() override;
  void enabledChanged() override;

 private:
  EventLoop::TimerId id_ = 0;
  void update(bool restart);
};

// Min, Max and Value are single precision. A Max not above Min, a Min not below Max and a
// Value outside Min..Max are refused (error 380) and leave the old values.
class ProgressBar : public WithState<Control, detail::ProgressBarState> {
 public:
  ProgressBar(Form& form, std::string name, int index = -1);
  float Min() const { return s_.min; }
  float Max() const { return s_.max; }
  float Value() const { return s_.value; }
  void setMin(float v);
  void setMax(float v);
  void setValue(float v);
};

enum class ChartAxis { X, Y };

// A chart of a numeric table. Columns are numbered from 1: row r's column c is
// ChartData()[r][c - 1]. Column 1 is the X value of the row; every further column is a
// series drawn against it, named by its column label (shown in the legend).
class Chart : public WithState<Control, detail::ChartState> {
 public:
  Chart(Form& form, std::string name, int index = -1);
  const std::vector<std::vector<double>>& ChartData() const { return s_.data; }
  void setChartData(std::vector<std::vector<double>> rows);  // the chart keeps its own copy
  std::string ColumnLabel(int column) const;
  void setColumnLabel(int column, const std::string& v);
  const std::string& TitleText() const { return s_.title; }
  void setTitleText(const std::string& v);
  const std::string& AxisTitle(ChartAxis a) const;
  void setAxisTitle(ChartAxis a, const std::string& v);
  bool ShowLegend() const { return s_.legend; }
  void setShowLegend(bool v);
  // Colour of series `column` (>= 1); a default palette unless set.
  Color SeriesColor(int column) const;
  void setSeriesColor(int column, Color c);
};

// Elements first..last of a control array, e.g. `ControlArray<Label> Label36{*this,
// "Label36", 0, 10};` and `Label36(3).setCaption("x")`. Each element is a control of its
// own, named "Label36" with its index.
template <class T>
class ControlArray {
 public:
  ControlArray(Form& form, const std::string& name, int first, int last) : first_(first) {
    for (int i = first; i <= last; ++i) items_.emplace_back(form, name, i);
  }
  T& operator()(int i) { return at(i); }
  const T& operator()(int i) const { return at(i); }
  T& operator[](int i) { return at(i); }
  int LBound() const { return first_; }
  int UBound() const { return first_ + static_cast<int>(items_.size()) - 1; }
  int size() const { return static_cast<int>(items_.size()); }
  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  T& at(int i) {
    CheckArrayIndex(i, first_, UBound());
    return items_[static_cast<std::size_t>(i - first_)];
  }
  const T& at(int i) const {
    CheckArrayIndex(i, first_, UBound());
    return items_[static_cast<std::size_t>(i - first_)];
  }
  static void CheckArrayIndex(int i, int first, int last);
  int first_;
  std::deque<T> items_;
};

// Throws RuntimeError 340 for an element that does not exist.
void ThrowNoSuchElement(int i);

template <class T>
void ControlArray<T>::CheckArrayIndex(int i, int first, int last) {
  if (i < first || i > last) ThrowNoSuchElement(i);
}

}  // namespace plat
