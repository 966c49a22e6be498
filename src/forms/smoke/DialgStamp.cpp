#include "forms/smoke/DialgStamp.h"

#include "forms/Program.h"
#include "shell/SettingsStore.h"

namespace vs {

DialgStamp::DialgStamp(Program& p) : plat::Form(p.rt.forms, "DialgStamp"), p_(p) {
  setCaption("Stampa");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(260, 150);

  Frame2.setCaption("Tipo di Stampa");
  Frame2.Move(12, 8, 110, 84);
  Option7.setContainer(Frame2);
  Option7.setCaption("A");
  Option7.Move(12, 24, 80, 22);
  Option6.setContainer(Frame2);
  Option6.setCaption("B");
  Option6.Move(12, 52, 80, 22);
  Label59.setCaption("N° Copie");
  Label59.Move(140, 20, 100, 20);
  Text5(1).setText("1");
  Text5(1).setAlignment(plat::Alignment::Center);
  Text5(1).Move(140, 44, 60, 24);
  Command2.setCaption("&OK");
  Command2.Move(12, 104, 110, 32);
  Command1.setCaption("&ESC");
  Command1.setCancel(true);
  Command1.Move(136, 104, 110, 32);

  Option7.onClick = [this] { p_.shell.PrintType = 0; };
  Option6.onClick = [this] { p_.shell.PrintType = 1; };
  Command2.onClick = [this] { Command2_Click(); };
  Command1.onClick = [this] { Unload(); };
}

void DialgStamp::Form_Load() {
  LoadPrintSettings(p_.shell, ConfPlace(p_.rt));  // a missing or bad "Tipo" keeps the layout
  if (p_.shell.PrintType == 0) Option7.setValue(true);
  if (p_.shell.PrintType == 1) Option6.setValue(true);
}

void DialgStamp::Command2_Click() {
  ReportSaveProblem(p_.rt, SavePrintSettings(p_.shell, ConfPlace(p_.rt)));
  p_.smoke.PrintCopies = Text5(1).Text();
  Unload();
  const auto reopen = [](plat::Form& report) {
    if (report.IsLoaded()) report.Unload();
    report.Load();
    report.Show(plat::ShowMode::Modal);
  };
  if (p_.shell.PrintType == 0) reopen(p_.stampaOpa);
  if (p_.shell.PrintType == 1) reopen(p_.stampaOpaB);
}

}  // namespace vs
