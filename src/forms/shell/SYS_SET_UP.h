#pragma once
// The system set-up behind the access code: the three option bits of SystemEnableMask and
// the two coefficients of the extended HC range, saved scrambled in "Conf.ini".
#include "platform/forms/Forms.h"

namespace vs {

class Program;

class SYS_SET_UP : public plat::Form {
 public:
  explicit SYS_SET_UP(Program& p);

  plat::CheckBox CkAbilOpa{*this, "CkAbilOpa"};      // bit 1
  plat::CheckBox CkAbilKymra{*this, "CkAbilKymra"};  // bit 2
  plat::CheckBox CkAbilTt{*this, "CkAbilTt"};        // bit 4
  plat::Label Label3{*this, "Label3"};
  plat::TextBox TKquad{*this, "TKquad"};
  plat::Label Label46{*this, "Label46"};
  plat::TextBox TKlin{*this, "TKlin"};
  plat::CommandButton CSalva{*this, "CSalva"};
  plat::CommandButton CAnnulla{*this, "CAnnulla"};

 protected:
  void Form_Load() override;

 private:
  void CSalva_Click();

  Program& p_;
};

}  // namespace vs
