#pragma once
// The print dialog: the layout of the smoke report (A or B) and the copies of report A.
// OK stores the layout in "Conf.ini" [STAMPA], takes the copies and opens the chosen report,
// loaded afresh; ESC closes it, keeping in memory the layout chosen. No menu opens it.
#include "platform/forms/Forms.h"

namespace vs {

class Program;

class DialgStamp : public plat::Form {
 public:
  explicit DialgStamp(Program& p);

  plat::Frame Frame2{*this, "Frame2"};
  plat::OptionButton Option7{*this, "Option7"};  // report A
  plat::OptionButton Option6{*this, "Option6"};  // report B
  plat::Label Label59{*this, "Label59"};
  plat::ControlArray<plat::TextBox> Text5{*this, "Text5", 1, 1};  // copies
  plat::CommandButton Command2{*this, "Command2"};                // OK
  plat::CommandButton Command1{*this, "Command1"};                // ESC

 protected:
  void Form_Load() override;

 private:
  void Command2_Click();
  Program& p_;
};

}  // namespace vs
