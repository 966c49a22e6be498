// The frames of both protocols: requests byte by byte, replies collected from the bytes as
// they arrive, and the exchange of one port (time-out, re-send and miss count).
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "link/FrameCollector.h"
#include "link/LinkState.h"
#include "link/MctcNetExchange.h"
#include "link/OwnProtocolExchange.h"
#include "link_test_util.h"

namespace vs {
namespace {

using testing::Ctl;
using Status = McnCollected::Status;

std::string Bytes(std::initializer_list<int> v) { return std::string(v.begin(), v.end()); }

TEST(FramesTest, RequestsAreByteExact) {
  for (auto [address, command, data, frame] : {
           std::array<const char*, 4>{"GAS", "ID", "", "<GAS|1|IDC7>"},
           {"GAS", "@LA", "", "<GAS|1|@LA07>"},   // a high checksum digit 0
           {"RPM", "CI", "4", "<RPM|1|CI|425>"},  // one ETB before the data
           {"GAS", "@SA", "BENZINA|NO CAT|04|4|1.730|0.000",
            "<GAS|1|@SA|BENZINA|NO CAT|04|4|1.730|0.000B3>"},
       }) {
    EXPECT_EQ(BuildMctcNetFrame(address, command, "1", Ctl(data)), Ctl(frame)) << frame;
  }
  // Only what follows STX counts, a high byte by its unsigned value; the sum wraps.
  EXPECT_EQ(ComputeMctcNetChecksum(std::string("\x02\xFF\xFF", 3)), "FE\x03");

  EXPECT_EQ(GasChannelList(0, false), Bytes({8, 10, 13, 14, 12, 7, 6, 5, 2}));
  EXPECT_EQ(GasChannelList(2, true), Bytes({8, 3, 9, 11, 8, 7, 6, 5, 2}));
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(256, 'P', ""));
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(49, -1, ""));
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(49, 'P', std::string(254, 'x')));
  EXPECT_EQ(BuildOwnProtocolFrame(49, 'P', std::string(253, 'x')).size(), 261u);
}

// The MCTC-NET collectors of the forms: the test forms' (address GAS, unit 1, echo "@VA"),
// the set-ups' (any echo) and the engine-speed forms' (address RPM, command of 2); and the
// frame check alone with lengths out of range.
enum class Who { TestForm, Setup, Rpm, Check };

