#include "link/ExchangeTiming.h"

namespace vs {

void ExchangeTiming::Sent() {
  pending_ = true;
  replyReady_ = false;
  ticks_ = 0;
}

void ExchangeTiming::Replied() {
  if (!pending_) return;
  pending_ = false;
  replyReady_ = true;
  misses_ = 0;
}

TickOutcome ExchangeTiming::Tick() {
  if (!pending_) return TickOutcome::Idle;
  if (++ticks_ < rules_.timeoutTicks) return TickOutcome::Waiting;
  ticks_ = 0;
  if (++misses_ < rules_.maxMisses) return TickOutcome::Resend;
  misses_ = 0;
  pending_ = false;
  return TickOutcome::GiveUp;
}

void ExchangeTiming::Reset() {
  pending_ = replyReady_ = false;
  ticks_ = misses_ = 0;
}

}  // namespace vs
