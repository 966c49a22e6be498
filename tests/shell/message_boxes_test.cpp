// The three message boxes: their texts, the chain from Exclam to ExclamStampa, the smoke
// test's request timer, and a box shown again while it is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "link/ReplyParsers.h"
#include "link/SmokeRpmReplies.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

using plat::ShowMode;

class MessageBoxesTest : public test::StationTest {
 protected:
  void SetUp() override {
    StationTest::SetUp();
    p_.shell.OpaComPort = 1;  // the smoke test form opens its port on a memory device
    p_.rt.serial.attachMemory(1);
  }
  // What the smoke test form does with an opacimeter error code, and with a port hint of
  // the gas parser.
  void ErrorCode(const char* code) {
    if (const auto alarm = ShowOpaErrorCode(p_.link, p_.shell, code)) p_.ShowOpaAlarm(*alarm);
  }
  void PortHintOfTheGasParser() {
    p_.ShowPortHint(TakePortHint(p_.link, p_.shell, HintInstrument::Gas));
  }
  Program& f_ = p_;
  ANFUMO& anfumo_ = p_.anfumo;
};

TEST_F(MessageBoxesTest, OpacimeterErrorShowsCriticAndClosingItResumesTheRequests) {
  anfumo_.Show();
  for (bool byCloseBox : {false, true}) {
    ui_.onModal(f_.critic, [&] {
      EXPECT_EQ(f_.critic.Caption(), "ERROR 3");
      EXPECT_EQ(f_.critic.Label1.Caption(), "SPENGERE OPACIMETRO");
      EXPECT_FALSE(anfumo_.Timer1.Enabled());
      byCloseBox ? ui_.close(f_.critic) : ui_.enter(f_.critic);
    });
    ErrorCode("003");
    EXPECT_TRUE(anfumo_.Timer1.running());
  }
}

TEST_F(MessageBoxesTest, ClosingABoxNeverTouchesASmokeTestThatIsNotOpen) {
  ui_.onModal(f_.critic, [&] { ui_.click(f_.critic.Command1); });
  f_.critic.Open(ShowMode::Modal);
  ui_.onModal(f_.exclamStampa, [&] { ui_.close(f_.exclamStampa); });
  f_.exclamStampa.Open(ShowMode::Modal);
  EXPECT_EQ(Count("load ANFUMO"), 0);
  EXPECT_FALSE(anfumo_.IsLoaded());
}

TEST_F(MessageBoxesTest, ExclamStampaLeavesARunningTimerAlone) {
  anfumo_.Show();
  ui_.advance(10);
  f_.exclamStampa.Open(ShowMode::Modeless);
  ui_.close(f_.exclamStampa);
  ui_.advance(15);  // a restarted timer would tick only at 35 ms
  EXPECT_EQ(anfumo_.SmokeTickCount, 1);
}

TEST_F(MessageBoxesTest, ExclamChainsToExclamStampaOnTheLockStates) {
  struct Case {
    const char *status1, *status2;
    bool byOk, chains;
  };
  for (const Case c : {Case{"00048", "00016", true, true}, Case{"00016", "00000", true, true},
                       Case{"00016", "00032", true, false}, Case{"00048", "00000", false, false}}) {
    p_.link.OpaLuStatus1 = c.status1;
    p_.link.OpaLuStatus2 = c.status2;
    p_.shell.ExclamPending = -1;
    p_.shell.ExclamMessage = "fine serie";
    p_.shell.ExclamStampaMessage = "stampare";
    ui_.clearJournal();
    ui_.onModal(f_.exclam, [&] {
      EXPECT_EQ(f_.exclam.Label1.Caption(), "fine serie");
      c.byOk ? ui_.click(f_.exclam.Command1) : ui_.close(f_.exclam);
    });
    if (c.chains) {
      ui_.onModal(f_.exclamStampa, [&] {
        EXPECT_FALSE(f_.exclam.IsLoaded());
        EXPECT_EQ(f_.exclamStampa.Label1.Caption(), "stampare");
        ui_.enter(f_.exclamStampa);
      });
    }
    f_.exclam.Open(ShowMode::Modal);
    EXPECT_EQ(p_.shell.ExclamPending, 0);
    EXPECT_EQ(Count("modal ExclamStampa"), c.chains ? 1 : 0) << c.status1 << " " << c.status2;
  }
}

TEST_F(MessageBoxesTest, ABoxShownAgainWhileOpenShowsTheNewText) {
  p_.link.ShowParseWarning = -1;
  PortHintOfTheGasParser();  // modeless
  p_.link.ShowParseWarning = -1;
  p_.shell.LanguageCode = 2;
  PortHintOfTheGasParser();
  EXPECT_TRUE(f_.exclamStampa.Visible());
  EXPECT_EQ(f_.exclamStampa.Label1.Caption().rfind("CHOOSE", 0), 0u);
  EXPECT_EQ(Count("load ExclamStampa"), 2);
  ui_.close(f_.exclamStampa);

  // A second error while Critic is open: the new one replaces it, and the requests stay
  // stopped until the operator closes it.
  anfumo_.Show();
  ui_.onModal(f_.critic, [&] {
    ui_.onModal(f_.critic, [&] {
      EXPECT_EQ(f_.critic.Caption(), "ERROR 7");
      EXPECT_FALSE(anfumo_.Timer1.Enabled());
      ui_.click(f_.critic.Command1);
    });
    ErrorCode("007");
  });
  ErrorCode("002");
  EXPECT_TRUE(anfumo_.Timer1.running());
  EXPECT_EQ(p_.rt.forms.modalDepth(), 0);
}

}  // namespace
}  // namespace vs
