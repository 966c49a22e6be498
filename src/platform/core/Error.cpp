#include "platform/core/Error.h"

#include <exception>

namespace plat {

void RunIgnoringErrors(std::initializer_list<std::function<void()>> steps) {
  for (const auto& step : steps) {
    try {
      step();
    } catch (const std::exception&) {
      // Skipped: the next step runs.
    }
  }
}

}  // namespace plat
