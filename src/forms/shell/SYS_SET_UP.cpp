#include "forms/shell/SYS_SET_UP.h"

#include <optional>
#include <string>

#include "forms/Program.h"
#include "platform/text/Numbers.h"
#include "shell/ProgramMessages.h"
#include "shell/SystemSetup.h"

namespace vs {

SYS_SET_UP::SYS_SET_UP(Program& p) : plat::Form(p.rt.forms, "SYS_SET_UP"), p_(p) {
  setCaption("System Set-up");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterOwner);
  setSize(330, 235);

  CkAbilOpa.Move(16, 14, 298, 24);
  CkAbilOpa.setCaption("Enable opacity range 9,99 K");
  CkAbilKymra.Move(16, 42, 298, 24);
  CkAbilKymra.setCaption("Enable HC range 19999 ppm");
  CkAbilTt.Move(16, 70, 298, 24);
  CkAbilTt.setCaption("Disable leak test request");

  Label3.Move(16, 112, 60, 24);
  Label3.setCaption("Kquad");
  TKquad.Move(84, 110, 150, 26);
  Label46.Move(16, 146, 60, 24);
  Label46.setCaption("Klin");
  TKlin.Move(84, 144, 150, 26);

  CSalva.Move(16, 190, 136, 32);
  CSalva.setCaption("&Salva");
  CSalva.setDefault(true);
  CSalva.onClick = [this] { CSalva_Click(); };
  CAnnulla.Move(178, 190, 136, 32);
  CAnnulla.setCaption("&Annulla");
  CAnnulla.onClick = [this] { Unload(); };
}

void SYS_SET_UP::Form_Load() {
  LoadSystemSettings(p_.shell, ConfPlace(p_.rt));
  const unsigned mask = p_.shell.SystemEnableMask;
  CkAbilOpa.setValue((mask & 1) ? plat::CheckBox::kChecked : plat::CheckBox::kUnchecked);
  CkAbilKymra.setValue((mask & 2) ? plat::CheckBox::kChecked : plat::CheckBox::kUnchecked);
  CkAbilTt.setValue((mask & 4) ? plat::CheckBox::kChecked : plat::CheckBox::kUnchecked);
  TKquad.setText(plat::FormatDouble(p_.shell.GasKquad, p_.rt.regional));
  TKlin.setText(plat::FormatDouble(p_.shell.GasKlin, p_.rt.regional));
}

void SYS_SET_UP::CSalva_Click() {
  // Both coefficients must be numbers before anything changes, in memory or in the file.
  const auto read = [this](plat::TextBox& box, const char* name) -> std::optional<double> {
    try {
      return plat::ParseDouble(box.Text(), p_.rt.regional);
    } catch (const plat::RuntimeError&) {
      plat::MsgBox(rt(), MessageText(p_.shell, Msg::NotNumeric, {name}), plat::MsgBoxButtons::OK,
                   plat::MsgBoxIcon::Exclamation);
      box.SetFocus();
      return std::nullopt;
    }
  };
  const auto kquad = read(TKquad, "Kquad");
  if (!kquad) return;
  const auto klin = read(TKlin, "Klin");
  if (!klin) return;

  std::uint8_t mask = 0;
  if (CkAbilOpa.Value() == plat::CheckBox::kChecked) mask += 1;
  if (CkAbilKymra.Value() == plat::CheckBox::kChecked) mask += 2;
  if (CkAbilTt.Value() == plat::CheckBox::kChecked) mask += 4;
  p_.shell.SystemEnableMask = mask;
  p_.shell.GasKquad = *kquad;
  p_.shell.GasKlin = *klin;
  ReportSaveProblem(p_.rt, SaveSystemSettings(p_.shell, ConfPlace(p_.rt)));
  Unload();
}

}  // namespace vs
