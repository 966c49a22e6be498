#pragma once
// For the tests on pseudo-terminals, which pass bytes on a moment later in real time: runs the
// loop's pending work until cond() holds.
#include <unistd.h>

#include <chrono>
#include <functional>

#include "platform/core/EventLoop.h"

namespace plat::test {

// False when cond() still does not hold after `limit`.
inline bool WaitFor(EventLoop& loop, const std::function<bool()>& cond,
                    std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    loop.processPending();
    if (cond()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    ::usleep(1000);
  }
}

}  // namespace plat::test
