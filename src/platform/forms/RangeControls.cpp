#include "platform/forms/RangeControls.h"

#include <algorithm>

#include "platform/forms/SetIfChanged.h"

namespace plat {

// ---- VScrollBar

VScrollBar::VScrollBar(Form& form, std::string name, int index)
    : WithState(form, ControlKind::VScrollBar, std::move(name), index) {}

void VScrollBar::setValue(int v) {
  if (v < std::min(s_.min, s_.max) || v > std::max(s_.min, s_.max)) ThrowInvalidValue();
  if (!SetIfChanged(s_.value, v)) return;
  changed(Prop::Value);
  if (onChange) onChange();
}

void VScrollBar::setMin(int v) {
  if (v < -32768 || v > 32767) ThrowInvalidValue();
  if (SetIfChanged(s_.min, v)) changed(Prop::Range);
  clampAfterRangeChange();
}

void VScrollBar::setMax(int v) {
  if (v < -32768 || v > 32767) ThrowInvalidValue();
  if (SetIfChanged(s_.max, v)) changed(Prop::Range);
  clampAfterRangeChange();
}

void VScrollBar::clampAfterRangeChange() {
  setValue(std::clamp(s_.value, std::min(s_.min, s_.max), std::max(s_.min, s_.max)));
}

void VScrollBar::setSmallChange(int v) {
  if (v < 1) ThrowInvalidValue();
  if (SetIfChanged(s_.smallChange, v)) changed(Prop::Range);
}

// ---- ProgressBar

ProgressBar::ProgressBar(Form& form, std::string name, int index)
    : WithState(form, ControlKind::ProgressBar, std::move(name), index) {}

void ProgressBar::setMin(float v) {
  if (!(v < s_.max)) ThrowInvalidValue();
  if (SetIfChanged(s_.min, v)) changed(Prop::Range);
  if (s_.value < s_.min && SetIfChanged(s_.value, s_.min)) changed(Prop::Value);
}

void ProgressBar::setMax(float v) {
  if (!(v > s_.min)) ThrowInvalidValue();
  if (SetIfChanged(s_.max, v)) changed(Prop::Range);
  if (s_.value > s_.max && SetIfChanged(s_.value, s_.max)) changed(Prop::Value);
}

void ProgressBar::setValue(float v) {
  if (!(v >= s_.min && v <= s_.max)) ThrowInvalidValue();
  if (SetIfChanged(s_.value, v)) changed(Prop::Value);
}

}  // namespace plat
