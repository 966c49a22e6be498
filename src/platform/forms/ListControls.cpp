#include "platform/forms/ListControls.h"

#include "platform/core/Error.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

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
  if (i < -1 || i >= ListCount()) ThrowInvalidValue();
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

}  // namespace plat
