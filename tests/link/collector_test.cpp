#include <gtest/gtest.h>

#include <string>

#include "link/FrameCollector.h"
#include "link_test_util.h"
#include "state/ProgramState.h"

namespace vs {
namespace {

using testing::BareReply;
using testing::Fields;
using testing::Reply;
using Status = McnCollected::Status;

class CollectorTest : public ::testing::Test {
 protected:
  CollectorTest() {
    l.McnAddress = "GAS";
    l.McnDevNumber = "1";
    l.McnDevNumberLen = 1;
    l.McnCommand = "@VA";
    l.McnCommandLen = 3;
  }
  // The test forms' receive step.
  McnCollected Receive(std::string_view input) {
    AppendReceived(buffer, input, true);
    return CollectTestFormReply(l, buffer);
  }
  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
  std::string buffer;
};

TEST_F(CollectorTest, ReplySplitOverEventsIsJudgedOnceAtItsEtx) {
  const std::string reply = Reply("@VA", Fields({"1.5", "2.5"}));
  EXPECT_EQ(Receive(reply.substr(0, 1)).status, Status::Waiting);
  EXPECT_EQ(Receive(reply.substr(1, 9)).status, Status::Waiting);
  EXPECT_EQ(l.ReplyFrameCount, 0);
  const McnCollected got = Receive(reply.substr(10));
  ASSERT_EQ(got.status, Status::Accepted);
  EXPECT_EQ(got.frame, reply);
  EXPECT_EQ(got.echo, "@VA");
  EXPECT_EQ(got.data, Fields({"1.5", "2.5"}));
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(l.ReplyFrameCount, 1);
  // A frame without data gives an empty data text.
  l.McnCommand = "ID";
  l.McnCommandLen = 2;
  const McnCollected bare = Receive(BareReply("ID"));
  EXPECT_EQ(bare.status, Status::Accepted);
  EXPECT_EQ(bare.data, "");
}

TEST_F(CollectorTest, WrongHeaderOrEchoIsDroppedAndCounted) {
  struct Case {
    const char* what;
    std::string input;
  };
  std::string noEtb = Reply("@VA", "1");
  noEtb[4] = 'X';
  const Case cases[] = {
      {"other device", Reply("@VA", "1", "OPA")},
      {"no ETB after the address", noEtb},
      {"echo of an older command", Reply("@RS", "A")},
      {"unit of two characters shifts the echo", Reply("@VA", "1", "GAS", "12")},
      {"garbage ending in ETX", "\x02zz\x01\x03"},
      {"ETX alone after a stray STX", "\x02\x03"},
  };
  int count = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(Receive(c.input).status, Status::Dropped) << c.what;
    EXPECT_TRUE(buffer.empty()) << c.what;
    EXPECT_EQ(l.ReplyFrameCount, ++count) << c.what;
  }
}

TEST_F(CollectorTest, LoneFirstByteOtherThanStxIsDroppedByTestForms) {
  EXPECT_EQ(Receive("x").status, Status::Waiting);
  EXPECT_TRUE(buffer.empty());
  // Two bytes in one event stay until an ETX comes; the reply then has a header after
  // the start, and what precedes it goes.
  Receive("xy");
  EXPECT_EQ(buffer, "xy");
  const std::string reply = Reply("@VA", "7");
  EXPECT_EQ(Receive(reply).status, Status::Accepted);
  // Other forms keep a lone byte.
  std::string setup;
  l.McnCommand = "ID";
  l.McnCommandLen = 2;
  EXPECT_EQ(CollectSetupReply(l, setup, "x").status, Status::Waiting);
  EXPECT_EQ(setup, "x");
  const McnCollected got = CollectSetupReply(l, setup, Reply("ID", "M"));
  EXPECT_EQ(got.status, Status::Accepted);
  EXPECT_EQ(got.frame, Reply("ID", "M"));
}

TEST_F(CollectorTest, LateFragmentJoinedToTheRepeatedReplyIsCutOff) {
  const std::string reply = Reply("@VA", Fields({"0.12", "0.10", "14.2"}));
  // The rest of an answer that came too late, then the answer to the repeated request.
  Receive(reply.substr(0, 12));
  const McnCollected got = Receive(reply);
  ASSERT_EQ(got.status, Status::Accepted);
  EXPECT_EQ(got.frame, reply);
  EXPECT_EQ(got.data, Fields({"0.12", "0.10", "14.2"}));
  // Two whole replies in one burst: the last one is judged.
  const McnCollected two = Receive(Reply("@VA", "1") + Reply("@VA", "2"));
  ASSERT_EQ(two.status, Status::Accepted);
  EXPECT_EQ(two.data, "2");
  // Our reply after the fragment of another device's reply.
  Receive(testing::Ctl("<OPA|"));
  EXPECT_EQ(Receive(reply).status, Status::Accepted);
  // A burst that ends inside the second frame waits for the rest.
  const std::string b = Reply("@VA", "2");
  EXPECT_EQ(Receive(Reply("@VA", "1") + b.substr(0, 6)).status, Status::Waiting);
  EXPECT_EQ(Receive(b.substr(6)).data, "2");
}

TEST_F(CollectorTest, EndlessNoiseWithoutEtxNeitherGrowsTheBufferNorHidesTheNextReply) {
  const std::string noise(1000, 'x');
  for (int i = 0; i < 100; ++i) EXPECT_EQ(Receive(noise).status, Status::Waiting);
  EXPECT_LE(buffer.size(), kMaxReplyBuffer);
  const McnCollected got = Receive(Reply("@VA", "1"));
  ASSERT_EQ(got.status, Status::Accepted);
  EXPECT_EQ(got.data, "1");
}

TEST_F(CollectorTest, EngineSpeedFormsUseTheirOwnHeader) {
  l.RpmMcnAddress = "RPM";
  l.RpmMcnDevNumber = "1";
  l.RpmMcnDevNumberLen = 1;
  l.RpmMcnCommand = "VA";
  l.RpmMcnCommandLen = 2;
  std::string rpmBuffer;
  const McnCollected got = CollectRpmReply(l, rpmBuffer, Reply("VE", "1450", "RPM"));
  ASSERT_EQ(got.status, Status::Accepted);
  EXPECT_EQ(got.echo, "VE");  // the engine-speed form acts on any echo
  EXPECT_EQ(got.data, "1450");
  EXPECT_EQ(CollectRpmReply(l, rpmBuffer, Reply("VA", "1", "GAS")).status, Status::Dropped);
  EXPECT_EQ(CollectRpmReply(l, rpmBuffer, "").status, Status::Waiting);
  EXPECT_EQ(l.ReplyFrameCount, 0);  // only the test forms count
}

TEST_F(CollectorTest, NegativeLengthsNeverCutOutOfBounds) {
  const std::string reply = Reply("@VA", "1");
  std::string buf = reply;
  EXPECT_EQ(CollectMctcNetFrame(buf, {"GAS", -5, 3}).status, Status::Dropped);
  buf = reply;
  const McnCollected huge = CollectMctcNetFrame(buf, {"GAS", 1000, 1000});
  EXPECT_EQ(huge.status, Status::Accepted);
  EXPECT_EQ(huge.echo, "");
  EXPECT_EQ(huge.data, "");
}

}  // namespace
}  // namespace vs