TEST(FramesTest, McnRepliesCollectedAgainstTheHeader) {
  // The input as in Ctl, '/' between arrivals; after the last: A;echo;data, D or W;buffer,
  // then ReplyFrameCount, as in Ctl.
  const struct {
    Who who;
    const char *input, *after;
    McnExpect expect = {};
  } rows[] = {
      {Who::TestForm, "</GAS|1|@V/A|1.5|2.5/00>", "A;@VA;1.5|2.5;1"},  // judged at ETX
      {Who::TestForm, "<GAS|1|@VA00>", "A;@VA;;1"},
      {Who::TestForm, "<OPA|1|@VA|100>", "D;1"},
      {Who::TestForm, "<GASX1|@VA|100>", "D;1"},
      {Who::TestForm, "<GAS|1|@RS|A00>", "D;1"},   // the echo of an older command
      {Who::TestForm, "<GAS|12|@VA|100>", "D;1"},  // a longer unit shifts the echo
      {Who::TestForm, "<>", "D;1"},
      {Who::TestForm, "x", "W;;0"},  // a lone first byte other than STX goes
      {Who::TestForm, "xy", "W;xy;0"},
      {Who::TestForm, "xy/<GAS|1|@VA|700>", "A;@VA;7;1"},
      // The rest of a late reply joined to the next; two replies in a burst.
      {Who::TestForm, "<GAS|1|@VA|0/<GAS|1|@VA|0.12|0.1000>", "A;@VA;0.12|0.10;1"},
      {Who::TestForm, "<GAS|1|@VA|100><GAS|1|@VA|200>", "A;@VA;2;1"},
      {Who::Setup, "x", "W;x;0"},
      {Who::Setup, "x/<GAS|1|@RS|M00>", "A;@RS;M;0"},
      {Who::Rpm, "<RPM|1|VE|145000>", "A;VE;1450;0"},
      {Who::Rpm, "<GAS|1|VA|100>", "D;0"},
      {Who::Check, "<GAS|1|@VA|100>", "D;0", {"GAS", -5, 3}},
      {Who::Check, "<GAS|1|@VA|100>", "A;;;0", {"GAS", 1000, 1000}},
  };
  LinkState l;
  l.McnAddress = "GAS";
  l.RpmMcnAddress = "RPM";
  l.McnCommand = "@VA";
  l.McnDevNumberLen = l.RpmMcnDevNumberLen = 1;
  l.McnCommandLen = 3;
  l.RpmMcnCommandLen = 2;
  for (const auto& r : rows) {
    l.ReplyFrameCount = 0;
    std::string buffer, all;
    McnCollected got;
    std::istringstream arrivals(r.input);
    for (std::string in; std::getline(arrivals, in, '/');) {
      all += in = Ctl(in);
      if (r.who == Who::TestForm) AppendReceived(buffer, in, true);
      if (r.who == Who::Check) buffer = in;
      got = r.who == Who::TestForm ? CollectTestFormReply(l, buffer)
            : r.who == Who::Setup  ? CollectSetupReply(l, buffer, in)
            : r.who == Who::Rpm    ? CollectRpmReply(l, buffer, in)
                                   : CollectMctcNetFrame(buffer, r.expect);
    }
    const std::string s = got.status == Status::Waiting   ? "W;" + buffer
                          : got.status == Status::Dropped ? "D"
                                                          : "A;" + got.echo + ";" + got.data;
    EXPECT_EQ(s + ";" + std::to_string(l.ReplyFrameCount), Ctl(r.after)) << r.input;
    // An accepted frame is what arrived from its STX on.
    EXPECT_EQ(got.frame, got.status == Status::Accepted ? all.substr(all.rfind(kStx)) : "");
  }
  // Endless noise without ETX neither grows the buffer nor hides the next reply.
  std::string buffer;
  for (int i = 0; i < 100; ++i) AppendReceived(buffer, std::string(1000, 'x'), true);
  EXPECT_LE(buffer.size(), kMaxReplyBuffer);
  AppendReceived(buffer, Ctl("<GAS|1|@VA|100>"), true);
  EXPECT_EQ(CollectTestFormReply(l, buffer).data, "1");
}

// Binary replies: the first byte other than STX goes, the reply must carry the address and
// command sent, and is judged from its eighth byte; a buffer longer than its length byte
// says is dropped.
TEST(FramesTest, BinaryRepliesCollectedAgainstTheRequest) {
  const auto reply = [](int address, char command) {
    return Bytes({2, address, 6, command, 0, 4}) + "AB" + Bytes({0, 3});
  };
  const std::string ok = reply(16, '?');
  const struct {
    std::vector<std::string> arrivals;
    char last;  // the check of the last arrival: W waiting, D dropped, C complete
  } rows[] = {
      {{ok}, 'C'},
      {{ok.substr(0, 3), ok.substr(3, 4), ok.substr(7)}, 'C'},
      {{"x", ok}, 'C'},
      {{ok + "z", ok}, 'C'},
      {{reply(17, '?')}, 'D'},
      {{Bytes({2, 16, 0x15, '?', 0, 2, 0, 3})}, 'D'},  // no ACK
      {{ok.substr(0, 9) + "\x04"}, 'D'},               // no ETX at N + 6
      {{ok + "z"}, 'D'},
      {{Bytes({2, 16, 6, '?', 0, 0, 0, 3})}, 'D'},  // N too small
      {{reply(16, 'P').substr(0, 8)}, 'D'},
      {{reply(17, 'P').substr(0, 7)}, 'W'},
      {{ok.substr(0, 9)}, 'W'},
  };
  for (const auto& r : rows) {
    OwnProtocolExchangeCore x;
    x.Sent(16, '?');
    OwnCollected got;
    for (const std::string& a : r.arrivals) got = x.Receive(a);
    EXPECT_EQ("WDC"[static_cast<int>(got.status)], r.last) << ::testing::PrintToString(r.arrivals);
    EXPECT_EQ(x.ReplyReady(), r.last == 'C');
    EXPECT_EQ(got.frame, r.last == 'C' ? ok : "");
  }
  // Records of a value reply: channel and four value bytes, data bytes only.
  std::string values = Bytes({2, 49, 6, 'P', 0, 42});
  for (int k = 0; k < 8; ++k) values += Bytes({k, 0, 0, 1, k});
  values += Bytes({0x55, 3});
  EXPECT_EQ(OwnProtocolRecord(values, 0), (std::array<std::uint8_t, 5>{0, 0, 0, 1, 0}));
  EXPECT_EQ(OwnProtocolRecord(values, 7), (std::array<std::uint8_t, 5>{7, 0, 0, 1, 7}));
  EXPECT_FALSE(OwnProtocolRecord(values, 8) || OwnProtocolRecord(values, -1) ||
               OwnProtocolRecord(values.substr(0, 20), 2));
}

