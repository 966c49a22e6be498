#include "forms/rpm/CylinderBox.h"

#include <optional>

#include "platform/text/Numbers.h"
#include "rpm/CounterSettings.h"
#include "shell/ShellState.h"

namespace vs {

namespace {

// The whole number the box shows, taken into RpmCylinders when the counter knows it; none
// when the box shows no whole number (refused, see TakeTypedCylinders).
std::optional<int> TakeShown(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s) {
  const std::string typed = box.Text();
  const auto n = TypedWholeNumber(typed);
  if (!n) {
    ShowCylinders(box, s);
    plat::MsgBox(forms, CylinderCountRefused(s, typed), plat::MsgBoxButtons::OK,
                 plat::MsgBoxIcon::Exclamation);
    return std::nullopt;
  }
  if (IsCylinderCount(*n)) {
    s.RpmCylinders = static_cast<std::int16_t>(*n);
    ShowCylinders(box, s);
  }
  return n;
}

}  // namespace

void ShowCylinders(plat::TextBox& box, const ShellState& s) {
  box.setText(plat::FormatInt(s.RpmCylinders));
}

TypedCylinders TakeTypedCylinders(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s) {
  const std::int16_t before = s.RpmCylinders;
  if (!TakeShown(forms, box, s)) return TypedCylinders::Refused;
  return s.RpmCylinders != before ? TypedCylinders::Changed : TypedCylinders::Kept;
}

bool StepCylinders(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s, bool up) {
  const std::int16_t before = s.RpmCylinders;
  const auto shown = TakeShown(forms, box, s);
  if (!shown) return false;
  if (const auto next = NextCylinderCount(*shown, up)) {
    s.RpmCylinders = *next;
    ShowCylinders(box, s);
  }
  return s.RpmCylinders != before;
}

}  // namespace vs
