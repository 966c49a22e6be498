#pragma once
// All program-wide state of the system: the platform runtime, the state records of each
// subsystem and the form instances. main() makes one; each test makes its own.
#include "link/LinkState.h"
#include "link/RecognitionForm.h"
#include "platform/Runtime.h"
#include "shell/ShellForms.h"
#include "shell/ShellState.h"

namespace vs {

class Program {
 public:
  explicit Program(plat::EventLoop::ClockKind clock);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();

  plat::Runtime rt;
  ShellState shell;
  LinkState link;

  // Forms of the application shell: the start menu, the data dialogs, the message boxes,
  // the about box, the access code and the system set-up.
  ShellForms shellForms{*this};

  // Forms of the instrument link.
  RiconosciMCTC riconosciMCTC{*this};  // instrument recognition
};

}  // namespace vs
