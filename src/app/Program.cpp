#include "app/Program.h"

namespace vs {

Program::Program(plat::EventLoop::ClockKind clock) : rt(clock) {
  rt.app.title = "Vantoscope";
  shellForms.RiconosciMCTC = &riconosciMCTC;
}

Program::~Program() = default;

}  // namespace vs
