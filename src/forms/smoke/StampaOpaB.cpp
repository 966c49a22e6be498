#include "forms/smoke/StampaOpaB.h"

#include <cstddef>
#include <string>

#include "forms/Program.h"
#include "forms/shell/PrintPage.h"
#include "shell/ProgramMessages.h"

namespace vs {

StampaOpaB::StampaOpaB(Program& p) : SmokeReportPage(p, "StampaOpaB", 660, {20}) {
  constexpr plat::Color kYellow = plat::colors::kYellow;
  const plat::Font font{"Arial", 8.25, false, false};
  for (plat::Label* l : {&Label60, &Label65, &Label66, &Label62, &Label61, &Label64, &Label63,
                         &Label68, &Label67, &Label77}) {
    l->setFont(font);
    l->setBackColor(plat::colors::kWhite);
  }
  Heading(Label60, kRight, rows_.engine(), kWidth - kRight - 8);
  Label65.setCaption("RPMmin");
  Label62.setCaption("RPMmax");
  Pair(Label65, Label66, kRight, rows_.engine() + rows_.step);
  Pair(Label62, Label61, kRight, rows_.engine() + 2 * rows_.step);
  Pair(Label64, Label63, kRight, rows_.engine() + 3 * rows_.step);
  Pair(Label68, Label67, kRight, rows_.engine() + 4 * rows_.step);
  for (plat::Label* l : {&Label66, &Label61, &Label63, &Label67}) Cell(*l, kYellow);

  Label77.setCaption("RPM");
  Label77.Move(8, rows_.values() + 3 * rows_.step, 40, rows_.height());
  for (int i = 0; i < 8; ++i) {
    plat::Label& rpm = Label59(i);
    rpm.setFont(font);
    rpm.setAlignment(plat::Alignment::Center);
    rpm.Move(52 + i * 50, rows_.values() + 3 * rows_.step, 46, rows_.height());
    Cell(rpm, kYellow);
  }
  Label59(8).setFont(font);
  Label59(8).setBackColor(plat::colors::kWhite);
  Label59(8).setCaption("N° Copie");
  Label59(8).Move(8, 60, 60, 18);
  Text5(1).setText("1");
  Text5(1).setAlignment(plat::Alignment::Center);
  Text5(1).setFont({"Arial", 8.25, true, false});
  Text5(1).Move(72, 56, 40, 24);

  Text5(1).onChange = [this] { p_.smoke.PrintCopies = Text5(1).Text(); };
  Command2.onClick = [this] { Command2_Click(); };
}

void StampaOpaB::Form_Load() {
  p_.smoke.PrintCopies = Text5(1).Text();
  const smoke::SmokeReportValues v =
      smoke::ReportValuesNow(p_.shell, p_.link, p_.smoke, rt().loop().localTime());
  const smoke::SmokeReportCells c = smoke::ReportCells(v, p_.rt.regional);
  p_.shell.ConfIniPath = (p_.rt.programFolder / "report.log").string();
  FillShared(v, c);
  const auto& t = p_.shell.LangText;
  Label60.setCaption(t[lang::StampaBlimiti]);
  Label64.setCaption(t[lang::LIMITISOp]);
  Label68.setCaption(t[lang::LIMITIVLim]);
  Label66.setCaption(c.rpmMin);
  Label61.setCaption(c.rpmMax);
  Label63.setCaption(c.opacityThreshold);
  Label67.setCaption(c.kLimit);
  for (int i = 0; i < smoke::kAccelerationRows; ++i) {
    const auto row = static_cast<std::size_t>(i);
    Label59(i).setCaption(v.AccRpm[row]);
    Label59(i).setBackColor(smoke::AccelerationCellColour(p_.smoke.AccRpmState[row]));
  }

  const plat::FileResult written =
      smoke::WriteSmokeReportLog(p_.rt.programFolder, v, t, p_.rt.regional);
  if (!written) {
    plat::MsgBox(rt(),
                 MessageText(p_.shell, Msg::FileNotWritten, {p_.shell.ConfIniPath, written.reason}),
                 plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
  }
}

void StampaOpaB::Command2_Click() {
  PrintPageCopies(*this, p_.smoke.PrintCopies, {&Command2, &Command1, &Text5(1), &Label59(8)},
                  p_.shell, p_.rt.regional);
  Unload();
}

}  // namespace vs
