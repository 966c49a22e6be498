#pragma once
// Report B, the smoke report the test form's print button opens: the page of the last
// series with the limits it was judged against and the engine speed of every acceleration.
// Each load rewrites "report.log" with the same values; a file that cannot be written is
// told, and the page is shown all the same. The copies box sets how many pages the print
// button prints; a fraction prints its whole pages, a text that is not a number
// is told and prints none.
#include "forms/smoke/SmokeReportPage.h"

namespace vs {

class StampaOpaB : public SmokeReportPage {
 public:
  explicit StampaOpaB(Program& p);

  // The limits.
  plat::Label Label60{*this, "Label60"};
  plat::Label Label65{*this, "Label65"};  // "RPMmin"
  plat::Label Label66{*this, "Label66"};
  plat::Label Label62{*this, "Label62"};  // "RPMmax"
  plat::Label Label61{*this, "Label61"};
  plat::Label Label64{*this, "Label64"};
  plat::Label Label63{*this, "Label63"};  // opacity threshold
  plat::Label Label68{*this, "Label68"};
  plat::Label Label67{*this, "Label67"};  // limit value K
  // Elements 0 to 7: the engine speed of each acceleration; 8: "N° Copie".
  plat::Label Label77{*this, "Label77"};  // "RPM" before the speed row
  plat::ControlArray<plat::Label> Label59{*this, "Label59", 0, 8};
  plat::ControlArray<plat::TextBox> Text5{*this, "Text5", 1, 1};  // copies

 protected:
  void Form_Load() override;

 private:
  void Command2_Click();
};

}  // namespace vs
