#pragma once
// The steps of the smoke test form that belong to its two instrument links. The form's
// exchange cycle calls them:
//  - a request step on the tick that takes the handshake (one per protocol); it sets the
//    command expected back (McnCommand and McnCommandLen, or PendingCommand) and sends;
//  - a reply step for each frame that passed the frame check of its protocol; it handles
//    the frame by its echoed command and ends with f.EndOfFrame().
// The series steps (the phase step, the manual capture) are in SmokeSeriesSteps.h.
#include "forms/smoke/ANFUMO.h"
#include "link/FrameCollector.h"

#include <string>

namespace vs {

void SendMcnSmokeRequest(ANFUMO& f);
void HandleMcnSmokeReply(ANFUMO& f, const McnCollected& reply);

void SendOwnSmokeRequest(ANFUMO& f);
void HandleOwnSmokeReply(ANFUMO& f, const std::string& frame);

}  // namespace vs
