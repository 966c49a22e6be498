#pragma once
// Report A, the short smoke report that only the print dialog opens: the page of the last
// series with the vehicle's model and without the limits. Its print button prints the
// copies typed in the dialog (a fraction prints its whole pages; a text that is not a number is
// told and prints none) and closes the page.
#include "forms/smoke/SmokeReportPage.h"

namespace vs {

class StampaOpa : public SmokeReportPage {
 public:
  explicit StampaOpa(Program& p);

  plat::Label Label59{*this, "Label59"};  // caption of the vehicle's model
  plat::TextBox Text6{*this, "Text6"};    // the vehicle's model

 protected:
  void Form_Load() override;
};

}  // namespace vs
