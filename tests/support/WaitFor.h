#pragma once
// For tests on pseudo-terminals, which pass bytes on a moment later in real time: runs the
// loop's pending work until cond() holds; false when it still does not after 5 s.
#include <unistd.h>

#include <chrono>
#include <functional>

#include "platform/core/EventLoop.h"

namespace plat::test {

inline bool WaitFor(EventLoop& loop, const std::function<bool()>& cond) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (loop.processPending(); !cond(); loop.processPending()) {
    if (std::chrono::steady_clock::now() > end) return false;
    ::usleep(1000);
  }
  return true;
}

}  // namespace plat::test
