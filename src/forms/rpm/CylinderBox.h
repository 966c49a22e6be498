#pragma once
// The cylinder-count box of the engine-speed counter's two forms, which their "+" and "-"
// buttons step.
#include "platform/forms/Forms.h"

namespace vs {

struct ShellState;

// Shows RpmCylinders in the box.
void ShowCylinders(plat::TextBox& box, const ShellState& s);

enum class TypedCylinders { Kept, Changed, Refused };

// Takes the number typed into the box: a count the counter knows becomes RpmCylinders and is
// shown (Changed when it differs from the count held, else Kept); another whole number
// changes nothing and stays in the box (Kept); anything else is Refused: the operator is
// told, and the box shows the count held again.
TypedCylinders TakeTypedCylinders(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s);

// "+" (`up`) or "-": takes what was typed, then steps from the number the box shows to the
// next count the counter knows, if there is one (a typed 11 "+" gives 12; a typed 13 "+"
// leaves 13 in the box). True when the count held changed.
bool StepCylinders(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s, bool up);

}  // namespace vs
