#include "platform/display/ViewMakers.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/forms/UserInput.h"

// FLTK after the model's headers: some of FLTK's pull in Xlib, whose macros (None,
// KeyPress, ...) would break them.
#include <FL/Fl.H>
#include <FL/Fl_Scrollbar.H>

namespace plat::display {

namespace {

class ScrollView : public ControlView {
 public:
  ScrollView(FormWindow& w, VScrollBar& b) : ControlView(w, b), bar_(b) {
    scroll_ = new Fl_Scrollbar(0, 0, 1, 1);
    scroll_->type(FL_VERTICAL);
    scroll_->step(1);
    scroll_->slider_size(0.15);
    scroll_->when(FL_WHEN_CHANGED);
    scroll_->callback(OnScroll, this);
  }
  Fl_Widget* widget() const override { return scroll_; }
  void sync() override {
    scroll_->bounds(bar_.Min(), bar_.Max());
    scroll_->linesize(std::max(1, bar_.SmallChange()));
    if (std::lround(scroll_->value()) != bar_.Value()) scroll_->value(bar_.Value());
    syncCommon();
  }

 private:
  static void OnScroll(Fl_Widget* w, void* v) {
    auto* view = static_cast<ScrollView*>(v);
    Fl_Widget_Tracker alive(w);
    input::scrollTo(view->bar_, static_cast<int>(std::lround(view->scroll_->value())));
    if (!alive.deleted()) view->sync();
  }
  VScrollBar& bar_;
  Fl_Scrollbar* scroll_;
};

}  // namespace

std::unique_ptr<ControlView> MakeScrollBarView(FormWindow& window, VScrollBar& bar) {
  return std::make_unique<ScrollView>(window, bar);
}

}  // namespace plat::display
