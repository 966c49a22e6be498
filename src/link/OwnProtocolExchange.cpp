#include "link/OwnProtocolExchange.h"

#include <utility>

#include "link/FrameCollector.h"

namespace vs {

void OwnProtocolExchangeCore::Sent(int deviceAddress, int command) {
  buffer_.clear();
  deviceAddress_ = deviceAddress;
  command_ = command;
  ExchangeTiming::Sent();
}

OwnCollected OwnProtocolExchangeCore::Receive(std::string_view input) {
  if (!AppendReceived(buffer_, input, true)) return {};
  OwnCollected got;
  got.status = CheckOwnProtocolReply(buffer_, deviceAddress_, command_);
  if (got.status != OwnReplyCheck::Complete) return got;
  got.frame = std::exchange(buffer_, std::string());
  Replied();
  return got;
}

void OwnProtocolExchangeCore::Reset() {
  buffer_.clear();
  ExchangeTiming::Reset();
}

}  // namespace vs
