#include "forms/smoke/StampaOpa.h"

#include "forms/Program.h"
#include "forms/shell/PrintPage.h"

namespace vs {

// 11205 x 9090 twips at 15 twips a pixel; rows closer than report B's so that the page
// holds them.
StampaOpa::StampaOpa(Program& p) : SmokeReportPage(p, "StampaOpa", 606, {18}) {
  Label59.setFont({"Arial", 8.25, false, false});
  Label59.setBackColor(plat::colors::kWhite);
  Text6.setFont({"Arial", 8.25, false, false});
  Pair(Label59, Text6, 8, rows_.vehicle() + 3 * rows_.step);
  Cell(Text6, 0xFFFF80);
  Command2.onClick = [this] {
    PrintPageCopies(*this, p_.smoke.PrintCopies, {&Command2, &Command1}, p_.shell, p_.rt.regional);
    Unload();
  };
}

void StampaOpa::Form_Load() {
  const smoke::SmokeReportValues v =
      smoke::ReportValuesNow(p_.shell, p_.link, p_.smoke, rt().loop().localTime());
  FillShared(v, smoke::ReportCells(v, p_.rt.regional));
  Label59.setCaption(p_.shell.LangText[lang::DVeicoliMod]);
  Text6.setText(p_.shell.VehicleModel);
}

}  // namespace vs
