#pragma once
// The smoke limits form, modal over the smoke test: the engine-speed window of the free
// acceleration, the opacity threshold and the limit value K. Its one button (Enter and Esc
// alike) applies the four values and closes the form; they act on the running test at once
// and the test form saves them when it closes. All four are checked first: a box that is
// not a number, or a value that could not be saved (an engine speed outside 16 bits, a
// threshold or K outside single precision), is told naming the field, and nothing applies.
#include "platform/forms/Forms.h"

namespace vs {

class Program;

class LIMITI : public plat::Form {
 public:
  explicit LIMITI(Program& p);

  plat::Label Label1{*this, "Label1"};  // "RPMmin"
  plat::TextBox Text1{*this, "Text1"};
  plat::Label Label2{*this, "Label2"};  // "RPMmax"
  plat::TextBox Text2{*this, "Text2"};
  plat::Label Label3{*this, "Label3"};  // opacity threshold
  plat::TextBox Text3{*this, "Text3"};
  plat::Label Label4{*this, "Label4"};  // limit value K
  plat::TextBox Text4{*this, "Text4"};
  plat::CommandButton CmdApl{*this, "CmdApl"};  // Enter and Esc

 protected:
  void Form_Load() override;

 private:
  void CmdApl_Click();
  Program& p_;
};

}  // namespace vs
