// Message boxes raised while the gas test form handles a reply wait until the reply is
// handled, and come one at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gas/forms/GasReplyBoxes.h"
#include "gas_station_fixture.h"
#include "platform/Runtime.h"
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

class GasReplyBoxesTest : public GasStationTest {};

// A window length of 0 is refused by the progress bar at the idle and at the raised-idle
// window; the first box is still open when the second window opens.
TEST_F(GasReplyBoxesTest, RefusedWindowLengthIsToldAfterTheReplyOneBoxAtATime) {
  std::string conf = plat::test::ReadBytes(dir_ / "Conf.ini");
  Replace(conf, "MCS=120", "MCS=0");
  Replace(conf, "AM=1", "AM=0");  // the raised idle opens whatever the engine speed
  plat::test::WriteBytes(dir_ / "Conf.ini", conf);
  BoxWatch watch(p_);
  ANGAS& f = OpenGasTest();
  ui_.answerBox(plat::MsgBoxResult::OK, 8000);
  ui_.answerBox(plat::MsgBoxResult::OK);
  StartCertification(f);
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 20000));
  ASSERT_EQ(ui_.boxes().size(), 2u);
  for (const auto& box : ui_.boxes()) {
    EXPECT_EQ(box.text, Text(lang::MsgBox1));
    EXPECT_EQ(box.icon, plat::MsgBoxIcon::Exclamation);
  }
  EXPECT_EQ(watch.maxOpen, 1);
  EXPECT_EQ(watch.replyDone, (std::vector<bool>{true, true}));
  EXPECT_EQ(f.Label28.Caption(), Text(lang::ANGASProSup));
}

// Boxes wait for the handler that raised them; a text already waiting is not queued twice,
// while one raised again as its box is on screen comes once more after it.
TEST(GasReplyBoxes, QueuedAfterTheHandlerWithoutWaitingCopies) {
  plat::Runtime rt(plat::EventLoop::ClockKind::Manual);
  plat::test::FormDriver ui(rt);
  GasReplyBoxes boxes(rt.forms);
  ui.answerEveryBox(plat::MsgBoxResult::OK);
  boxes.Exclamation("A");
  boxes.Exclamation("B");
  boxes.Exclamation("A");
  rt.loop.post([&] {
    boxes.Exclamation("A");  // "A" is on screen now
    boxes.Exclamation("B");
  });
  EXPECT_TRUE(ui.boxes().empty());
  ui.settle();
  std::vector<std::string> shown;
  for (const auto& box : ui.boxes()) shown.push_back(box.text);
  EXPECT_EQ(shown, (std::vector<std::string>{"A", "B", "A"}));
  EXPECT_EQ(boxes.Waiting(), 0u);
}

}  // namespace
}  // namespace vs::test
