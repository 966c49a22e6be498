#pragma once
// How the real-clock event loop sleeps while the display is up: in FLTK's own wait, which
// handles window-system events and also watches the serial descriptors, with the timeout
// of the next due timer. Between events the program sleeps in the kernel.
#include <functional>
#include <set>
#include <vector>

#include "platform/core/EventLoop.h"

namespace plat::display {

class FltkWaiter : public Waiter {
 public:
  FltkWaiter() = default;
  ~FltkWaiter() override;
  FltkWaiter(const FltkWaiter&) = delete;
  FltkWaiter& operator=(const FltkWaiter&) = delete;

  std::vector<int> wait(const std::vector<int>& fds, int timeoutMs) override;
  std::vector<int> waitMicros(const std::vector<int>& fds, std::int64_t timeoutUs) override;

  // Runs before every wait (the display deletes the widgets it took off the screen).
  std::function<void()> beforeWait;

 private:
  static void OnReadable(int fd, void* self);
  std::set<int> watched_;
  std::vector<int> ready_;
};

}  // namespace plat::display
