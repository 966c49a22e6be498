#pragma once
// The timer control.
#include <functional>

#include "platform/core/EventLoop.h"
#include "platform/forms/Control.h"

namespace plat {

namespace detail {
struct TimerState {
  int interval = 0;
};
}  // namespace detail

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

}  // namespace plat
