// The exchange of one port: time-out, re-send and miss count.
#include <gtest/gtest.h>

#include <string>

#include "link/MctcNetExchange.h"
#include "link_test_util.h"

namespace vs {
namespace {

using testing::Ctl;

// Runs a script on an exchange and writes one letter per tick: I idle, W waiting, R re-send,
// G give up. Script: s request sent ("@VA" to "GAS"), t tick, r the reply, e a reply echoing
// another command, x the reply split in two arrivals.
std::string Play(MctcNetExchangeCore& x, std::string_view script) {
  std::string ticks;
  const std::string reply = Ctl("<GAS|1|@VA|100>");
  for (char c : script) {
    const std::size_t split = c == 'x' ? 4 : 0;
    if (c == 's') x.Sent("GAS", "@VA", 1);
    if (c == 't') ticks += "IWRG"[static_cast<int>(x.Tick())];
    if (c == 'e') x.Receive(Ctl("<GAS|1|ID|100>"));
    if (c == 'r' || c == 'x') x.Receive(reply.substr(0, split)), x.Receive(reply.substr(split));
  }
  return ticks;
}

TEST(ExchangeTest, TimeOutResendAndMisses) {
  struct Case {
    const char* name;
    const char* script;
    const char* ticks;
    int misses;
    bool ready;
  };
  const Case cases[] = {
      {"nothing asked", "ttt", "III", 0, false},
      {"reply in time", "sttrt", "WWI", 0, true},
      {"reply in two pieces", "stxt", "WI", 0, true},
      {"time-out asks for a re-send", "sttt", "WWR", 1, false},
      {"re-sent and timed out again: give up", "sttt sttt t", "WWRWWGI", 0, false},
      {"a reply after a miss clears the count", "sttt st r", "WWRW", 0, true},
      {"another command's echo is no reply", "settt", "WWR", 1, false},
      {"a reply after giving up is too late", "sttt sttt r t", "WWRWWGI", 0, false},
      {"a new request restarts the ticks, not the misses", "sttt stt stt", "WWRWWWW", 1, false},
  };
  for (const Case& c : cases) {
    MctcNetExchangeCore x({3, 2});
    EXPECT_EQ(Play(x, c.script), c.ticks) << c.name;
    EXPECT_EQ(x.Misses(), c.misses) << c.name;
    EXPECT_EQ(x.ReplyReady(), c.ready) << c.name;
  }
  // By default: forty ticks, three misses.
  MctcNetExchangeCore x;
  const std::string send = "s" + std::string(40, 't'), wait(39, 'W');
  EXPECT_EQ(Play(x, send + send + send), wait + "R" + wait + "R" + wait + "G");
}

// Overlapping requests (a poll that does not wait): a reply split across the next request
// is still collected, and a late reply to an earlier command comes back with its own echo.
// By default each request starts afresh and other echoes drop.
TEST(ExchangeTest, OverlappingRequestsKeepThePartialReplyAndTakeEveryEcho) {
  const std::string late = Ctl("<RPM|1|CI|00>");
  MctcNetExchangeCore x({}, McnRequests::Overlapping), strict;
  for (MctcNetExchangeCore* e : {&x, &strict}) {
    e->Sent("RPM", "CI", 1);
    EXPECT_EQ(e->Receive(late.substr(0, 5)).status, McnCollected::Status::Waiting);
    e->Sent("RPM", "VA", 1);
  }
  EXPECT_EQ(x.Receive(late.substr(5)).echo, "CI");
  EXPECT_FALSE(x.ReplyReady());  // not the reply to "VA"
  EXPECT_EQ(x.Receive(Ctl("<RPM|1|VA|85000>")).echo, "VA");
  EXPECT_TRUE(x.ReplyReady());
  EXPECT_EQ(strict.Receive(late.substr(5)).status, McnCollected::Status::Dropped);
}

}  // namespace
}  // namespace vs
