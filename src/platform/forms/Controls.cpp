#include "platform/forms/Controls.h"

#include <algorithm>
#include <filesystem>

#include "platform/core/Error.h"
#include "platform/forms/Form.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

namespace {

constexpr int kErrInvalidCall = 5;
constexpr int kErrFileNotFound = 53;
constexpr int kErrNoSuchElement = 340;
constexpr int kErrInvalidArrayIndex = 381;

[[noreturn]] void InvalidValue() {
  throw RuntimeError(kErrInvalidProperty, "Invalid property value");
}

}  // namespace

void ThrowNoSuchElement(int i) {
  throw RuntimeError(kErrNoSuchElement,
                     "Control array element '" + std::to_string(i) + "' doesn't exist");
}

std::string LoadPicture(const std::string& path) {
  std::error_code ec;
  if (path.empty()) return path;
  if (!std::filesystem::is_regular_file(path, ec))
    throw RuntimeError(kErrFileNotFound, "File not found");
  return path;
}

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
  if (v < kUnchecked || v > kGrayed) InvalidValue();
  if (!SetIfChanged(s_.value, v)) return;
  changed(Prop::Value);
  raiseClick();
}
void CheckBox::setStyle(ButtonStyle v) {
  if (SetIfChanged(s_.style, v)) changed(Prop::Style);
}

// ---- ListControl

ListControl::ListControl(Form& form, ControlKind kind, std::string name, int index)
    : WithState(form, kind, std::move(name), index) {
  setBackColor(colors::kWindowBackground);
  setForeColor(colors::kWindowText);
}

std::string ListControl::List(int i) const {
  if (i < 0 || i >= ListCount()) return {};
  return s_.items[static_cast<std::size_t>(i)];
}

void ListControl::setList(int i, const std::string& text) {
  if (i < 0 || i >= ListCount())
    throw RuntimeError(kErrInvalidArrayIndex, "Invalid property array index");
  if (!SetIfChanged(s_.items[static_cast<std::size_t>(i)], text)) return;
  changed(Prop::List);
  if (i == s_.listIndex) selectionChanged();
}

void ListControl::AddItem(const std::string& text, int index) {
  if (index < -1 || index > ListCount())
    throw RuntimeError(kErrInvalidCall, "Invalid procedure call or argument");
  if (index == -1) index = ListCount();
  s_.items.insert(s_.items.begin() + index, text);
  changed(Prop::List);
  if (s_.listIndex >= index) {
    ++s_.listIndex;
    changed(Prop::ListIndex);
  }
}

void ListControl::RemoveItem(int index) {
  if (index < 0 || index >= ListCount())
    throw RuntimeError(kErrInvalidCall, "Invalid procedure call or argument");
  s_.items.erase(s_.items.begin() + index);
  changed(Prop::List);
  if (s_.listIndex == index) {
    s_.listIndex = -1;
    changed(Prop::ListIndex);
  } else if (s_.listIndex > index) {
    --s_.listIndex;
    changed(Prop::ListIndex);
  }
}

void ListControl::Clear() {
  s_.items.clear();
  changed(Prop::List);
  if (SetIfChanged(s_.listIndex, -1)) changed(Prop::ListIndex);
  selectionChanged();
}

void ListControl::setIndexQuietly(int i) {
  if (SetIfChanged(s_.listIndex, i)) changed(Prop::ListIndex);
}

void ListControl::setListIndex(int i) {
  if (i < -1 || i >= ListCount()) InvalidValue();
  if (SetIfChanged(s_.listIndex, i)) changed(Prop::ListIndex);
  selectionChanged();
  if (i >= 0) raiseClick();
}

ListBox::ListBox(Form& form, std::string name, int index)
    : ListControl(form, ControlKind::ListBox, std::move(name), index) {}

// ---- ComboBox

ComboBox::ComboBox(Form& form, std::string name, int index)
    : WithState(form, ControlKind::ComboBox, std::move(name), index) {}

void ComboBox::setStyle(ComboStyle v) {
  if (SetIfChanged(s_.style, v)) changed(Prop::Style);
}

