#pragma once
// The bookkeeping every request/reply exchange over a port shares, whatever its framing:
// whether a request is out, whether its reply came, the ticks since it went out, and the
// misses in a row. The exchange objects of each protocol (MctcNetExchange.h,
// OwnProtocolExchange.h) hold one.
//
// Time-out rule: a request with no reply after `timeoutTicks` ticks counts one miss and is
// due to be sent again; at `maxMisses` misses in a row the exchange gives up (the miss count
// starts again from zero). A reply clears the miss count.
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

class ExchangeTiming {
 public:
  explicit ExchangeTiming(ExchangeRules rules = {}) : rules_(rules) {}

  // A request went out: the ticks count from zero and no reply has come.
  void Sent();
  // The reply to the outstanding request came (nothing happens when none is out).
  void Replied();
  // One tick of the form's timer (see the time-out rule above).
  TickOutcome Tick();
  // Back to nothing asked: reply flag, ticks and misses cleared.
  void Reset();

  bool ReplyReady() const { return replyReady_; }
  bool Pending() const { return pending_; }
  int TicksSinceSend() const { return ticks_; }
  int Misses() const { return misses_; }
  const ExchangeRules& Rules() const { return rules_; }

 private:
  ExchangeRules rules_;
  bool pending_ = false;     // a request is out and no reply has come
  bool replyReady_ = false;  // the reply to the last request came
  int ticks_ = 0;
  int misses_ = 0;
};

}  // namespace vs
