#pragma once
// The message boxes that the gas test form raises while it handles a reply (the MCTC-NET
// exchange's leak-check and HC residue boxes, the test sequence's refused window length). A
// box is modal and keeps the serial events and timers running, so one opened inside the
// receive step would let the next reply be handled under it. These run after the receive
// step's tail instead, while the next request may go out; a text whose box is still open is
// not shown a second time.
#include <cstddef>
#include <vector>

#include "forms/gas/ANGAS.h"

namespace vs {

// Shows an exclamation box for each language text, in order, after the current handler.
void PostGasReplyBoxes(ANGAS& form, std::vector<std::size_t> texts);

}  // namespace vs
