#include "platform/forms/Timer.h"

#include "platform/forms/Form.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

Timer::Timer(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Timer, std::move(name), index) {
  setVisible(false);
}

Timer::~Timer() {
  if (id_ != 0) rt().loop().stopTimer(id_);
}

void Timer::setInterval(int ms) {
  if (ms < 0 || ms > 65535) ThrowInvalidValue();
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

}  // namespace plat
