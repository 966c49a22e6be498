// Modal forms and message boxes: nested loops, events inside them, stalls, program end.
#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Runtime.h"
#include "platform/forms/Forms.h"
#include "platform/forms/UserInput.h"
#include "platform/serial/SerialPort.h"
#include "support/FormDriver.h"

namespace plat {
namespace {

using ::testing::HasSubstr;

class Dialog : public Form {
 public:
  Dialog(Runtime& rt, std::string name) : Form(rt.forms, std::move(name)) {
    CmdOk.setCaption("&OK");
    CmdOk.setDefault(true);
    CmdOk.setCancel(true);
    CmdOk.onClick = [this] { Unload(); };
    Timer1.setInterval(100);
  }
  CommandButton CmdOk{*this, "CmdOk"};
  Timer Timer1{*this, "Timer1"};
};

// A measuring form: its timer and its serial port go on while dialogs are open above it.
class Meter : public Form {
 public:
  explicit Meter(Runtime& rt) : Form(rt.forms, "Meter"), MSComm1(rt.serial) {
    Timer1.setInterval(25);
    Timer1.onTimer = [this] {
      ++ticks;
      if (onTick) onTick();
    };
    MSComm1.OnComm = [this] {
      received += MSComm1.Input();
      if (onReceive) onReceive();
    };
    addDiscardAction([this] { MSComm1.setPortOpen(false); });
  }
  Timer Timer1{*this, "Timer1"};
  CommandButton Command1{*this, "Command1"};
  SerialPort MSComm1;
  int ticks = 0;
  std::string received;
  std::function<void()> onTick, onReceive;

