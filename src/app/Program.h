#pragma once
// All program-wide state of the system: the platform runtime, the state records of each
// subsystem and the form instances. main() makes one; each test makes its own.
#include "link/LinkState.h"
#include "link/RecognitionForm.h"
#include "platform/core/Runtime.h"
#include "shell/PasswordForm.h"
#include "shell/ShellForms.h"
#include "shell/ShellState.h"
#include "shell/SysSetUpForm.h"

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

  // Forms of the application shell.
  Password password{*this};
  SYS_SET_UP sysSetUp{*this};
  ShellForms shellForms{*this};  // the start menu, the data dialogs, the message boxes, about

  // Forms of the instrument link.
  RiconosciMCTC riconosciMCTC{*this};  // instrument recognition
};

}  // namespace vs
