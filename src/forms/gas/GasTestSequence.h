#pragma once
// The idle and raised-idle test sequence of the gas test form: one step after each
// measurement reply.
#include "forms/gas/ANGAS.h"
#include "gas/GasTestInputs.h"

namespace vs {

// What a step or a printed page takes from the form and the program at this moment.
GasTestInput GasTestInputOf(ANGAS& form);

// Runs one step of the sequence on what the form shows and the program holds now, applies
// what it changes to the form, keeps the certificate's contents for the certificate page
// and queues the step's message boxes for after the reply.
void AvanzaProva(ANGAS& form);

}  // namespace vs
