// The link steps of the smoke test form: each runs the record-level step of its protocol
// (smoke/McnSmokeLink.h, smoke/OwnSmokeLink.h) and applies what it returns to the form.
#include "forms/smoke/SmokeLinkSteps.h"

#include "forms/Program.h"
#include "link/Senders.h"
#include "smoke/McnSmokeLink.h"
#include "smoke/OwnSmokeLink.h"

namespace vs {

namespace {

constexpr const char* kNoReading = "- - -";

smoke::LinkView ViewOf(ANFUMO& f) {
  return {f.TestMode, f.Label39.Caption(), f.program().smoke.AccIndex, f.Label30.BackColor()};
}

void Apply(plat::Label& l, const smoke::LabelChange& c) {
  if (c.caption) l.setCaption(*c.caption);
  if (c.backColor) l.setBackColor(*c.backColor);
}

// The boxes come last; each stops the request timer before it shows, and its closing starts
// the timer again.
void Apply(ANFUMO& f, const smoke::LinkDisplay& d) {
  Program& p = f.program();
  if (d.command1Enabled) f.Command1.setEnabled(*d.command1Enabled);
  if (d.selectModeZero) f.Combo1.setListIndex(0);
  Apply(f.Label2, d.label2);
  Apply(f.Label24, d.label24);
  Apply(f.Label29, d.label29);
  Apply(f.Label30, d.label30);
  Apply(f.Label33, d.label33);
  Apply(f.Label39, d.label39);
  if (d.label30Visible) f.Label30.setVisible(*d.label30Visible);
  if (d.blankReadings) f.Linette();
  if (d.blankSeries) {
    for (int i = 0; i < 8; ++i) {
      f.Label36(i).setCaption(kNoReading);
      f.Label18(i).setCaption(kNoReading);
    }
    for (plat::Label* l : {&f.Label35, &f.Label55, &f.Label52, &f.Label53})
      l->setCaption(kNoReading);
  }
  if (d.testPhase) f.TestPhase = *d.testPhase;
  if (d.command2Enabled) f.Command2.setEnabled(*d.command2Enabled);
  if (d.cmdOutEnabled) f.CmdOut.setEnabled(true);
  if (d.critic) p.ShowOpaAlarm(*d.critic);
  if (d.lockNotice) {
    f.Timer1.setEnabled(false);
    p.shell.ExclamStampaMessage = *d.lockNotice;
    p.exclamStampa.Open(plat::ShowMode::Modal);
  }
}

}  // namespace

void SendMcnSmokeRequest(ANFUMO& f) {
  Program& p = f.program();
  const auto r = smoke::NextMcnSmokeRequest(f, p.link, p.shell);
  if (!r) return;  // a state word without a request: the time-out tries again
  SendMctcNetFrameToTestForms(p.link, f.program().TestPorts(), p.link.McnAddress, r->command,
                              p.link.McnDevNumber, r->data);
}

void HandleMcnSmokeReply(ANFUMO& f, const McnCollected& reply) {
  Program& p = f.program();
  const auto out = smoke::HandleMcnSmokeFrame(f, p.link, p.smoke, p.shell, ViewOf(f), reply.frame,
                                              reply.echo, reply.data);
  if (out.errorAlarm) p.ShowOpaAlarm(*out.errorAlarm);
  p.ShowPortHint(out.portHint);
  Apply(f, out.display);
  if (out.valueReply) f.ShowSmokeReadings(smoke::Protocol::MctcNet);
  f.EndOfFrame();
}

void SendOwnSmokeRequest(ANFUMO& f) {
  Program& p = f.program();
  if (smoke::TakeStartNotice(f, p.shell)) {
    // The notice holds the link: with the timer running behind it, the first request would
    // go out again on every time-out while the box is open.
    f.Timer1.setEnabled(false);
    p.exclamStampa.Open(plat::ShowMode::Modal);
  }
  const auto step = smoke::NextOwnSmokeRequests(f, p.link, p.shell.OpaModelIndex);
  for (const auto& r : step.requests) {
    SendOwnProtocolFrame(p.link, f.program().TestPorts(), p.smoke.OpaDeviceAddress, r.command,
                         r.data);
  }
  if (step.cmdOutEnabled) f.CmdOut.setEnabled(true);
}

void HandleOwnSmokeReply(ANFUMO& f, const std::string& frame) {
  Program& p = f.program();
  const auto out = smoke::HandleOwnSmokeFrame(f, p.link, p.smoke, p.shell, p.shell.OpaModelIndex,
                                              ViewOf(f), frame);
  if (out.use == smoke::OwnReplyUse::Dropped) {
    f.ReplyBuffer.clear();  // as a frame that failed its checks: the time-out applies
    return;
  }
  Apply(f, out.display);
  if (out.valueReply) f.ShowSmokeReadings(smoke::Protocol::Binary);
  f.EndOfFrame();
}

}  // namespace vs
