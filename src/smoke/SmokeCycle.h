#pragma once
// The request/reply cycle of the smoke test form, common to both protocols: at most one
// request outstanding; the next goes out on the tick after the reply has been handled; a
// request with no handled reply after more than 40 ticks is given up ("ERRORE COM") and
// sent again on the next tick, without limit.
#include <cstdint>
#include <string>
#include <string_view>

#include "link/FrameCollector.h"

namespace vs {

struct LinkState;
struct SmokeState;
struct SmokeFormFields;

inline constexpr int kSmokeTickMs = 25;
inline constexpr std::int32_t kSmokeTimeoutTicks = 40;  // given up when more have passed
inline constexpr const char* kSmokeComError = "ERRORE COM";

enum class SmokeTick {
  Wait,         // a request is outstanding
  SendMctcNet,  // run the MCTC-NET request step
  SendOwn,      // run the binary request step
  TimedOut,     // show "ERRORE COM"; the next tick sends again
};

// One tick of the 25 ms timer. Counts the tick, takes the handshake when a request may go
// out (OpaReplyReady 0, ticks since send 0) and says which request step to run. A time-out
// also empties the receive buffer, so that a late piece of the old reply is not joined to
// the reply of the repeated request.
SmokeTick SmokeTickStep(SmokeFormFields& f, SmokeState& s, const LinkState& link);

// A frame the receive step has collected and checked.
struct SmokeFrame {
  enum class Kind { None, MctcNet, Own };
  Kind kind = Kind::None;
  McnCollected mcn;  // MctcNet: the frame, its echo and data
  std::string own;   // Own: the whole binary reply frame
};

// Received input of the smoke port: appended to ReplyBuffer (a lone byte other than STX is
// dropped), then judged by the frame check of the protocol in use against the expected
// header and the command sent last. A rejected frame empties the buffer and leaves the
// handshake as it is; an incomplete one waits for more input.
SmokeFrame CollectSmokeReply(SmokeFormFields& f, LinkState& link, const SmokeState& s,
                             std::string_view input);

// The common end of every handled frame: the buffer emptied, the next request may go out.
void EndSmokeFrame(SmokeFormFields& f, SmokeState& s);

}  // namespace vs