// Runs a script on an exchange and writes one letter per tick: I idle, W waiting, R re-send,
// G give up; then the misses, and "+" when the reply is ready. Script: s request sent ("@VA"
// to "GAS"), t tick, r the reply, e a reply echoing another command, x the reply split in two
// arrivals; o "@RS" sent, h and H the halves of its reply, each written as w (waiting), d
// (dropped) or the echo taken.
std::string Play(MctcNetExchangeCore& x, std::string_view script) {
  std::string out;
  const std::string va = Ctl("<GAS|1|@VA|100>"), rs = Ctl("<GAS|1|@RS|00>");
  for (char c : script) {
    const std::size_t split = c == 'x' ? 4 : 0;
    if (c == 's' || c == 'o') x.Sent("GAS", c == 's' ? "@VA" : "@RS", 1);
    if (c == 't') out += "IWRG"[static_cast<int>(x.Tick())];
    if (c == 'e') x.Receive(Ctl("<GAS|1|ID|100>"));
    if (c == 'r' || c == 'x') x.Receive(va.substr(0, split)), x.Receive(va.substr(split));
    if (c != 'h' && c != 'H') continue;
    const McnCollected got = x.Receive(c == 'h' ? rs.substr(0, 5) : rs.substr(5));
    out += got.status == Status::Accepted ? got.echo : got.status == Status::Waiting ? "w" : "d";
  }
  return out + " " + std::to_string(x.Misses()) + (x.ReplyReady() ? "+" : "");
}

TEST(ExchangeTest, TimeOutResendAndMisses) {
  for (auto [name, script, after] : {
           std::array<const char*, 3>{"reply in time", "sttrt", "WWI 0+"},
           {"reply in two pieces", "stxt", "WI 0+"},
           {"a reply after a miss clears the count", "sttt st r", "WWRW 0+"},
           {"another command's echo is no reply", "settt", "WWR 1"},
           {"re-sent, timed out again: give up; a reply then is too late", "sttt sttt r t",
            "WWRWWGI 0"},
           {"a new request restarts the ticks, not the misses", "sttt stt stt", "WWRWWWW 1"},
       }) {
    MctcNetExchangeCore x({3, 2});
    EXPECT_EQ(Play(x, script), after) << name;
  }
  // By default: forty ticks, three misses.
  MctcNetExchangeCore x;
  const std::string send = "s" + std::string(40, 't'), wait(39, 'W');
  EXPECT_EQ(Play(x, send + send + send), wait + "R" + wait + "R" + wait + "G 0");
  // Overlapping requests (a poll that does not wait): a reply split across the next request
  // is still collected, and a late reply to an earlier command comes back with its own echo
  // and is no reply. By default each request starts afresh and other echoes drop.
  for (auto [requests, after] :
       {std::pair{McnRequests::Overlapping, "w@RSW 0+"}, {McnRequests::OneAtATime, "wdW 0+"}}) {
    MctcNetExchangeCore e({3, 2}, requests);
    EXPECT_EQ(Play(e, "ohsHtr"), after);
  }
}

}  // namespace
}  // namespace vs
