#include "link/MctcNetExchange.h"

namespace vs {

void MctcNetExchangeCore::Sent(std::string_view address, std::string_view command, int unitLen) {
  buffer_.clear();
  address_ = address;
  command_ = command;
  unitLen_ = unitLen;
  pending_ = true;
  replyReady_ = false;
  ticks_ = 0;
}

McnCollected MctcNetExchangeCore::Receive(std::string_view input) {
  if (!AppendReceived(buffer_, input, false)) return {};
  McnCollected got =
      CollectMctcNetFrame(buffer_, {address_, unitLen_, static_cast<int>(command_.size())});
  if (got.status != McnCollected::Status::Accepted) return got;
  if (got.echo != command_) return {McnCollected::Status::Dropped, {}, {}, {}};
  if (pending_) {
    pending_ = false;
    replyReady_ = true;
    misses_ = 0;
  }
  return got;
}

TickOutcome MctcNetExchangeCore::Tick() {
  if (!pending_) return TickOutcome::Idle;
  if (++ticks_ < rules_.timeoutTicks) return TickOutcome::Waiting;
  ticks_ = 0;
  if (++misses_ < rules_.maxMisses) return TickOutcome::Resend;
  misses_ = 0;
  pending_ = false;
  return TickOutcome::GiveUp;
}

void MctcNetExchangeCore::Reset() {
  buffer_.clear();
  pending_ = replyReady_ = false;
  ticks_ = misses_ = 0;
}

}  // namespace vs
