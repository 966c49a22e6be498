#pragma once
// The gas test form's MCTC-NET exchange: the request of the current state word and the
// handling of the reply collected in the form's receive buffer.
#include "forms/gas/ANGAS.h"

namespace vs {

// Sends the request that belongs to form.Stato (called by the scheduler when the handshake
// allows a send).
void SendMcnGasRequest(ANGAS& form);

// Judges and handles form.GasRxBuffer; the form runs the common tail on Handled.
GasReplyOutcome HandleMcnGasReply(ANGAS& form);

}  // namespace vs
