#include "forms/smoke/LIMITI.h"

#include <string>

#include "forms/Program.h"
#include "platform/text/Numbers.h"
#include "smoke/SmokeLimitsEntry.h"

namespace vs {

LIMITI::LIMITI(Program& p) : plat::Form(p.rt.forms, "LIMITI"), p_(p) {
  setCaption("Limiti");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterOwner);
  setSize(330, 200);
  Label1.setCaption("RPMmin");
  Label2.setCaption("RPMmax");
  int top = 14;
  for (auto [label, box] : {std::pair{&Label1, &Text1}, std::pair{&Label2, &Text2},
                            std::pair{&Label3, &Text3}, std::pair{&Label4, &Text4}}) {
    label->Move(16, top + 2, 170, 22);
    box->Move(196, top, 118, 24);
    box->setAlignment(plat::Alignment::Right);
    top += 32;
  }
  CmdApl.setDefault(true);
  CmdApl.setCancel(true);
  CmdApl.Move(178, 150, 136, 34);
  CmdApl.onClick = [this] { CmdApl_Click(); };
}

void LIMITI::Form_Load() {
  const auto& t = p_.shell.LangText;
  setCaption(t[lang::LIMITICaption]);
  CmdApl.setCaption(t[lang::ANSUAppl]);
  Label3.setCaption(t[lang::LIMITISOp]);
  Label4.setCaption(t[lang::LIMITIVLim]);
  const ShellState& s = p_.shell;
  const plat::RegionalSettings& r = p_.rt.regional;
  Text1.setText(plat::FormatSingle(s.SmokeRpmMin, r));
  Text2.setText(plat::FormatSingle(s.SmokeRpmMax, r));
  Text3.setText(plat::FormatDouble(s.SmokeOpacityThreshold, r));
  Text4.setText(plat::FormatDouble(s.SmokeKLimit, r));
}

void LIMITI::CmdApl_Click() {
  const std::string refused = smoke::ApplySmokeLimits(
      p_.shell, {Text1.Text(), Text2.Text(), Text3.Text(), Text4.Text()},
      {Label1.Caption(), Label2.Caption(), Label3.Caption(), Label4.Caption()}, p_.rt.regional);
  if (!refused.empty()) {
    plat::MsgBox(rt(), refused, plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
    return;
  }
  if (static_cast<float>(p_.link.OpaRpm) < p_.shell.SmokeRpmMin)
    IfLoaded(p_.anfumo, [](ANFUMO& f) { f.Command2.setEnabled(true); });
  Unload();
}

}  // namespace vs
