// The exchange of one port: time-out, re-send and miss count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/MctcNetExchange.h"
#include "link/OwnProtocolExchange.h"
#include "link_test_util.h"

namespace vs {
namespace {

// Runs a script on an exchange and writes one letter per tick: I idle, W waiting, R re-send,
// G give up. Script: s request sent ("@VA" to "GAS"), t tick, r the reply, e a reply echoing
// another command, x the reply split in two arrivals.
std::string Play(MctcNetExchangeCore& x, std::string_view script) {
  std::string ticks;
  const std::string reply = testing::Reply("@VA", "1");
  for (char c : script) {
    switch (c) {
      case 's':
        x.Sent("GAS", "@VA", 1);
        break;
      case 't':
        ticks += "IWRG"[static_cast<int>(x.Tick())];
        break;
      case 'r':
        x.Receive(reply);
        break;
      case 'e':
        x.Receive(testing::Reply("ID", "1"));
        break;
      case 'x':
        x.Receive(reply.substr(0, 4));
        x.Receive(reply.substr(4));
        break;
      default:
        break;
    }
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
}

TEST(ExchangeTest, DefaultTimeOutIsFortyTicksAndThreeMisses) {
  MctcNetExchangeCore x;
  const std::string wait(39, 'W');
  EXPECT_EQ(Play(x, "s" + std::string(40, 't')), wait + "R");
  EXPECT_EQ(Play(x, "s" + std::string(40, 't')), wait + "R");
  EXPECT_EQ(Play(x, "s" + std::string(40, 't')), wait + "G");
}

// Binary replies: the first byte other than STX is dropped, the reply must carry the address
// and command sent, and a buffer longer than its length byte says is dropped.
TEST(ExchangeTest, BinaryRepliesAreCollectedAgainstTheRequest) {
  const auto reply = [](char addr, char cmd, std::string data) {
    return std::string{'\x02', addr, '\x06', cmd, '\0', static_cast<char>(data.size() + 2)} + data +
           std::string{'\0', '\x03'};
  };
  const std::string ok = reply('\x10', '?', "AB");
  struct Case {
    const char* name;
    std::vector<std::string> arrivals;
    OwnReplyCheck last;
    bool ready;
  };
  const Case cases[] = {
      {"whole reply", {ok}, OwnReplyCheck::Complete, true},
      {"in three pieces",
       {ok.substr(0, 3), ok.substr(3, 4), ok.substr(7)},
       OwnReplyCheck::Complete,
       true},
      {"a stray byte first is dropped", {"x", ok}, OwnReplyCheck::Complete, true},
      {"another command", {reply('\x10', 'P', "AB")}, OwnReplyCheck::Dropped, false},
      {"another address", {reply('\x11', '?', "AB")}, OwnReplyCheck::Dropped, false},
      {"a byte too many", {ok + "z"}, OwnReplyCheck::Dropped, false},
      {"dropped, then the reply again", {ok + "z", ok}, OwnReplyCheck::Complete, true},
      {"not yet whole", {ok.substr(0, 9)}, OwnReplyCheck::Waiting, false},
  };
  for (const Case& c : cases) {
    OwnProtocolExchangeCore x;
    x.Sent(0x10, '?');
    OwnCollected got;
    for (const std::string& a : c.arrivals) got = x.Receive(a);
    EXPECT_EQ(got.status, c.last) << c.name;
    EXPECT_EQ(x.ReplyReady(), c.ready) << c.name;
    if (c.ready) {
      EXPECT_EQ(got.frame, ok) << c.name;
    }
  }
}

// Overlapping requests (a poll that does not wait): a reply split across the next request
// is still collected, and a late reply to an earlier command comes back with its own echo.
TEST(ExchangeTest, OverlappingRequestsKeepThePartialReplyAndTakeEveryEcho) {
  MctcNetExchangeCore x({}, McnRequests::Overlapping);
  const std::string late = testing::Reply("CI", "", "RPM");
  x.Sent("RPM", "CI", 1);
  EXPECT_EQ(x.Receive(late.substr(0, 5)).status, McnCollected::Status::Waiting);
  x.Sent("RPM", "VA", 1);
  const McnCollected got = x.Receive(late.substr(5));
  EXPECT_EQ(got.status, McnCollected::Status::Accepted);
  EXPECT_EQ(got.echo, "CI");
  EXPECT_FALSE(x.ReplyReady());  // not the reply to "VA"
  EXPECT_EQ(x.Receive(testing::Reply("VA", "850", "RPM")).echo, "VA");
  EXPECT_TRUE(x.ReplyReady());

  MctcNetExchangeCore strict;  // the default: each request starts afresh, other echoes drop
  strict.Sent("RPM", "CI", 1);
  strict.Receive(late.substr(0, 5));
  strict.Sent("RPM", "VA", 1);
  EXPECT_EQ(strict.Receive(late.substr(5)).status, McnCollected::Status::Dropped);
}

}  // namespace
}  // namespace vs