void ComboBox::setText(const std::string& v) {
  if (SetIfChanged(s_.text, v)) changed(Prop::Text);
  const auto it = std::find(items().begin(), items().end(), v);
  setIndexQuietly(it == items().end() ? -1 : static_cast<int>(it - items().begin()));
}

void ComboBox::selectionChanged() {
  // The box shows the chosen item; with no choice a drop-down list shows nothing, while a
  // drop-down combo keeps what was typed unless the list was cleared.
  std::string text = s_.text;
  if (ListIndex() >= 0)
    text = List(ListIndex());
  else if (s_.style == ComboStyle::DropDownList || items().empty())
    text.clear();
  if (SetIfChanged(s_.text, text)) changed(Prop::Text);
}

// ---- Frame

Frame::Frame(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Frame, std::move(name), index) {}

void Frame::setCaption(const std::string& v) {
  if (SetIfChanged(s_.caption, v)) changed(Prop::Caption);
}

// ---- PictureBox, Image

PictureBox::PictureBox(Form& form, std::string name, int index)
    : WithState(form, ControlKind::PictureBox, std::move(name), index) {}

void PictureBox::setPicture(const std::string& v) {
  if (SetIfChanged(s_.picture, v)) changed(Prop::Picture);
}
void PictureBox::setBorderSingle(bool v) {
  if (SetIfChanged(s_.border, v)) changed(Prop::BorderStyle);
}

Image::Image(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Image, std::move(name), index) {}

void Image::setPicture(const std::string& v) {
  if (SetIfChanged(s_.picture, v)) changed(Prop::Picture);
}
void Image::setStretch(bool v) {
  if (SetIfChanged(s_.stretch, v)) changed(Prop::Picture);
}

// ---- Line

Line::Line(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Line, std::move(name), index) {
  setPoints(s_.x1, s_.y1, s_.x2, s_.y2);
}

void Line::setPoints(int x1, int y1, int x2, int y2) {
  s_.x1 = x1, s_.y1 = y1, s_.x2 = x2, s_.y2 = y2;
  Move(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) - std::min(x1, x2) + 1,
       std::max(y1, y2) - std::min(y1, y2) + 1);
  changed(Prop::Geometry);
}
void Line::setBorderColor(Color c) {
  if (SetIfChanged(s_.color, c)) changed(Prop::LineColor);
}
void Line::setBorderWidth(int w) {
  if (w < 1) InvalidValue();
  if (SetIfChanged(s_.width, w)) changed(Prop::LineColor);
}

// ---- VScrollBar

VScrollBar::VScrollBar(Form& form, std::string name, int index)
    : WithState(form, ControlKind::VScrollBar, std::move(name), index) {}

void VScrollBar::setValue(int v) {
  if (v < std::min(s_.min, s_.max) || v > std::max(s_.min, s_.max)) InvalidValue();
  if (!SetIfChanged(s_.value, v)) return;
  changed(Prop::Value);
  if (onChange) onChange();
}

void VScrollBar::setMin(int v) {
  if (v < -32768 || v > 32767) InvalidValue();
  if (SetIfChanged(s_.min, v)) changed(Prop::Range);
  clampAfterRangeChange();
}

void VScrollBar::setMax(int v) {
  if (v < -32768 || v > 32767) InvalidValue();
  if (SetIfChanged(s_.max, v)) changed(Prop::Range);
  clampAfterRangeChange();
}

void VScrollBar::clampAfterRangeChange() {
  setValue(std::clamp(s_.value, std::min(s_.min, s_.max), std::max(s_.min, s_.max)));
}

void VScrollBar::setSmallChange(int v) {
  if (v < 1) InvalidValue();
  if (SetIfChanged(s_.smallChange, v)) changed(Prop::Range);
}

// ---- Timer

Timer::Timer(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Timer, std::move(name), index) {
  setVisible(false);
}

Timer::~Timer() {
  if (id_ != 0) rt().loop().stopTimer(id_);
}

void Timer::setInterval(int ms) {
  if (ms < 0 || ms > 65535) InvalidValue();
  if (!SetIfChanged(s_.interval, ms)) return;
  changed(Prop::Interval);
  update(true);
}

