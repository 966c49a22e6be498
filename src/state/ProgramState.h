#pragma once
// The records floor of the program: the platform runtime and one state record per part.
// No forms: procedures below the forms take the records they touch; the Program
// (forms/Program.h) adds the form instances on top of this.
#include "gas/GasState.h"
#include "link/LinkState.h"
#include "platform/Runtime.h"
#include "rpm/RpmState.h"
#include "shell/ShellState.h"
#include "smoke/SmokeState.h"

namespace vs {

struct ProgramState {
  explicit ProgramState(plat::EventLoop::ClockKind clock) : rt(clock) {}
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

  plat::Runtime rt;
  ShellState shell;
  LinkState link;
  GasState gas;
  SmokeState smoke;
  RpmState rpm;
};

}  // namespace vs
