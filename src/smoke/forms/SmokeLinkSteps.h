#pragma once
// The steps of the smoke test form that belong to its two instrument links and to the
// free-acceleration phase machine. The form's exchange cycle calls them:
//  - a request step on the tick that takes the handshake (one per protocol); it sets the
//    command expected back (McnCommand and McnCommandLen, or PendingCommand) and sends;
//  - a reply step for each frame that passed the frame check of its protocol; it handles
//    the frame by its echoed command and ends with f.EndOfFrame();
//  - the phase step, run by ShowSmokeReadings after a measured-values reply.
#include "link/FrameCollector.h"
#include "smoke/forms/ANFUMO.h"

#include <string>

namespace vs {

void SendMcnSmokeRequest(ANFUMO& f);
void HandleMcnSmokeReply(ANFUMO& f, const McnCollected& reply);

void SendOwnSmokeRequest(ANFUMO& f);
void HandleOwnSmokeReply(ANFUMO& f, const std::string& frame);

// The free-acceleration phase step for one measured-values reply (ShowSmokeReadings runs
// it while the series is open and the readings are usable).
void StepTestPhase(ANFUMO& f, smoke::Protocol protocol);

// The manual capture button.
void CaptureAccelerationByHand(ANFUMO& f);

}  // namespace vs
