#pragma once
// The forms of the application shell, one instance each for the program's life, and the
// places where the forms of the other parts register themselves so that the start menu and
// the message boxes can reach them.
#include "platform/forms/Forms.h"
#include "shell/AboutForm.h"
#include "shell/DataForms.h"
#include "shell/MenuForm.h"
#include "shell/MessageForms.h"
#include "shell/PasswordForm.h"
#include "shell/SysSetUpForm.h"

namespace vs {

class Program;

struct ShellForms {
  explicit ShellForms(Program& p);
  ShellForms(const ShellForms&) = delete;
  ShellForms& operator=(const ShellForms&) = delete;

  Menu menu;  // the start-up form "Menù"
  DVeicoli dveicoli;
  UTENTE utente;
  DAMB damb;
  Critic critic;
  Exclam exclam;
  ExclamStampa exclamStampa;
  frmAbout about;
  Password password;  // the access code in front of the system set-up
  SYS_SET_UP sysSetUp;

  // Forms of the other parts, set by the Program when they are made; nullptr while a part
  // is not built (the menu items that open it then do nothing).
  plat::Form* ANGAS = nullptr;          // gas test
  plat::Form* ANFUMO = nullptr;         // smoke test
  plat::Timer* ANFUMOTimer1 = nullptr;  // the smoke test's 25 ms request timer
  plat::Form* RPM = nullptr;            // engine-speed form
  plat::Form* ANSU = nullptr;           // gas-analyser set-up
  plat::Form* OPASU = nullptr;          // opacimeter set-up
  plat::Form* RPMSU = nullptr;          // engine-speed counter set-up
  plat::Form* RiconosciMCTC = nullptr;  // instrument recognition

  // Connects the message boxes to the instrument link (LinkUi): its error codes show Critic,
  // its port hints ExclamStampa. The start-up form does it when it loads; until then the link
  // records its requests headless.
  void ConnectLinkUi();

  // The smoke test's request timer, touched only while the smoke test form is loaded:
  // switching it never loads that form (nor opens its port).
  bool SmokeTimerEnabled() const;
  void SetSmokeTimerEnabled(bool on);

 private:
  Program& p_;
};

}  // namespace vs
