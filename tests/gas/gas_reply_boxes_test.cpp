// Message boxes raised while the gas test form handles a reply wait until the reply is
// handled.
#include <gtest/gtest.h>

#include <vector>

#include "gas_station_fixture.h"
#include "shell/LanguageKeys.h"

namespace vs::test {
namespace {

// Notes, for every message box that opens, whether the gas test form had finished its reply (the
// handshake is released only at the reply's end).
class BoxWatch : public plat::FormsObserver {
 public:
  explicit BoxWatch(Program& p) : p_(p) { p_.rt.forms.addObserver(this); }
  ~BoxWatch() override { p_.rt.forms.removeObserver(this); }
  BoxWatch(const BoxWatch&) = delete;
  BoxWatch& operator=(const BoxWatch&) = delete;
  void messageBoxOpened(const plat::MessageBox&) override {
    replyDone.push_back(p_.gas.GasReplyReady == 1);
  }

  std::vector<bool> replyDone;

 private:
  Program& p_;
};

// A window length of 0 is refused by the progress bar when the idle window opens and again
// when the raised-idle window opens, some seconds later: each refusal is told after its
// reply has been handled. (Only one box at a time is the MCTC-NET leak-check test's.)
using GasReplyBoxesTest = GasStationTest;

TEST_F(GasReplyBoxesTest, EachRefusalIsToldAfterItsReply) {
  BoxWatch watch(p_);
  std::string conf = plat::test::ReadBytes(dir_ / "Conf.ini");
  Replace(conf, "MCS=120", "MCS=0");
  Replace(conf, "AM=1", "AM=0");  // the raised idle opens whatever the engine speed
  plat::test::WriteBytes(dir_ / "Conf.ini", conf);
  ANGAS& f = OpenGasTest();
  ui_.answerBox(plat::MsgBoxResult::OK, 500);
  ui_.answerBox(plat::MsgBoxResult::OK, 500);
  StartCertification(f);
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 20000));
  EXPECT_EQ(f.Label28.Caption(), Text(lang::ANGASProSup));
  ASSERT_EQ(ui_.boxes().size(), 2u);
  for (const auto& box : ui_.boxes()) EXPECT_EQ(box.text, Text(lang::MsgBox1));
  EXPECT_EQ(watch.replyDone, (std::vector<bool>{true, true}));
}

}  // namespace
}  // namespace vs::test
