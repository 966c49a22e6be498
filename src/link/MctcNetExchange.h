#pragma once
// One MCTC-NET request/reply exchange over one port, kept by the form that owns the port:
// its receive buffer, the header and command it expects back, whether the reply came, the
// ticks since the request went out, and the misses. The form's timer calls Tick(), its
// receive handler Receive(); nothing else advances it.
//
// Time-out rule: a request with no reply after `timeoutTicks` ticks counts one miss and is
// due to be sent again; at `maxMisses` misses in a row the exchange gives up (the miss count
// starts again from zero). A reply clears the miss count.
#include <string>
#include <string_view>

#include "link/FrameCollector.h"

namespace vs {

struct ExchangeRules {
  int timeoutTicks = 40;  // one second of a 25 ms timer
  int maxMisses = 3;
};

enum class TickOutcome {
  Idle,     // nothing asked, or the reply is ready
  Waiting,  // asked, within the time-out
  Resend,   // timed out: send the same request again
  GiveUp,   // timed out for the last time
};

class MctcNetExchangeCore {
 public:
  explicit MctcNetExchangeCore(ExchangeRules rules = {}) : rules_(rules) {}

  // A request went out: the reply must come from `address`, echo `command` and carry a
  // unit `unitLen` characters long. Empties the buffer and starts the count of ticks.
  void Sent(std::string_view address, std::string_view command, int unitLen);

  // Received bytes. An accepted frame whose echo is the command sent makes the reply ready
  // and clears the miss count; a frame with another echo is returned Dropped.
  McnCollected Receive(std::string_view input);

  // One tick of the form's timer (see the time-out rule above).
  TickOutcome Tick();

  // Drops whatever part of a reply has arrived.
  void DiscardInput() { buffer_.clear(); }
  // Back to nothing asked: buffer, reply flag, ticks and misses cleared.
  void Reset();

  bool ReplyReady() const { return replyReady_; }
  bool Pending() const { return pending_; }
  int TicksSinceSend() const { return ticks_; }
  int Misses() const { return misses_; }
  const std::string& Address() const { return address_; }
  const std::string& Command() const { return command_; }
  const ExchangeRules& Rules() const { return rules_; }

 private:
  ExchangeRules rules_;
  std::string buffer_;
  std::string address_, command_;
  int unitLen_ = 0;
  bool pending_ = false;     // a request is out and no reply has come
  bool replyReady_ = false;  // the reply to the last request came
  int ticks_ = 0;
  int misses_ = 0;
};

// The exchange with the form's own steps (an enum class of the form).
template <class Step>
class MctcNetExchange : public MctcNetExchangeCore {
 public:
  using MctcNetExchangeCore::MctcNetExchangeCore;
  Step step{};
};

}  // namespace vs
