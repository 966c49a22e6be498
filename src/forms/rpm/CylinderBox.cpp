#include "forms/rpm/CylinderBox.h"

#include "platform/text/Numbers.h"
#include "rpm/CounterSettings.h"
#include "shell/ShellState.h"

namespace vs {

void ShowCylinders(plat::TextBox& box, const ShellState& s) {
  box.setText(plat::FormatInt(s.RpmCylinders));
}

TypedCylinders TakeTypedCylinders(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s) {
  if (box.Text() == plat::FormatInt(s.RpmCylinders)) return TypedCylinders::Kept;
  const auto typed = TypedCylinderCount(box.Text());
  if (!typed) {
    ShowCylinders(box, s);
    plat::MsgBox(forms, CylinderCountRefused(s), plat::MsgBoxButtons::OK,
                 plat::MsgBoxIcon::Exclamation);
    return TypedCylinders::Refused;
  }
  const bool changed = *typed != s.RpmCylinders;
  s.RpmCylinders = *typed;
  ShowCylinders(box, s);
  return changed ? TypedCylinders::Changed : TypedCylinders::Kept;
}

bool StepCylinders(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s, bool up) {
  const TypedCylinders typed = TakeTypedCylinders(forms, box, s);
  if (typed == TypedCylinders::Refused) return false;
  const auto next = NextCylinderCount(s.RpmCylinders, up);
  if (!next) return typed == TypedCylinders::Changed;
  s.RpmCylinders = *next;
  ShowCylinders(box, s);
  return true;
}

}  // namespace vs
