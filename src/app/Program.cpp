#include "app/Program.h"

namespace vs {

Program::Program(plat::EventLoop::ClockKind clock) : rt(clock) {}

Program::~Program() = default;

}  // namespace vs
