#include "gas/forms/GasTestSequence.h"

namespace vs {

void AvanzaProva(ANGAS& /*form*/) {}

}  // namespace vs
