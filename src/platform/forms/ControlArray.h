#pragma once
// Control arrays: numbered controls of one name.
#include <deque>
#include <string>

namespace plat {

class Form;

// Elements first..last of a control array, e.g. `ControlArray<Label> Digit{*this,
// "Digit", 0, 10};` and `Digit(3).setCaption("x")`. Each element is a control of its
// own, named "Digit" with its index.
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
