#pragma once
// One MCTC-NET request/reply exchange over one port, kept by the form that owns the port:
// its receive buffer, the header and command it expects back, whether the reply came, the
// ticks since the request went out, and the misses. The form's timer calls Tick(), its
// receive handler Receive(); nothing else advances it.
//
// The time-out rule is that of ExchangeTiming.h.
#include <string>
#include <string_view>

#include "link/ExchangeTiming.h"
#include "link/FrameCollector.h"

namespace vs {

// How the requests on the port follow each other.
enum class McnRequests {
  OneAtATime,  // each request waits for the reply to the one before, or its time-out
  // Requests on a fixed beat that do not wait (the engine-speed counter's poll): a request
  // keeps what has arrived of an earlier reply, and a reply echoing another command than
  // the last one is still returned, for the form to act on by its own echo.
  Overlapping,
};

class MctcNetExchangeCore : public ExchangeTiming {
 public:
  explicit MctcNetExchangeCore(ExchangeRules rules = {},
                               McnRequests requests = McnRequests::OneAtATime)
      : ExchangeTiming(rules), requests_(requests) {}

  // A request went out: the reply must come from `address`, echo `command` and carry a
  // unit `unitLen` characters long. Empties the buffer (unless requests overlap) and starts
  // the count of ticks.
  void Sent(std::string_view address, std::string_view command, int unitLen);

  // Received bytes. An accepted frame whose echo is the command sent makes the reply ready
  // and clears the miss count; a frame with another echo is returned Dropped, or Accepted
  // when requests overlap.
  McnCollected Receive(std::string_view input);

  // Drops whatever part of a reply has arrived.
  void DiscardInput() { buffer_.clear(); }
  // Back to nothing asked: buffer, reply flag, ticks and misses cleared.
  void Reset();

  const std::string& Address() const { return address_; }
  const std::string& Command() const { return command_; }

 private:
  McnRequests requests_;
  std::string buffer_;
  std::string address_, command_;
  int unitLen_ = 0;
};

// The exchange with the form's own steps (an enum class of the form).
template <class Step>
class MctcNetExchange : public MctcNetExchangeCore {
 public:
  using MctcNetExchangeCore::MctcNetExchangeCore;
  Step step{};
};

}  // namespace vs
