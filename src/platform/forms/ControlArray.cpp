#include "platform/forms/ControlArray.h"

#include "platform/core/Error.h"

namespace plat {

void ThrowNoSuchElement(int i) {
  throw RuntimeError(kErrNoSuchElement,
                     "Control array element '" + std::to_string(i) + "' doesn't exist");
}

}  // namespace plat
