#pragma once
// The access-code form in front of the system set-up. Its outcome goes to PassResult:
// 1 the code was right, 0 it was wrong (or the form was closed by its close box), 2 the
// operator cancelled.
#include "platform/forms/Forms.h"

namespace vs {

class Program;

class Password : public plat::Form {
 public:
  explicit Password(Program& p);

  plat::TextBox Text1{*this, "Text1"};
  plat::CommandButton OK{*this, "OK"};
  plat::CommandButton Annulla{*this, "Annulla"};

 protected:
  void Form_Load() override;

 private:
  void OK_Click();
  void Annulla_Click();

  Program& p_;
};

}  // namespace vs
