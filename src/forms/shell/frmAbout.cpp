#include "forms/shell/frmAbout.h"

#include <string>

#include "forms/Program.h"

namespace vs {

frmAbout::frmAbout(Program& p) : plat::Form(p.rt.forms, "frmAbout"), p_(p) {
  setCaption("About Vantoscope");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  Move(0, 0, 470, 250);

  picIcon.setPicture("logo");
  picIcon.setBorderSingle(false);
  picIcon.Move(16, 16, 48, 48);
  for (plat::Label* l : {&lblTitle, &lblVersion, &lblDescription, &lblDisclaimer})
    l->setBackColor(plat::colors::kYellow);
  lblTitle.setCaption("Vantoscope");
  lblTitle.setFont({"Arial", 14, true, false});
  lblTitle.Move(80, 16, 374, 30);
  lblVersion.setCaption("Ver. 1.0");
  lblVersion.setFontSize(9.75);
  lblVersion.Move(80, 52, 374, 22);
  lblDescription.setCaption("USER SOFTWARE FOR SYSTEM OF GAS AND SMOKE ANALYSIS");
  lblDescription.setFontSize(9.75);
  lblDescription.Move(80, 80, 374, 48);
  Line1(0).setPoints(8, 140, 462, 140);
  Line1(0).setBorderColor(0x808080);
  Line1(1).setPoints(8, 141, 462, 141);
  Line1(1).setBorderColor(plat::colors::kWhite);
  lblDisclaimer.Move(16, 152, 300, 82);
  cmdOK.setCaption("&OK");
  cmdOK.setDefault(true);
  cmdOK.setCancel(true);
  cmdOK.Move(330, 152, 124, 32);
  cmdSysInfo.setCaption("&System Info...");
  cmdSysInfo.Move(330, 196, 124, 32);

  cmdOK.onClick = [this] { Unload(); };
  cmdSysInfo.onClick = [this] { StartSysInfo(); };
}

void frmAbout::Form_Load() {
  setCaption("Vantoscope Info");
  lblDescription.setCaption(p_.shell.LangText[lang::FrmAbout]);
  const plat::Version& v = p_.rt.version;
  lblVersion.setCaption("Ver. " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                        std::to_string(v.revision));
  lblTitle.setCaption("Vantoscope");
}

void frmAbout::StartSysInfo() {
  for (std::string_view program : kSystemInfoPrograms) {
    try {
      p_.rt.app.Shell(std::string(program));
      return;
    } catch (const plat::RuntimeError&) {
      // Not installed, or it cannot be started: try the next one.
    }
  }
  plat::MsgBox(p_.rt.forms, kNoSystemInfoText);
}

}  // namespace vs
