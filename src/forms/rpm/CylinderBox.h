#pragma once
// The cylinder-count box of the engine-speed counter's two forms, which their "+" and "-"
// buttons step.
#include "platform/forms/Forms.h"

namespace vs {

struct ShellState;

// Shows RpmCylinders in the box.
void ShowCylinders(plat::TextBox& box, const ShellState& s);

enum class TypedCylinders { Kept, Changed, Refused };

// Takes the count typed into the box: Kept when it is the count held, Changed when it is
// another count the counter knows (now held and shown), Refused otherwise (the operator is
// told, and the box shows the count held again).
TypedCylinders TakeTypedCylinders(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s);

// "+" (`up`) or "-": takes what was typed, then steps to the next count. True when the count
// held changed.
bool StepCylinders(plat::FormsRuntime& forms, plat::TextBox& box, ShellState& s, bool up);

}  // namespace vs
