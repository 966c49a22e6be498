#pragma once
// The start-up form "Menù": the first form the program loads. Its load step prepares the
// program (old reading logs deleted, settings and screen texts loaded); then it is the hub
// from which the operator opens the tests, the set-up forms, the data dialogs, the system
// set-up and the about box. Closing it or its "ESC" button saves the language code and ends
// the program at once.
//
// One test at a time: while the gas or the smoke test form is open, the other test's button
// and menu item only bring the open test form to the front.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/forms/Forms.h"

namespace vs {

class Program;

class Menu : public plat::Form {
 public:
  explicit Menu(Program& p);

  plat::Label Label1{*this, "Label1"};
  plat::Label LabelTit{*this, "LabelTit"};
  plat::PictureBox Picture1{*this, "Picture1"};
  plat::Image Image1{*this, "Image1"};
  plat::CommandButton CmdAnGas{*this, "CmdAnGas"};
  plat::CommandButton CmdAnFumo{*this, "CmdAnFumo"};
  plat::CommandButton CmdRPM{*this, "CmdRPM"};
  plat::CommandButton CmdOut{*this, "CmdOut"};
  plat::CommandButton Command1{*this, "Command1"};
  plat::Timer Timer1{*this, "Timer1"};

  plat::MenuItem KYMRA{*this, "KYMRA", "&Kymra"};
  plat::MenuItem MISURAG{KYMRA, "MISURAG", "Misura", plat::KeyPress::F(1)};
  plat::MenuItem SETG{KYMRA, "SETG", "Set-Up", plat::KeyPress::F(2)};
  plat::MenuItem OPA{*this, "OPA", "&Opa"};
  plat::MenuItem MISURAO{OPA, "MISURAO", "Misura", plat::KeyPress::F(3)};
  plat::MenuItem SETO{OPA, "SETO", "Set-Up", plat::KeyPress::F(4)};
  plat::MenuItem GIRI{*this, "GIRI", "&Rpm"};
  plat::MenuItem MISURAR{GIRI, "MISURAR", "Misura", plat::KeyPress::F(5)};
  plat::MenuItem SETR{GIRI, "SETR", "Set-Up", plat::KeyPress::F(6)};
  plat::MenuItem LINGUA{*this, "LINGUA", "&Lingua"};
  plat::MenuItem LINGITA{LINGUA, "LINGITA", "Italiano", plat::KeyPress::Ctrl('I')};
  plat::MenuItem LINGING{LINGUA, "LINGING", "English", plat::KeyPress::Ctrl('E')};
  plat::MenuItem LINGSPA{LINGUA, "LINGSPA", "Espanol", plat::KeyPress::Ctrl('S')};
  plat::MenuItem UTILITY{*this, "UTILITY", "&Utilità"};
  plat::MenuItem DVEIC{UTILITY, "DVEIC", "Dati Veicoli"};
  plat::MenuItem DAMBIENT{UTILITY, "DAMBIENT", "Dati Ambientali"};
  plat::MenuItem RICONOSCI{UTILITY, "RICONOSCI", "Lettura COM"};
  plat::MenuItem SYSSU{UTILITY, "SYSSU", "System Set-Up"};

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void Blink();
  void OpenTest(bool gas);
  void MeasureRpm();
  void SetLanguage(std::int16_t code);
  void SetCaptions();
  // One box when the last load of the screen texts found none or missed some; nothing else.
  void TellLanguageProblem(const std::string& problem);
  void SystemSetUp();
  void ShowAbout();
  void EndProgram();
  // Loads and shows `form` modally (nothing when it is not built); a run-time error while
  // it opens is reported in a message box.
  void ShowModalForm(plat::Form* form);

  Program& p_;
  std::optional<int> blink_;  // empty until the first tick, then 0 or 1
};

}  // namespace vs
