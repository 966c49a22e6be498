#pragma once
// The gas limits dialog: the engine-speed limits, the lambda window, the two corrected-CO
// limits, the test duration and whether engine speed takes part in the verdicts. It edits
// the program's gas limits; the gas test form saves them when it closes.
#include "platform/forms/Forms.h"

namespace vs {

class Program;

class LIMITIAN : public plat::Form {
 public:
  explicit LIMITIAN(Program& p);

  plat::Label Label1{*this, "Label1"};
  plat::TextBox Text1{*this, "Text1"};  // idle engine-speed limit
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text2{*this, "Text2"};  // raised idle, lower bound
  plat::Label Label3{*this, "Label3"};
  plat::TextBox Text3{*this, "Text3"};  // raised idle, upper bound
  plat::Label Label4{*this, "Label4"};
  plat::TextBox Text4{*this, "Text4"};  // lambda, lower bound
  plat::Label Label5{*this, "Label5"};
  plat::TextBox Text5{*this, "Text5"};  // lambda, upper bound
  plat::Label Label6{*this, "Label6"};
  plat::ComboBox CombCOcorMin{*this, "CombCOcorMin"};  // idle corrected-CO limit
  plat::Label Label7{*this, "Label7"};
  plat::ComboBox CombCOcorMinacc{*this, "CombCOcorMinacc"};  // raised-idle corrected-CO limit
  plat::Label Label8{*this, "Label8"};
  plat::TextBox Text8{*this, "Text8"};  // test duration in seconds
  plat::CheckBox Check1{*this, "Check1"};
  plat::CommandButton CmdApl{*this, "CmdApl"};

 protected:
  void Form_Load() override;

 private:
  void Check1_Click();
  void CmdApl_Click();

  Program& p_;
};

}  // namespace vs
