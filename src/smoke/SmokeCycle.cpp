#include "smoke/SmokeCycle.h"

#include "link/LinkState.h"
#include "link/OwnProtocolFrame.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"

namespace vs {

SmokeTick SmokeTickStep(SmokeFormFields& f, SmokeState& s, const LinkState& link) {
  ++f.SmokeTickCount;
  ++s.OpaTicksSinceSend;
  const bool mctcNet = link.ActiveComMode == 2;
  if (!mctcNet && link.ActiveComMode != 1) return SmokeTick::Wait;
  if (mctcNet) {
    if (f.RequestedLinkState == "RSTSB") f.LinkState = "STANDBY";
    if (f.RequestedLinkState == "STARTMIS") f.LinkState = "STARTMIS";
  }
  if (s.OpaReplyReady == 1) {
    s.OpaReplyReady = 0;
    s.OpaTicksSinceSend = 0;
    return mctcNet ? SmokeTick::SendMctcNet : SmokeTick::SendOwn;
  }
  if (s.OpaTicksSinceSend > kSmokeTimeoutTicks) {
    s.OpaReplyReady = 1;
    f.ReplyBuffer.clear();
    return SmokeTick::TimedOut;
  }
  return SmokeTick::Wait;
}

SmokeFrame CollectSmokeReply(SmokeFormFields& f, LinkState& link, const SmokeState& s,
                             std::string_view input) {
  SmokeFrame out;
  if (!AppendReceived(f.ReplyBuffer, input, true)) return out;
  if (link.ActiveComMode == 2) {
    out.mcn = CollectTestFormReply(link, f.ReplyBuffer);
    if (out.mcn.status == McnCollected::Status::Accepted) out.kind = SmokeFrame::Kind::MctcNet;
  } else if (link.ActiveComMode == 1) {
    if (CheckOwnProtocolReply(f.ReplyBuffer, s.OpaDeviceAddress, link.PendingCommand) ==
        OwnReplyCheck::Complete) {
      out.kind = SmokeFrame::Kind::Own;
      out.own = f.ReplyBuffer;
    }
  }
  return out;
}

void EndSmokeFrame(SmokeFormFields& f, SmokeState& s) {
  f.ReplyBuffer.clear();
  s.OpaReplyReady = 1;
}

}  // namespace vs
