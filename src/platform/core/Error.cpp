#include "platform/core/Error.h"

namespace plat {

void RunIgnoringErrors(std::initializer_list<std::function<void()>> steps) {
  for (const auto& step : steps) {
    try {
      step();
    } catch (const RuntimeError&) {
      // Skipped: the next step runs. Any other error (a stalled test loop, a fault in
      // the program) goes on to the event loop's error hook.
    }
  }
}

}  // namespace plat