void Timer::update(bool restart) {
  const bool want = form().IsLoaded() && Enabled() && s_.interval > 0 && !rt().app.endRequested();
  if (id_ != 0 && (!want || restart)) {
    rt().loop().stopTimer(id_);
    id_ = 0;
  }
  if (want && id_ == 0)
    id_ = rt().loop().startTimer(s_.interval, [this] {
      if (onTimer) onTimer();
    });
}

void Timer::loadStateChanged() { update(false); }
void Timer::enabledChanged() { update(false); }

// ---- ProgressBar

ProgressBar::ProgressBar(Form& form, std::string name, int index)
    : WithState(form, ControlKind::ProgressBar, std::move(name), index) {}

void ProgressBar::setMin(float v) {
  if (!(v < s_.max)) InvalidValue();
  if (SetIfChanged(s_.min, v)) changed(Prop::Range);
  if (s_.value < s_.min && SetIfChanged(s_.value, s_.min)) changed(Prop::Value);
}

void ProgressBar::setMax(float v) {
  if (!(v > s_.min)) InvalidValue();
  if (SetIfChanged(s_.max, v)) changed(Prop::Range);
  if (s_.value > s_.max && SetIfChanged(s_.value, s_.max)) changed(Prop::Value);
}

void ProgressBar::setValue(float v) {
  if (!(v >= s_.min && v <= s_.max)) InvalidValue();
  if (SetIfChanged(s_.value, v)) changed(Prop::Value);
}

// ---- Chart

namespace {
constexpr Color kPalette[] = {0xC00000, 0x0000C0, 0x008000, 0x8000C0, 0x0080FF, 0x808000};
}

Chart::Chart(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Chart, std::move(name), index) {
  setBackColor(colors::kWhite);
  setForeColor(colors::kBlack);
}

void Chart::setChartData(std::vector<std::vector<double>> rows) {
  s_.data = std::move(rows);
  changed(Prop::Chart);
}

std::string Chart::ColumnLabel(int column) const {
  if (column < 1 || column > static_cast<int>(s_.labels.size())) return {};
  return s_.labels[static_cast<std::size_t>(column - 1)];
}

void Chart::setColumnLabel(int column, const std::string& v) {
  if (column < 1 || column > 1000)
    throw RuntimeError(kErrInvalidArrayIndex, "Invalid property array index");
  if (s_.labels.size() < static_cast<std::size_t>(column))
    s_.labels.resize(static_cast<std::size_t>(column));
  if (SetIfChanged(s_.labels[static_cast<std::size_t>(column - 1)], v)) changed(Prop::Chart);
}

void Chart::setTitleText(const std::string& v) {
  if (SetIfChanged(s_.title, v)) changed(Prop::Chart);
}

const std::string& Chart::AxisTitle(ChartAxis a) const {
  return a == ChartAxis::X ? s_.xTitle : s_.yTitle;
}

void Chart::setAxisTitle(ChartAxis a, const std::string& v) {
  if (SetIfChanged(a == ChartAxis::X ? s_.xTitle : s_.yTitle, v)) changed(Prop::Chart);
}

void Chart::setShowLegend(bool v) {
  if (SetIfChanged(s_.legend, v)) changed(Prop::Chart);
}

Color Chart::SeriesColor(int column) const {
  if (column >= 1 && column <= static_cast<int>(s_.colors.size()) &&
      s_.colors[static_cast<std::size_t>(column - 1)] != 0xFFFFFFFFu)
    return s_.colors[static_cast<std::size_t>(column - 1)];
  const int n = static_cast<int>(std::size(kPalette));
  return kPalette[((column - 2) % n + n) % n];
}

void Chart::setSeriesColor(int column, Color c) {
  if (column < 1 || column > 1000)
    throw RuntimeError(kErrInvalidArrayIndex, "Invalid property array index");
  if (s_.colors.size() < static_cast<std::size_t>(column))
    s_.colors.resize(static_cast<std::size_t>(column), 0xFFFFFFFFu);
  if (SetIfChanged(s_.colors[static_cast<std::size_t>(column - 1)], c)) changed(Prop::Chart);
}

}  // namespace plat
