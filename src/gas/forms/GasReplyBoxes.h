#pragma once
// The message boxes that the gas test form raises while it handles a reply. A box is modal
// and keeps the serial events and timers running, so one opened inside the reply handling
// would let the next reply be handled under it. These wait instead: each is shown after
// the handler that raised it has finished, one at a time, in the order they were raised.
#include <cstddef>
#include <deque>
#include <string>

#include "platform/forms/FormsRuntime.h"

namespace vs {

class GasReplyBoxes {
 public:
  explicit GasReplyBoxes(plat::FormsRuntime& forms) : forms_(forms) {}

  // An exclamation box with an OK button, shown once the current handler is done and every
  // box raised before it has been closed. A text that already waits its turn is not queued
  // again: replies that come while a box is open do not pile up copies of it.
  void Exclamation(std::string text);

  // Boxes raised and not yet closed (the one on screen included).
  std::size_t Waiting() const { return waiting_.size(); }

 private:
  void ShowAll();

  plat::FormsRuntime& forms_;
  std::deque<std::string> waiting_;
  bool scheduled_ = false;  // a run of the boxes is posted or on screen
  bool showing_ = false;    // the first waiting box is on screen
};

}  // namespace vs
