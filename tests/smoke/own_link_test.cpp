// The binary smoke link's replies read at the record level: what a short or odd reply gives.
#include <gtest/gtest.h>

#include <string>

#include "link/LinkState.h"
#include "shell/ShellState.h"
#include "smoke/OwnSmokeLink.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"
#include "smoke_test_util.h"

namespace vs::smoke {
namespace {

using namespace std::string_literals;

// A reply frame as the frame check passes it: STX, 'Q', ACK, echo, 0, N, data, sum, ETX.
std::string Reply(char command, const std::string& data) {
  std::string f = {'\x02', 'Q', '\x06', command, '\0', static_cast<char>(data.size() + 2)};
  return f + data + '\x7F' + '\x03';
}

std::string Record(int channel, int high, int low) {
  return {static_cast<char>(channel), '\0', '\0', static_cast<char>(high), static_cast<char>(low)};
}

// Eight records of the usual channels, each with the value 1.
std::string Records() {
  std::string d;
  for (int ch : {3, 5, 6, 0, 2, 8, 1, 7}) d += Record(ch, 0, 1);
  return d;
}

class OwnLink : public ::testing::Test {
 protected:
  OwnSmokeOutcome Handle(char command, const std::string& data, std::int16_t model = 0) {
    return HandleOwnSmokeFrame(f_, link_, smoke_, shell_, model, view_, Reply(command, data));
  }
  SmokeFormFields f_;
  LinkState link_;
  SmokeState smoke_;
  ShellState shell_;
  LinkView view_;
};

TEST_F(OwnLink, ChannelValuesOutOfRangeAndUnknownChannels) {
  struct Row {
    int high, low;
    double value;
  } rows[] = {{0, 0, 0},    {0, 35, 35},  {1, 2, 258},    {127, 255, 32767},
              {128, 0, -1}, {200, 7, -1}, {254, 255, -1}, {255, 255, -1}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.high);
    std::string d = Records();
    d.replace(35, 5, Record(7, r.high, r.low));  // channel 7: k x 100
    f_.ChannelValues[7] = 99;
    EXPECT_EQ(Handle('P', d).use, OwnReplyUse::Handled);
    EXPECT_EQ(f_.ChannelValues[7], r.value);
    EXPECT_EQ(link_.OpaK, r.value / 100);
  }
  // A record of channel 9 or above is ignored; the others are read.
  std::string d = Records();
  d.replace(0, 5, Record(9, 0, 50));
  d.replace(5, 5, Record(255, 0, 50));
  f_.ChannelValues.fill(7);
  const auto out = Handle('P', d);
  EXPECT_TRUE(out.valueReply);
  EXPECT_EQ(f_.ChannelValues[3], 7);
  EXPECT_EQ(f_.ChannelValues[5], 7);
  EXPECT_EQ(f_.ChannelValues[8], 1);
  EXPECT_EQ(link_.OpaRpm, 1);
}

TEST_F(OwnLink, ShortRepliesAreDroppedOrTakeWhatIsThere) {
  smoke_.OpaStatus0 = 0x80;
  f_.LinkState = "SCA";
  // A status reply without byte 11 and a value reply of seven records: nothing read.
  EXPECT_EQ(Handle('?', std::string("\x00\x00\x10\x00", 4)).use, OwnReplyUse::Dropped);
  EXPECT_EQ(smoke_.OpaStatus0, 0x80);
  EXPECT_EQ(Handle('P', Records().substr(0, 35)).use, OwnReplyUse::Dropped);
  EXPECT_EQ(f_.ChannelValues[7], 0);
  EXPECT_EQ(f_.LinkState, "SCA");

  // Identity replies take the characters there are, and set the serial anew each time.
  link_.InstrSerial = "AM";
  EXPECT_EQ(Handle('1', " 123456").use, OwnReplyUse::Handled);
  EXPECT_EQ(Handle('1', " 123456").use, OwnReplyUse::Handled);
  EXPECT_EQ(link_.InstrSerial, "AM123456");
  Handle('1', " 12", 3);
  EXPECT_EQ(link_.InstrSerial, "AP12");
  Handle('1', "");
  EXPECT_EQ(link_.InstrSerial, "AM");
  Handle('a', "311230");
  EXPECT_EQ(link_.InstrExpiry, "31/12/2030");
  Handle('a', "311");
  EXPECT_EQ(link_.InstrExpiry, "31/1/20");
  EXPECT_EQ(f_.LinkState, "DS");
}

TEST_F(OwnLink, ChannelListByModelAndTheQueuedZero) {
  struct Row {
    const char* state;
    std::int16_t model;
    std::int16_t listSent;
    const char* sent;  // command bytes in order
  } rows[] = {
      // The channel list while warming up (model 0) or in the check (models 1 to 4), until
      // it has been answered there; the status otherwise.
      {"RSTRI", 0, 0, "#"},  {"RSTRI", 0, 1, "?"},  {"RSTRI", 1, 0, ""},
      {"RSTCHK", 1, 0, "#"}, {"RSTCHK", 4, 1, "?"}, {"RSTCHK", 0, 0, ""},
      {"RSTATT", 1, 0, "P"}, {"SCA", 5, 0, ""},     {"LDF", 5, 0, "a"},
  };
  for (const Row& r : rows) {
    for (const bool start : {false, true}) {
      SCOPED_TRACE(std::string(r.state) + " model " + std::to_string(r.model));
      f_.LinkState = r.state;
      f_.WarmUpListSent = f_.CheckListSent = r.listSent;
      f_.RequestedStart = start ? "STARTMIS" : "";
      const auto step = NextOwnSmokeRequests(f_, link_, r.model);
      std::string sent;
      for (const auto& q : step.requests) sent += static_cast<char>(q.command);
      EXPECT_EQ(sent, std::string(r.sent) + (start ? "E" : ""));
      if (!sent.empty()) {
        EXPECT_EQ(link_.PendingCommand, sent.back());
      }
      EXPECT_EQ(f_.RequestedStart, "");
      EXPECT_EQ(step.cmdOutEnabled, sent.starts_with("P"));
      if (sent.starts_with("#")) {
        EXPECT_EQ(step.requests[0].data, "\x08\x03\x05\x06\x00\x02\x08\x01\x07"s);
      }
    }
  }
}

}  // namespace
}  // namespace vs::smoke