 protected:
  void Form_Load() override {
    MSComm1.setCommPort(3);
    MSComm1.setRThreshold(1);
    MSComm1.setPortOpen(true);
  }
};

// The one test failure that f() reports while it stalls the loop.
std::string StallFailure(const std::function<void()>& f) {
  ::testing::TestPartResultArray failures;
  {
    ::testing::ScopedFakeTestPartResultReporter reporter(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
    EXPECT_THROW(f(), LoopStalled);
  }
  EXPECT_EQ(failures.size(), 1);
  return failures.size() == 1 ? failures.GetTestPartResult(0).message() : "";
}

class FormsModalTest : public ::testing::Test {
 protected:
  Runtime rt{EventLoop::ClockKind::Manual};
  std::shared_ptr<MemoryDevice> device = rt.serial.attachMemory(3);
  Meter meter{rt};
  Dialog outer{rt, "Outer"};
  Dialog inner{rt, "Inner"};
  test::FormDriver ui{rt};
};

TEST_F(FormsModalTest, TwoNestedModalFormsWithTimersAndSerialEventsGoingOn) {
  meter.Show();
  meter.Command1.onClick = [&] { outer.Show(ShowMode::Modal); };
  // Outer's own timer opens Inner after 100 ms; the instrument answers 50 ms later and the
  // meter's receive handler closes Inner; the meter's 20th tick closes Outer.
  outer.Timer1.onTimer = [&] {
    outer.Timer1.setEnabled(false);
    inner.Show(ShowMode::Modal);
    EXPECT_EQ(rt.loop.now(), 150);  // back here once Inner's loop has ended
  };
  ui.onModal(inner, [&] {
    auto id = std::make_shared<EventLoop::TimerId>();
    *id = rt.loop.startTimer(50, [&, id] {
      rt.loop.stopTimer(*id);
      device->send("X");
    });
  });
  meter.onReceive = [&] {
    if (inner.IsLoaded()) inner.Unload();
  };
  meter.onTick = [&] {
    if (meter.ticks == 20 && outer.IsLoaded()) outer.Unload();
  };

  ASSERT_TRUE(ui.click(meter.Command1));
  EXPECT_EQ(rt.loop.now(), 500);
  EXPECT_EQ(meter.ticks, 20);
  EXPECT_EQ(meter.received, "X");
  EXPECT_FALSE(outer.IsLoaded());
  EXPECT_FALSE(inner.IsLoaded());
  EXPECT_EQ(rt.forms.modalDepth(), 0);
  EXPECT_EQ(ui.journal(),
            (std::vector<std::string>{"load Meter", "show Meter", "load Outer", "show Outer",
                                      "modal Outer", "load Inner", "show Inner", "modal Inner",
                                      "hide Inner", "unload Inner", "modal end Inner", "hide Outer",
                                      "unload Outer", "modal end Outer"}));
}

TEST_F(FormsModalTest, AModalFormBlocksTheOthersAndItsDefaultKeysCloseIt) {
  meter.Show();
  ui.onModal(outer, [&] {
    EXPECT_FALSE(input::click(meter.Command1));
    EXPECT_EQ(ui.whyNot(meter.Command1), "modal form Outer is open");
    EXPECT_TRUE(ui.esc(outer));  // the OK button is also the cancel button
  });
  outer.Show(ShowMode::Modal);
  EXPECT_FALSE(outer.IsLoaded());
  ui.onModal(outer, [&] { ui.enter(outer); });
  outer.Show(ShowMode::Modal);
  EXPECT_FALSE(outer.IsLoaded());
  EXPECT_TRUE(input::click(meter.Command1));
}

TEST_F(FormsModalTest, HidingEndsTheModalLoopAndAShownFormIsOnlyBroughtToTheFront) {
  outer.CmdOk.onClick = [&] { outer.Hide(); };
  ui.onModal(outer, [&] {
    // Shown again modally while it is shown: no error, no second loop.
    outer.Show(ShowMode::Modal);
    ui.click(outer.CmdOk);
  });
  outer.Show(ShowMode::Modal);
  EXPECT_TRUE(outer.IsLoaded());
  EXPECT_FALSE(outer.Visible());
  EXPECT_FALSE(outer.modal());
  meter.Show();
  outer.Show();
  meter.Show(ShowMode::Modal);  // already shown: to the front, returns at once
  EXPECT_EQ(rt.forms.activeForm(), &meter);
  EXPECT_EQ(rt.forms.zOrder(), (std::vector<Form*>{&outer, &meter}));
}

TEST_F(FormsModalTest, EndingTheProgramInsideAModalFormReturnsEverywhereWithoutUnloading) {
  meter.Show();
  ui.onModal(outer, [&] { rt.app.End(); });
  outer.Show(ShowMode::Modal);
  EXPECT_TRUE(ui.ended());
  EXPECT_TRUE(outer.IsLoaded());
  EXPECT_TRUE(meter.MSComm1.PortOpen());  // no unload step ran
  EXPECT_EQ(rt.forms.modalDepth(), 0);
  ui.advance(1000);
  EXPECT_EQ(meter.ticks, 0);
}

TEST_F(FormsModalTest, TimersAndSerialEventsGoOnWhileAMessageBoxIsOpen) {
  meter.Show();
  ui.answerBox(MsgBoxResult::OK, 200);
  rt.loop.startTimer(60, [&] {
    device->send("R");
    EXPECT_FALSE(input::click(meter.Command1));  // the box is in the way
  });
  Millis answeredAt = 0;
  meter.onTick = [&] {
    if (meter.ticks != 1) return;
    MsgBox(rt.forms, "wait", MsgBoxButtons::OK, MsgBoxIcon::Exclamation, "Port");
    answeredAt = rt.loop.now();
  };
  ui.advance(25);
  EXPECT_EQ(answeredAt, 225);  // answered 200 ms after it opened
  EXPECT_EQ(ui.lastBox().icon, MsgBoxIcon::Exclamation);
  EXPECT_EQ(ui.lastBox().title, "Port");
  EXPECT_EQ(meter.ticks, 9);  // the meter ticked on meanwhile
  EXPECT_EQ(meter.received.substr(0, 1), "R");
  EXPECT_TRUE(input::click(meter.Command1));
}

TEST_F(FormsModalTest, AModalFormOrMessageBoxWithNothingToDoFailsNamingIt) {
  EXPECT_THAT(StallFailure([&] { outer.Show(ShowMode::Modal); }), HasSubstr("modal form Outer"));
  EXPECT_EQ(rt.forms.modalDepth(), 0);
  EXPECT_THAT(StallFailure([&] { MsgBox(rt.forms, "Porta occupata"); }),
              HasSubstr("Porta occupata"));
  EXPECT_EQ(rt.forms.openMessageBox(), nullptr);
  ui.answerEveryBox(MsgBoxResult::OK);
  EXPECT_EQ(MsgBox(rt.forms, "again"), MsgBoxResult::OK);
}

}  // namespace
}  // namespace plat
