#pragma once
// The idle and raised-idle test sequence of the gas test form: one step after each
// measurement reply.
#include "gas/forms/ANGAS.h"

namespace vs {

void AvanzaProva(ANGAS& form);

}  // namespace vs
