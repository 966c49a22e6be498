#include "gas/forms/GasMcnStep.h"

namespace vs {

void SendMcnGasRequest(ANGAS& /*form*/) {}

GasReplyOutcome HandleMcnGasReply(ANGAS& /*form*/) { return GasReplyOutcome::Incomplete; }

}  // namespace vs
