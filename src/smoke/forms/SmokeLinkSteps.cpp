// First steps of the links: identification only, every reply ends the frame.
#include "smoke/forms/SmokeLinkSteps.h"

#include "app/Program.h"
#include "link/Senders.h"

namespace vs {

namespace {

TestFormPorts Ports(ANFUMO& f) {
  TestFormPorts ports;
  ports.AnfumoMSComm1 = &f.MSComm1;
  return ports;
}

}  // namespace

void SendMcnSmokeRequest(ANFUMO& f) {
  Program& p = f.program();
  p.link.McnCommand = "ID";
  p.link.McnCommandLen = 2;
  SendMctcNetFrameToTestForms(p.link, Ports(f), p.link.McnAddress, p.link.McnCommand,
                              p.link.McnDevNumber, "");
}

void HandleMcnSmokeReply(ANFUMO& f, const McnCollected&) { f.EndOfFrame(); }

void SendOwnSmokeRequest(ANFUMO& f) {
  Program& p = f.program();
  p.link.PendingCommand = '1';
  SendOwnProtocolFrame(p.link, Ports(f), p.smoke.OpaDeviceAddress, p.link.PendingCommand, "");
}

void HandleOwnSmokeReply(ANFUMO& f, const std::string&) { f.EndOfFrame(); }

void StepTestPhase(ANFUMO&, bool) {}

void CaptureAccelerationByHand(ANFUMO&) {}

}  // namespace vs
