#pragma once
// The about box: the program's name, its version "Ver. major.minor.revision" and a
// one-line description, with a button that starts a system-information program.
#include <array>
#include <string_view>

#include "platform/forms/Forms.h"

namespace vs {

class Program;

// System-information programs looked for on PATH, in this order, by the about box.
inline constexpr std::array<std::string_view, 5> kSystemInfoPrograms = {
    "hardinfo2", "hardinfo", "kinfocenter", "lshw-gtk", "gnome-system-monitor"};

// The text of the box shown when none of them can be started.
inline constexpr const char* kNoSystemInfoText =
    "Le informazioni sul sistema non sono attualmente disponibili.";

class frmAbout : public plat::Form {
 public:
  explicit frmAbout(Program& p);

  plat::PictureBox picIcon{*this, "picIcon"};
  plat::Label lblTitle{*this, "lblTitle"};
  plat::Label lblVersion{*this, "lblVersion"};
  plat::Label lblDescription{*this, "lblDescription"};
  plat::ControlArray<plat::Line> Line1{*this, "Line1", 0, 1};
  plat::Label lblDisclaimer{*this, "lblDisclaimer"};
  plat::CommandButton cmdOK{*this, "cmdOK"};
  plat::CommandButton cmdSysInfo{*this, "cmdSysInfo"};

  // Starts the first system-information program that can be started; when none can, a
  // message box says that the information is not available.
  void StartSysInfo();

 protected:
  void Form_Load() override;

 private:
  Program& p_;
};

}  // namespace vs
