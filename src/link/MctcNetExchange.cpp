#include "link/MctcNetExchange.h"

namespace vs {

void MctcNetExchangeCore::Sent(std::string_view address, std::string_view command, int unitLen) {
  if (requests_ == McnRequests::OneAtATime) buffer_.clear();
  address_ = address;
  command_ = command;
  unitLen_ = unitLen;
  ExchangeTiming::Sent();
}

McnCollected MctcNetExchangeCore::Receive(std::string_view input) {
  if (!AppendReceived(buffer_, input, false)) return {};
  McnCollected got =
      CollectMctcNetFrame(buffer_, {address_, unitLen_, static_cast<int>(command_.size())});
  if (got.status != McnCollected::Status::Accepted) return got;
  if (got.echo != command_) {
    if (requests_ == McnRequests::Overlapping) return got;
    return {McnCollected::Status::Dropped, {}, {}, {}};
  }
  Replied();
  return got;
}

void MctcNetExchangeCore::Reset() {
  buffer_.clear();
  ExchangeTiming::Reset();
}

}  // namespace vs
