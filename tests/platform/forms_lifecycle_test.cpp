// Loading, unloading, design values, timers and discard actions of forms.
#include <gtest/gtest.h>

#include <string>

#include "platform/Runtime.h"
#include "platform/forms/Forms.h"
#include "platform/forms/UserInput.h"
#include "support/FormDriver.h"

namespace plat {
namespace {

class PageForm : public Form {
 public:
  explicit PageForm(Runtime& rt) : Form(rt.forms, "Page") {
    setCaption("Page");
    Label1.setCaption("- - -");
    Combo1.AddItem("A");
    Combo1.AddItem("B");
    Check1.setValue(CheckBox::kChecked);
    Timer1.setInterval(100);
    Timer1.onTimer = [this] { ++ticks; };
    CmdOut.setCaption("&ESC");
    CmdOut.onClick = [this] { Unload(); };
    Combo1.onClick = [this] { ++comboClicks; };
    addDiscardAction([this] { ++discarded; });
  }

  Label Label1{*this, "Label1"};
  ComboBox Combo1{*this, "Combo1"};
  CheckBox Check1{*this, "Check1"};
  Timer Timer1{*this, "Timer1"};
  CommandButton CmdOut{*this, "CmdOut"};
  MenuItem FILE{*this, "FILE", "&File"};
  MenuItem OPEN{FILE, "OPEN", "Open", KeyPress::F(1)};

  // Form variables: they outlive unloading.
  int loads = 0, unloads = 0, ticks = 0, discarded = 0, comboClicks = 0;
  bool refuseUnload = false;

