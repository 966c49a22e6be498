#pragma once
// Scroll bars and progress bars: a value within a range.
#include <functional>

#include "platform/forms/Control.h"

namespace plat {

namespace detail {
struct VScrollBarState {
  int min = 0, max = 32767, value = 0, smallChange = 1;
};

struct ProgressBarState {
  float min = 0, max = 100, value = 0;
};
}  // namespace detail

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

}  // namespace plat
