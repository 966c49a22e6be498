#include "forms/shell/Password.h"

#include "forms/Program.h"
#include "shell/SystemSetup.h"

namespace vs {

Password::Password(Program& p) : plat::Form(p.rt.forms, "Password"), p_(p) {
  setCaption("Password");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(260, 110);

  Text1.Move(20, 16, 220, 26);
  Text1.setPasswordChar("*");
  Text1.setAlignment(plat::Alignment::Center);

  OK.Move(20, 60, 100, 32);
  OK.setCaption("&OK");
  OK.setDefault(true);
  OK.onClick = [this] { OK_Click(); };

  Annulla.Move(140, 60, 100, 32);
  Annulla.setCaption("&ANNULLA");
  Annulla.onClick = [this] { Annulla_Click(); };
}

void Password::Form_Load() {
  // A form closed by its close box sets no result: it must not count as an earlier right
  // entry.
  p_.shell.PassResult = 0;
}

void Password::OK_Click() {
  p_.shell.PassResult = Text1.Text() == kAccessCode ? 1 : 0;
  Unload();
}

void Password::Annulla_Click() {
  p_.shell.PassResult = 2;
  Unload();
}

}  // namespace vs