 protected:
  void Form_Load() override {
    ++loads;
    Label1.setCaption("loaded " + std::to_string(loads));
    Combo1.setListIndex(1);
  }
  void Form_Unload(bool& cancel) override {
    ++unloads;
    cancel = refuseUnload;
  }
};

class FormsLifecycleTest : public ::testing::Test {
 protected:
  Runtime rt{EventLoop::ClockKind::Manual};
  PageForm page{rt};
  test::FormDriver ui{rt};
};

TEST_F(FormsLifecycleTest, UnloadResetsControlsToDesignAndKeepsFormVariables) {
  page.Show();
  EXPECT_EQ(page.Label1.Caption(), "loaded 1");
  EXPECT_EQ(page.Combo1.Text(), "B");
  EXPECT_EQ(page.comboClicks, 1);  // the load step's ListIndex ran the handler
  page.Combo1.AddItem("C");
  page.Check1.setValue(CheckBox::kUnchecked);
  page.OPEN.setCaption("Apri");
  page.setCaption("Changed");
  page.Label1.setBackColor(colors::kRed);

  ASSERT_TRUE(ui.click(page.CmdOut));
  EXPECT_FALSE(page.IsLoaded());
  EXPECT_FALSE(page.Visible());
  EXPECT_EQ(page.Label1.Caption(), "- - -");
  EXPECT_EQ(page.Label1.BackColor(), colors::kButtonFace);
  EXPECT_EQ(page.Combo1.ListCount(), 2);
  EXPECT_EQ(page.Combo1.ListIndex(), -1);
  EXPECT_EQ(page.Check1.Value(), CheckBox::kChecked);
  EXPECT_EQ(page.OPEN.Caption(), "Open");
  EXPECT_EQ(page.Caption(), "Page");
  EXPECT_EQ(page.discarded, 1);

  page.Show();
  EXPECT_EQ(page.loads, 2);
  EXPECT_EQ(page.unloads, 1);
  EXPECT_EQ(page.Label1.Caption(), "loaded 2");
  EXPECT_EQ(ui.journal(), (std::vector<std::string>{"load Page", "show Page", "hide Page",
                                                    "unload Page", "load Page", "show Page"}));
}

TEST_F(FormsLifecycleTest, TouchingAFormThatIsNotLoadedNeitherLoadsItNorStartsItsTimer) {
  rt.forms.recordDesigns();
  page.Label1.setCaption("written while closed");
  page.Check1.setValue(CheckBox::kUnchecked);
  page.Timer1.setEnabled(true);
  ui.advance(1000);
  EXPECT_FALSE(page.IsLoaded());
  EXPECT_EQ(page.ticks, 0);
  EXPECT_EQ(page.loads, 0);
  EXPECT_TRUE(page.Unload());  // nothing to unload: no unload step
  EXPECT_EQ(page.unloads, 0);

  // An explicit load fills the page before it is shown; showing does not reset it.
  page.Load();
  EXPECT_EQ(page.Label1.Caption(), "loaded 1");
  EXPECT_EQ(page.Check1.Value(), CheckBox::kChecked);  // the write before loading is lost
  page.Label1.setCaption("filled");
  EXPECT_FALSE(page.Visible());
  page.Show();
  EXPECT_EQ(page.Label1.Caption(), "filled");
  EXPECT_EQ(page.loads, 1);
}

TEST_F(FormsLifecycleTest, UnloadStepMayCancelAndTheCloseBoxRunsIt) {
  page.Show();
  page.refuseUnload = true;
  ASSERT_TRUE(ui.close(page));
  EXPECT_TRUE(page.IsLoaded());
  EXPECT_TRUE(page.Visible());
  EXPECT_EQ(page.discarded, 0);
  EXPECT_FALSE(page.Unload());

  page.refuseUnload = false;
  ASSERT_TRUE(ui.close(page));
  EXPECT_FALSE(page.IsLoaded());
  EXPECT_EQ(page.unloads, 3);
  EXPECT_EQ(page.discarded, 1);
}

TEST_F(FormsLifecycleTest, TimersTickOnlyWhileTheFormIsLoadedAndEnabled) {
  page.Show();
  ui.advance(350);
  EXPECT_EQ(page.ticks, 3);
  page.Timer1.setEnabled(false);
  ui.advance(500);
  EXPECT_EQ(page.ticks, 3);
  // Switching on starts a new period; switching on a running timer keeps its phase.
  ui.advance(50);
  page.Timer1.setEnabled(true);
  ui.advance(60);
  page.Timer1.setEnabled(true);
  ui.advance(40);
  EXPECT_EQ(page.ticks, 4);
  // A new interval starts a new period.
  ui.advance(70);
  page.Timer1.setInterval(30);
  ui.advance(29);
  EXPECT_EQ(page.ticks, 4);
  ui.advance(1);
  EXPECT_EQ(page.ticks, 5);

  page.Unload();
  ui.advance(1000);
  EXPECT_EQ(page.ticks, 5);
  // Reloaded: the design interval (100 ms) and enabled state are back.
  page.Show();
  ui.advance(100);
  EXPECT_EQ(page.ticks, 6);
  EXPECT_EQ(page.Timer1.Interval(), 100);
}

TEST_F(FormsLifecycleTest, HideKeepsTheFormLoadedAndItsTimerRunning) {
  page.Show();
  page.Hide();
  EXPECT_TRUE(page.IsLoaded());
  EXPECT_FALSE(page.Visible());
  ui.advance(200);
  EXPECT_EQ(page.ticks, 2);
  EXPECT_FALSE(input::click(page.CmdOut));  // a hidden window takes no clicks
  page.setVisible(true);
  EXPECT_EQ(page.loads, 1);
  EXPECT_EQ(rt.forms.activeForm(), &page);
}

TEST_F(FormsLifecycleTest, ProgramServicesEndWithoutUnloadingAndStartPrograms) {
  page.Show();
  rt.app.Beep();
  rt.app.Shell("notepad", {"a.txt"});
  rt.app.End(3);
  EXPECT_TRUE(ui.ended());
  EXPECT_EQ(ui.exitCode(), 3);
  EXPECT_EQ(ui.beeps(), 1);
  ASSERT_EQ(ui.started().size(), 1u);
  EXPECT_EQ(ui.started()[0].args, std::vector<std::string>{"a.txt"});
  EXPECT_EQ(page.unloads, 0);  // no unload step ran
  EXPECT_TRUE(page.IsLoaded());
  ui.advance(1000);
  EXPECT_EQ(page.ticks, 0);                 // every timer stopped
  EXPECT_FALSE(input::click(page.CmdOut));  // and the operator can do nothing more
  EXPECT_EQ(MsgBox(rt.forms, "late", MsgBoxButtons::OKCancel), MsgBoxResult::Cancel);
}

TEST(FormsServicesTest, ShellStartsARealProgramDetachedAndReportsAMissingOne) {
  Runtime rt{EventLoop::ClockKind::Manual};
  EXPECT_NO_THROW(rt.app.Shell("true"));
  try {
    rt.app.Shell("no-such-program-here");
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), 53);
  }
}

TEST_F(FormsLifecycleTest, PrintFormGoesToThePrinterAndFailuresAreErrors) {
  page.Show();
  page.PrintForm(2);
  ASSERT_EQ(ui.printed().size(), 1u);
  EXPECT_EQ(ui.printed()[0].copies, 2);
  ui.failPrinting(RuntimeError(kErrPrintFailed, "Printer error"));
  EXPECT_THROW(page.PrintForm(), RuntimeError);
  rt.forms.setPrinter(nullptr);
  EXPECT_THROW(page.PrintForm(), RuntimeError);
}

}  // namespace
}  // namespace plat
