// Message boxes raised while the gas test form handles a reply wait until the reply is
// handled, and come one at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gas_station_fixture.h"
#include "shell/LanguageKeys.h"

namespace vs::test {
namespace {

// Notes, for every message box that opens, how many are open and whether the gas test
// form had finished its reply (the handshake is released only at the reply's end).
class BoxWatch : public plat::FormsObserver {
 public:
  explicit BoxWatch(Program& p) : p_(p) { p_.rt.forms.addObserver(this); }
  ~BoxWatch() override { p_.rt.forms.removeObserver(this); }
  BoxWatch(const BoxWatch&) = delete;
  BoxWatch& operator=(const BoxWatch&) = delete;
  void messageBoxOpened(const plat::MessageBox&) override {
    maxOpen = std::max(maxOpen, ++open);
    replyDone.push_back(p_.gas.GasReplyReady == 1);
  }
  void messageBoxClosed(const plat::MessageBox&) override { --open; }

  int open = 0, maxOpen = 0;
  std::vector<bool> replyDone;

 private:
  Program& p_;
};

// A window length of 0 is refused by the progress bar when the idle window opens and again
// when the raised-idle window opens, some seconds later.
class GasReplyBoxesTest : public GasStationTest {
 protected:
  // Runs the test to its verdict, the operator answering each box after `answerAfter` ms.
  void RunTestAnsweringAfter(plat::Millis answerAfter) {
    std::string conf = plat::test::ReadBytes(dir_ / "Conf.ini");
    Replace(conf, "MCS=120", "MCS=0");
    Replace(conf, "AM=1", "AM=0");  // the raised idle opens whatever the engine speed
    plat::test::WriteBytes(dir_ / "Conf.ini", conf);
    ANGAS& f = OpenGasTest();
    ui_.answerBox(plat::MsgBoxResult::OK, answerAfter);
    ui_.answerBox(plat::MsgBoxResult::OK, answerAfter);
    StartCertification(f);
    ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 20000));
    EXPECT_EQ(f.Label28.Caption(), Text(lang::ANGASProSup));
    for (const auto& box : ui_.boxes()) {
      EXPECT_EQ(box.text, Text(lang::MsgBox1));
      EXPECT_EQ(box.icon, plat::MsgBoxIcon::Exclamation);
    }
  }
  BoxWatch watch_{p_};
};

TEST_F(GasReplyBoxesTest, EachRefusalIsToldAfterItsReply) {
  RunTestAnsweringAfter(500);
  EXPECT_EQ(ui_.boxes().size(), 2u);
  EXPECT_EQ(watch_.replyDone, (std::vector<bool>{true, true}));
}

// While the first box waits for the operator, the second refusal opens no second box.
TEST_F(GasReplyBoxesTest, ARefusalWhileItsBoxIsOpenIsNotToldTwice) {
  RunTestAnsweringAfter(8000);
  EXPECT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(watch_.maxOpen, 1);
  EXPECT_EQ(watch_.replyDone, (std::vector<bool>{true}));
  EXPECT_EQ(ui_.pendingAnswers(), 1);
}

}  // namespace
}  // namespace vs::test
