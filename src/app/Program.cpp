#include "app/Program.h"

namespace vs {

Program::Program(plat::EventLoop::ClockKind clock) : rt(clock) {
  shellForms.RiconosciMCTC = &riconosciMCTC;
}

Program::~Program() = default;

}  // namespace vs
