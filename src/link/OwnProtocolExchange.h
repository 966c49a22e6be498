#pragma once
// One exchange of the maker's binary protocol over one port, kept by the test form that owns
// the port: its receive buffer, the address byte and command byte it expects back, whether
// the reply came, the ticks since the request went out, and the misses (the time-out rule
// of ExchangeTiming.h). The form's timer calls Tick(), its receive handler Receive();
// nothing else advances it.
#include <string>
#include <string_view>

#include "link/ExchangeTiming.h"
#include "link/OwnProtocolFrame.h"

namespace vs {

struct OwnCollected {
  OwnReplyCheck status = OwnReplyCheck::Waiting;
  std::string frame;  // Complete: the whole reply, STX to ETX, for the reply step
};

class OwnProtocolExchangeCore : public ExchangeTiming {
 public:
  explicit OwnProtocolExchangeCore(ExchangeRules rules = {}) : ExchangeTiming(rules) {}

  // A request went out to `deviceAddress` with command byte `command`: the reply must carry
  // both back. Empties the buffer and starts the count of ticks.
  void Sent(int deviceAddress, int command);

  // Received bytes, appended to the buffer (a first byte other than STX is dropped at once).
  // A whole reply to the request makes the reply ready, clears the miss count and is
  // returned Complete with the buffer emptied; a reply of another address or command, or
  // longer than its own length byte says, is Dropped with the buffer emptied.
  OwnCollected Receive(std::string_view input);

  // Drops whatever part of a reply has arrived.
  void DiscardInput() { buffer_.clear(); }
  // Back to nothing asked: buffer, reply flag, ticks and misses cleared.
  void Reset();

  int DeviceAddress() const { return deviceAddress_; }
  int Command() const { return command_; }

 private:
  std::string buffer_;
  int deviceAddress_ = 0;
  int command_ = 0;
};

// The exchange with the form's own steps (an enum class of the form).
template <class Step>
class OwnProtocolExchange : public OwnProtocolExchangeCore {
 public:
  using OwnProtocolExchangeCore::OwnProtocolExchangeCore;
  Step step{};
};

}  // namespace vs
