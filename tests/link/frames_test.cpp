#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "link_test_util.h"

namespace vs {
namespace {

using testing::Ctl;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

TEST(MctcNetFrameTest, RequestsAreByteExact) {
  const struct {
    const char *address, *command, *data, *frame;
  } cases[] = {
      {"GAS", "ID", "", "<GAS|1|IDC7>"},
      {"GAS", "@LA", "", "<GAS|1|@LA07>"},  // checksums whose high digit is 0
      {"GAS", "@LI", "", "<GAS|1|@LI0F>"},
      // With data: one ETB before it; ETBs inside the data separate fields.
      {"OPA", "@LU", "21", "<OPA|1|@LU|219A>"},
      {"RPM", "CI", "4", "<RPM|1|CI|425>"},
      {"GAS", "@LU", "047", "<GAS|1|@LU|047CD>"},
      {"GAS", "@SA", "BENZINA|NO CAT|04|4|1.730|0.000",
       "<GAS|1|@SA|BENZINA|NO CAT|04|4|1.730|0.000B3>"},  // the longest request: 45 bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BuildMctcNetFrame(c.address, c.command, "1", Ctl(c.data)), Ctl(c.frame)) << c.frame;
  }
  EXPECT_EQ(ComputeMctcNetChecksum(Ctl("<GAS|1|ID")), Ctl("C7>"));
  // 0x02 itself is not counted: only what follows position 1.
  EXPECT_EQ(ComputeMctcNetChecksum(std::string("\x02\x0A", 2)), "0A\x03");
  EXPECT_EQ(ComputeMctcNetChecksum("\x02"), "00\x03");
  // High bytes count by their unsigned value; the sum wraps to its low byte.
  EXPECT_EQ(ComputeMctcNetChecksum(std::string("\x02\xFF\xFF", 3)), "FE\x03");
}

TEST(OwnProtocolFrameTest, RequestsWithoutData) {
  EXPECT_EQ(BuildOwnProtocolFrame(49, 'P', ""), Bytes({2, 49, 0, 80, 0, 2, 123, 3}));
  EXPECT_EQ(BuildOwnProtocolFrame(33, '$', ""), Bytes({2, 33, 0, 36, 0, 2, 183, 3}));
  EXPECT_EQ(BuildOwnProtocolFrame(81, 'a', ""), Bytes({2, 81, 0, 97, 0, 2, 74, 3}));
  EXPECT_EQ(BuildOwnProtocolFrame(49, '&', "C"), Bytes({2, 49, 0, 38, 0, 3, 67, 97, 3}));
  // A sum that is a multiple of 256 gives 0, not 256.
  EXPECT_EQ(ComputeOwnProtocolChecksum(200, 52, 2, ""), 0);
}

TEST(OwnProtocolFrameTest, ChannelListRequests) {
  EXPECT_EQ(BuildOwnProtocolFrame(49, '#', GasChannelList(0, false)),
            Bytes({2, 49, 0, 35, 0, 11, 8, 10, 13, 14, 12, 7, 6, 5, 2, 82, 3}));
  EXPECT_EQ(BuildOwnProtocolFrame(49, '#', GasChannelList(1, true)),
            Bytes({2, 49, 0, 35, 0, 11, 8, 10, 18, 14, 12, 7, 6, 5, 2, 77, 3}));
  EXPECT_EQ(BuildOwnProtocolFrame(33, '#', GasChannelList(2, true)),
            Bytes({2, 33, 0, 35, 0, 11, 8, 3, 9, 11, 8, 7, 6, 5, 2, 116, 3}));
  EXPECT_EQ(BuildOwnProtocolFrame(81, '#', OpaChannelList()),
            Bytes({2, 81, 0, 35, 0, 11, 8, 3, 5, 6, 0, 2, 8, 1, 7, 87, 3}));
}

TEST(OwnProtocolFrameTest, RefusesWhatIsNotAByte) {
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(256, 'P', ""));
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(49, -1, ""));
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(49, 'P', std::string(254, 'x')));
  EXPECT_EQ(BuildOwnProtocolFrame(49, 'P', std::string(253, 'x')).size(), 261u);
}

// A "P" reply of 8 records from address 49: 48 bytes, N = 42.
std::string ValueReply(int echo = 'P') {
  std::string r = Bytes({2, 49, 6, echo, 0, 42});
  for (int k = 0; k < 8; ++k) r += Bytes({k, 0, 0, 1, k});
  r += Bytes({0x55, 3});
  return r;
}

TEST(OwnProtocolReplyTest, CompleteWaitingAndDropped) {
  const std::string reply = ValueReply();
  ASSERT_EQ(reply.size(), 48u);
  std::string buf;
  // Fed byte by byte: waits until the last byte, then complete with the buffer intact.
  for (std::size_t i = 0; i + 1 < reply.size(); ++i) {
    buf += reply[i];
    ASSERT_EQ(CheckOwnProtocolReply(buf, 49, 'P'), OwnReplyCheck::Waiting) << i;
  }
  buf += reply.back();
  EXPECT_EQ(CheckOwnProtocolReply(buf, 49, 'P'), OwnReplyCheck::Complete);
  EXPECT_EQ(buf, reply);

  struct Case {
    const char* what;
    std::string buffer;
  };
  std::string wrongEtx = reply;
  wrongEtx.back() = 4;
  const std::vector<Case> dropped = {
      {"echo of an older command", ValueReply('?')},
      {"other address", Bytes({2, 33, 6, 'P', 0, 2, 0, 3})},
      {"no ACK", Bytes({2, 49, 0x15, 'P', 0, 2, 0, 3})},
      {"no ETX at N + 6", wrongEtx},
      {"one byte longer than N + 6", reply + "x"},
      {"N too small for the buffer", Bytes({2, 49, 6, 'P', 0, 0, 0, 3})},
  };
  for (const auto& c : dropped) {
    buf = c.buffer;
    EXPECT_EQ(CheckOwnProtocolReply(buf, 49, 'P'), OwnReplyCheck::Dropped) << c.what;
    EXPECT_TRUE(buf.empty()) << c.what;
  }
  // The header is judged as soon as 8 bytes are there, before the frame is complete.
  buf = ValueReply('?').substr(0, 8);
  EXPECT_EQ(CheckOwnProtocolReply(buf, 49, 'P'), OwnReplyCheck::Dropped);
  buf = reply.substr(0, 7);
  EXPECT_EQ(CheckOwnProtocolReply(buf, 33, 'X'), OwnReplyCheck::Waiting);
}

TEST(OwnProtocolReplyTest, Records) {
  const std::string reply = ValueReply();
  for (int k = 0; k < 8; ++k) {
    const auto r = OwnProtocolRecord(reply, k);
    ASSERT_TRUE(r);
    EXPECT_EQ((*r)[0], k);
    EXPECT_EQ((*r)[3], 1);
    EXPECT_EQ((*r)[4], k);
  }
  EXPECT_FALSE(OwnProtocolRecord(reply, 8));
  EXPECT_FALSE(OwnProtocolRecord(reply, -1));
  EXPECT_FALSE(OwnProtocolRecord(reply.substr(0, 20), 2));
}

}  // namespace
}  // namespace vs
