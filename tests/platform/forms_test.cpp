// Forms: which property changes run handlers, the values controls refuse, the operator's
// keys, menus, access keys and focus; loading, unloading and design values; timers; modal
// forms and message boxes with timers and serial events going on.
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
using Log = std::vector<std::string>;

// A form with controls of every family; its handlers write to `log`. Its load step shows
// the load count and opens COM3; unloading closes the port.
class Panel : public Form {
 public:
  explicit Panel(Runtime& rt) : Form(rt.forms, "Panel"), MSComm1(rt.serial) {
    setCaption("Panel");
    Command1.setCaption("S&top");
    Label1.setCaption("&Porta");
    Check1.setCaption("&Log && print");
    Label36(0).setCaption("- - -");
    CmdOut.setCaption("ESC");
    CmdOut.setDefault(true);
    CmdOut.setCancel(true);
    Text6.setContainer(Frame1);
    Option3.setContainer(Frame1);
    Option4.setContainer(Frame1);
    Option2.setEnabled(false);
    VScroll1.setMin(1);
    VScroll1.setMax(16);
    VScroll1.setValue(1);
    Timer1.setInterval(100);
    for (const char* item : {"Certificazione", "Diagnosi"}) Combo1.AddItem(item);
    for (const char* item : {"a", "b", "c"}) List1.AddItem(item);
    const auto logName = [this](auto& c) { c.onClick = [this, &c] { log.push_back(c.name()); }; };
    for (auto* b : {&Command1, &CmdOut}) logName(*b);
    for (auto* o : {&Option1, &Option2, &Option3, &Option4}) logName(*o);
    for (auto* m : {&MISURAG, &SETG, &LINGITA, &SYSSU}) logName(*m);
    Check1.onClick = [this] { log.push_back("Check1=" + std::to_string(Check1.Value())); };
    List1.onClick = [this] { log.push_back("List1=" + std::to_string(List1.ListIndex())); };
    Combo1.onClick = [this] { log.push_back("Combo1=" + Combo1.Text()); };
    Combo1.onChange = [this] { log.push_back("Combo1 typed " + Combo1.Text()); };
    Text1.onChange = [this] { log.push_back("Text1 " + Text1.Text()); };
    VScroll1.onChange = [this] { log.push_back("VScroll1=" + std::to_string(VScroll1.Value())); };
    Text5.onGotFocus = [this] {
      log.push_back("Text5 got");
      VScroll1.SetFocus();  // never keeps the focus
    };
    Text5.onLostFocus = [this] { log.push_back("Text5 lost"); };
    VScroll1.onGotFocus = [this] { log.push_back("VScroll1 got"); };
    VScroll1.onLostFocus = [this] { log.push_back("VScroll1 lost"); };
    Timer1.onTimer = [this] {
      ++ticks;
      if (onTick) onTick();
    };
    MSComm1.OnComm = [this] { received += MSComm1.Input(); };
    addDiscardAction([this] {
      ++discarded;
      MSComm1.setPortOpen(false);
    });
  }

  // In tab order: the first takes the focus; a label's access key goes to the next one.
  CommandButton Command1{*this, "Command1"};
  Label Label1{*this, "Label1"};
  TextBox Text5{*this, "Text5"};
  VScrollBar VScroll1{*this, "VScroll1"};
  CheckBox Check1{*this, "Check1"};
  Frame Frame1{*this, "Frame1"};
  TextBox Text6{*this, "Text6"};
  OptionButton Option3{*this, "Option3"}, Option4{*this, "Option4"};
  OptionButton Option1{*this, "Option1"}, Option2{*this, "Option2"};
  ListBox List1{*this, "List1"};
  ComboBox Combo1{*this, "Combo1"};
  TextBox Text1{*this, "Text1"};
  ProgressBar PBar1{*this, "PBar1"};
  ControlArray<Label> Label36{*this, "Label36", 0, 10};
  Timer Timer1{*this, "Timer1"};
  CommandButton CmdOut{*this, "CmdOut"};
  MenuItem KYMRA{*this, "KYMRA", "&Kymra"};
  MenuItem MISURAG{KYMRA, "MISURAG", "Misura", KeyPress::F(1)};
  MenuItem SETG{KYMRA, "SETG", "Set-Up", KeyPress::F(2)};
  MenuItem LINGUA{*this, "LINGUA", "&Lingua"};
  MenuItem LINGITA{LINGUA, "LINGITA", "Italiano", KeyPress::Ctrl('I')};
  MenuItem UTILITY{*this, "UTILITY", "&Utilità"};
  MenuItem SYSSU{UTILITY, "SYSSU", "System Set-Up"};
  SerialPort MSComm1;

  // Form variables: they outlive unloading.
  Log log;
  int loads = 0, unloads = 0, ticks = 0, discarded = 0;
  bool refuseUnload = false;
  std::string received;
  std::function<void()> onTick;

 protected:
  void Form_Load() override {
    Label36(0).setCaption("loaded " + std::to_string(++loads));
    Combo1.setListIndex(1);
    MSComm1.setCommPort(3);
    MSComm1.setRThreshold(1);
    MSComm1.setPortOpen(true);
  }
  void Form_Unload(bool& cancel) override {
    ++unloads;
    cancel = refuseUnload;
  }
};

// A dialog whose one button is the default and the cancel button and unloads it.
class Dialog : public Form {
 public:
  Dialog(Runtime& rt, std::string name) : Form(rt.forms, std::move(name)) {
    CmdOk.setCaption("&OK");
    CmdOk.setDefault(true);
    CmdOk.setCancel(true);
    CmdOk.onClick = [this] { Unload(); };
  }
  CommandButton CmdOk{*this, "CmdOk"};
};

int ErrorNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

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

class FormsTest : public ::testing::Test {
 protected:
  Runtime rt{EventLoop::ClockKind::Manual};
  std::shared_ptr<MemoryDevice> device = rt.serial.attachMemory(3);
  Panel form{rt};
  Dialog outer{rt, "Outer"}, inner{rt, "Inner"};
  test::FormDriver ui{rt};
};

// The panel shown, its log cleared.
class FormsEventsTest : public FormsTest {
  void SetUp() override {
    form.Show();
    form.log.clear();
  }
};

// ---- Which changes run handlers, and the values controls refuse.

TEST_F(FormsEventsTest, OptionButtonsRunClickFromCodeAndClearTheirOwnGroupOnly) {
  form.Option3.setValue(true);
  form.Option1.setValue(true);
  form.Option2.setValue(true);  // disabled, but code may set it
  form.Option2.setValue(true);  // set again: Click again, as the operator's click would
  EXPECT_FALSE(form.Option1.Value());
  EXPECT_TRUE(form.Option2.Value());
  EXPECT_TRUE(form.Option3.Value());  // the frame's group is another group
  form.Option4.setValue(false);       // clearing runs nothing
  EXPECT_EQ(form.log, (Log{"Option3", "Option1", "Option2", "Option2"}));
}

TEST_F(FormsEventsTest, CheckBoxScrollBarAndTextBoxRunTheirHandlerOnlyOnARealChange) {
  form.Check1.setValue(1);
  form.Check1.setValue(1);
  form.Check1.setValue(2);
  ui.click(form.Check1);  // grayed -> unchecked
  ui.click(form.Check1);
  EXPECT_EQ(ErrorNumber([&] { form.Check1.setValue(3); }), 380);
  EXPECT_EQ(form.Check1.Value(), 1);

  form.VScroll1.setValue(1);
  form.VScroll1.setValue(5);
  EXPECT_EQ(ErrorNumber([&] { form.VScroll1.setValue(17); }), 380);
  EXPECT_EQ(ErrorNumber([&] { form.VScroll1.setValue(0); }), 380);
  EXPECT_EQ(form.VScroll1.Value(), 5);
  ui.scroll(form.VScroll1, 40);  // the operator cannot pass the end
  form.VScroll1.setMax(10);      // the value follows the range

  form.Text1.setText("from code");  // the box's Change is the operator's only
  ASSERT_TRUE(ui.type(form.Text1, "typed"));
  ASSERT_TRUE(ui.type(form.Text1, "typed"));
  form.Text1.setLocked(true);
  EXPECT_FALSE(input::editText(form.Text1, "x"));
  EXPECT_EQ(form.log,
            (Log{"Check1=1", "Check1=2", "Check1=0", "Check1=1", "VScroll1=5", "VScroll1 got",
                 "VScroll1=16", "VScroll1=10", "VScroll1 lost", "Text1 typed"}));
}

TEST_F(FormsEventsTest, ListIndexFromCodeRunsClickAndRefusesAnIndexOutsideTheList) {
  form.List1.setListIndex(2);
  form.List1.setListIndex(2);
  form.List1.setListIndex(-1);
  EXPECT_EQ(form.log, (Log{"List1=2", "List1=2"}));
  form.List1.setListIndex(1);
  EXPECT_EQ(ErrorNumber([&] { form.List1.setListIndex(3); }), 380);
  EXPECT_EQ(ErrorNumber([&] { form.List1.setListIndex(-2); }), 380);
  EXPECT_EQ(form.List1.ListIndex(), 1);
  // Inserting before the chosen item keeps the same item chosen; removing it clears it.
  form.List1.AddItem("first", 0);
  EXPECT_EQ(form.List1.ListIndex(), 2);
  EXPECT_EQ(form.List1.List(2), "b");
  form.List1.RemoveItem(2);
  EXPECT_EQ(form.List1.ListIndex(), -1);
  EXPECT_EQ(form.List1.List(99), "");
  EXPECT_EQ(ErrorNumber([&] { form.List1.AddItem("x", 9); }), 5);
  EXPECT_EQ(ErrorNumber([&] { form.List1.setList(9, "x"); }), 381);
}

TEST_F(FormsEventsTest, ComboTextFromCodeRunsNoHandlerButTheOperatorsTypingDoes) {
  form.Combo1.setListIndex(1);
  EXPECT_EQ(form.Combo1.Text(), "Diagnosi");
  form.Combo1.setText("Certificazione");  // follows the item, no Click
  EXPECT_EQ(form.Combo1.ListIndex(), 0);
  form.Combo1.setText("Sel.Mis");
  EXPECT_EQ(form.Combo1.ListIndex(), -1);
  form.Combo1.setList(0, "Certification");
  ASSERT_TRUE(ui.type(form.Combo1, "Cert"));
  ASSERT_TRUE(ui.choose(form.Combo1, "Certification"));
  EXPECT_EQ(form.log, (Log{"Combo1=Diagnosi", "Combo1 typed Cert", "Combo1=Certification"}));
  // A drop-down list takes no typing.
  form.Combo1.setStyle(ComboStyle::DropDownList);
  EXPECT_FALSE(input::editText(form.Combo1, "x"));
  form.Combo1.setListIndex(-1);
  EXPECT_EQ(form.Combo1.Text(), "");
}

TEST_F(FormsEventsTest, ProgressBarsAndControlArraysRefuseWhatTheyCannotHold) {
  form.PBar1.setMax(800);
  form.PBar1.setValue(400.5f);
  for (const auto& bad : std::initializer_list<std::function<void()>>{
           [&] { form.PBar1.setMax(0); }, [&] { form.PBar1.setMin(800); },
           [&] { form.PBar1.setValue(800.5f); }, [&] { form.PBar1.setValue(-1); }})
    EXPECT_EQ(ErrorNumber(bad), 380);
  EXPECT_FLOAT_EQ(form.PBar1.Min(), 0);
  EXPECT_FLOAT_EQ(form.PBar1.Max(), 800);
  EXPECT_FLOAT_EQ(form.PBar1.Value(), 400.5f);
  form.PBar1.setMax(100);  // a smaller range takes the value along
  EXPECT_FLOAT_EQ(form.PBar1.Value(), 100);

  form.Label36(3).setCaption("0,45");
  EXPECT_EQ(form.Label36(3).qualifiedName(), "Panel.Label36(3)");
  EXPECT_EQ(form.findControl("Label36", 3), &form.Label36(3));
  EXPECT_EQ(form.Label36.UBound(), 10);
  EXPECT_EQ(ErrorNumber([&] { form.Label36(11).setCaption("x"); }), 340);
}

TEST_F(FormsEventsTest, ObserversSeeEveryRealChangeOnce) {
  struct Recorder : FormsObserver {
    Log seen;
    void controlChanged(Control& c, Prop p) override {
      seen.push_back(c.name() + "." + PropName(p));
    }
  } rec;
  rt.forms.addObserver(&rec);
  form.Text1.setText("a");
  form.Text1.setText("a");
  form.Text1.setBackColor(colors::kYellow);
  form.Option1.setValue(true);
  form.Option3.setValue(true);
  form.Option1.setValue(true);
  rt.forms.removeObserver(&rec);
  form.Text1.setText("b");
  EXPECT_EQ(rec.seen, (Log{"Text1.Text", "Text1.BackColor", "Option1.Value", "Option3.Value"}));
}

// ---- The operator's keys, menus and focus.

TEST_F(FormsEventsTest, EnterPressesTheFocusedButtonElseTheDefaultAndEscTheCancel) {
  ui.enter(form);  // the focus is on Command1, the first control that takes it
  ui.focus(form.Check1);
  ui.enter(form);
  ui.esc(form);
  form.CmdOut.setEnabled(false);
  EXPECT_FALSE(input::pressKey(form, KeyPress::Enter()));
  EXPECT_FALSE(input::pressKey(form, KeyPress::Escape()));
  // One default button per form.
  form.Command1.setDefault(true);
  EXPECT_FALSE(form.CmdOut.Default());
  EXPECT_EQ(form.defaultButton(), &form.Command1);
  EXPECT_EQ(form.log, (Log{"Command1", "CmdOut", "CmdOut"}));
}

TEST_F(FormsEventsTest, AltWithAnAccessKeyActsOnItsControlAndFocusHandlersMayPassTheFocusOn) {
  ui.alt(form, 't');
  ui.alt(form, 'L');
  EXPECT_EQ(form.Check1.Value(), 1);
  ui.alt(form, 'P');  // a label's key moves the focus to the control after it
  EXPECT_EQ(form.ActiveControl(), &form.VScroll1);
  ui.key(form, KeyPress::Tab());  // on to the next control that takes the focus
  EXPECT_EQ(form.ActiveControl(), &form.Check1);
  EXPECT_FALSE(input::pressKey(form, KeyPress::Alt('X')));
  form.Command1.setVisible(false);
  EXPECT_FALSE(input::pressKey(form, KeyPress::Alt('T')));
  EXPECT_EQ(form.log, (Log{"Command1", "Check1=1", "Text5 got", "Text5 lost", "VScroll1 got",
                           "VScroll1 lost"}));
  EXPECT_EQ(AccessKey("&Log && print"), U'L');
  EXPECT_EQ(AccessKey("R && D"), 0);
  EXPECT_EQ(StripAccessKeys("&Log && print"), "Log & print");
  EXPECT_EQ(AccessKey("&àrea"), U'à');
}

TEST_F(FormsEventsTest, MenuShortcutsAndClicksReachOnlyUsableItems) {
  ui.fkey(form, 1);
  ui.ctrl(form, 'i');
  ui.menu(form.SYSSU);
  form.KYMRA.setEnabled(false);  // a disabled menu disables its items and their keys
  EXPECT_FALSE(input::pressKey(form, KeyPress::F(2)));
  EXPECT_FALSE(input::menuClick(form.SETG));
  form.LINGITA.setVisible(false);
  EXPECT_FALSE(input::pressKey(form, KeyPress::Ctrl('I')));
  EXPECT_FALSE(input::pressKey(form, KeyPress::F(7)));
  EXPECT_EQ(form.log, (Log{"MISURAG", "LINGITA", "SYSSU"}));
}

TEST_F(FormsEventsTest, TheOperatorCannotReachHiddenOrDisabledControlsOrTheirContents) {
  form.Frame1.setEnabled(false);
  EXPECT_FALSE(input::editText(form.Text6, "x"));
  EXPECT_EQ(ui.whyNot(form.Text6), "Panel.Frame1 is disabled");
  form.Frame1.setEnabled(true);
  form.Frame1.setVisible(false);
  EXPECT_FALSE(input::click(form.Text6));
  EXPECT_FALSE(form.Text6.visibleInForm());
  form.Frame1.setVisible(true);
  // Typed characters go into the focused box.
  ui.click(form.Text6);
  ui.key(form, KeyPress::Character(U'4'));
  ui.key(form, KeyPress::Character(U'°'));
  EXPECT_EQ(form.Text6.Text(), "4°");
}

// ---- Loading and unloading, timers, program services.

TEST_F(FormsTest, UnloadMayBeCancelledElseResetsControlsToDesignAndKeepsFormVariables) {
  form.Show();
  EXPECT_EQ(form.Label36(0).Caption(), "loaded 1");
  EXPECT_EQ(form.log, Log{"Combo1=Diagnosi"});  // the load step's ListIndex ran the handler
  form.SETG.setCaption("Imposta");
  form.setCaption("Changed");
  form.Label1.setBackColor(colors::kRed);
  form.refuseUnload = true;
  ASSERT_TRUE(ui.close(form));  // the close box runs the unload step
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(form.Unload());
  EXPECT_EQ(form.discarded, 0);

  form.refuseUnload = false;
  ASSERT_TRUE(ui.close(form));
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.MSComm1.PortOpen());  // the discard action ran
  EXPECT_EQ(form.Label36(0).Caption(), "- - -");
  EXPECT_EQ(form.Label1.BackColor(), colors::kButtonFace);
  EXPECT_EQ(form.SETG.Caption(), "Set-Up");
  EXPECT_EQ(form.Caption(), "Panel");

  form.Show();
  EXPECT_EQ((std::vector{form.loads, form.unloads, form.discarded}), (std::vector{2, 3, 1}));
  EXPECT_EQ(form.Label36(0).Caption(), "loaded 2");
  EXPECT_EQ(ui.journal(), (Log{"load Panel", "show Panel", "hide Panel", "unload Panel",
                               "load Panel", "show Panel"}));
}

TEST_F(FormsTest, TouchingAFormThatIsNotLoadedNeitherLoadsItNorStartsItsTimer) {
  rt.forms.recordDesigns();
  form.Check1.setValue(CheckBox::kChecked);
  form.Timer1.setEnabled(true);
  ui.advance(1000);
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.ticks + form.loads, 0);
  EXPECT_TRUE(form.Unload());  // nothing to unload: no unload step
  EXPECT_EQ(form.unloads, 0);
  // An explicit load fills the form before it is shown; showing does not reset it.
  form.Load();
  EXPECT_EQ(form.Check1.Value(), CheckBox::kUnchecked);  // the write before loading is lost
  form.Label36(0).setCaption("filled");
  EXPECT_FALSE(form.Visible());
  form.Show();
  EXPECT_EQ(form.Label36(0).Caption(), "filled");
  EXPECT_EQ(form.loads, 1);
}

TEST_F(FormsTest, TimersTickOnlyWhileTheFormIsLoadedAndEnabled) {
  form.Show();
  ui.advance(350);
  EXPECT_EQ(form.ticks, 3);
  form.Timer1.setEnabled(false);
  ui.advance(500);
  EXPECT_EQ(form.ticks, 3);
  // Switching on starts a new period; switching on a running timer keeps its phase.
  ui.advance(50);
  form.Timer1.setEnabled(true);
  ui.advance(60);
  form.Timer1.setEnabled(true);
  ui.advance(40);
  EXPECT_EQ(form.ticks, 4);
  // A new interval starts a new period.
  ui.advance(70);
  form.Timer1.setInterval(30);
  ui.advance(29);
  EXPECT_EQ(form.ticks, 4);
  ui.advance(1);
  EXPECT_EQ(form.ticks, 5);

  form.Unload();
  ui.advance(1000);
  EXPECT_EQ(form.ticks, 5);
  // Reloaded: the design interval (100 ms) and enabled state are back.
  form.Show();
  ui.advance(100);
  EXPECT_EQ(form.ticks, 6);
  EXPECT_EQ(form.Timer1.Interval(), 100);
  // Hidden, the form stays loaded and its timer runs, but it takes no clicks.
  form.Hide();
  EXPECT_TRUE(form.IsLoaded());
  ui.advance(200);
  EXPECT_EQ(form.ticks, 8);
  EXPECT_FALSE(input::click(form.CmdOut));
  form.setVisible(true);
  EXPECT_EQ(form.loads, 2);
  EXPECT_EQ(rt.forms.activeForm(), &form);
  form.Timer1.onTimer = nullptr;  // a timer with no handler ticks harmlessly
  ui.advance(100);
}

TEST_F(FormsTest, PrintFormGoesToThePrinterAndFailuresAreErrors) {
  form.Show();
  form.PrintForm(2);
  ASSERT_EQ(ui.printed().size(), 1u);
  EXPECT_EQ(ui.printed()[0].copies, 2);
  ui.failPrinting(RuntimeError(kErrPrintFailed, "Printer error"));
  EXPECT_THROW(form.PrintForm(), RuntimeError);
  rt.forms.setPrinter(nullptr);
  EXPECT_THROW(form.PrintForm(), RuntimeError);
}

TEST(FormsServicesTest, ShellStartsARealProgramDetachedAndReportsAMissingOne) {
  Runtime rt{EventLoop::ClockKind::Manual};
  EXPECT_NO_THROW(rt.app.Shell("true"));
  EXPECT_EQ(ErrorNumber([&] { rt.app.Shell("no-such-program-here"); }), 53);
}

// ---- Modal forms and message boxes.

TEST_F(FormsTest, ModalFormsBlockTheOthersAndTheirDefaultKeysCloseThem) {
  form.Show();
  ui.onModal(outer, [&] {
    EXPECT_FALSE(input::click(form.Command1));
    EXPECT_EQ(ui.whyNot(form.Command1), "modal form Outer is open");
    inner.Show(ShowMode::Modal);
    EXPECT_TRUE(ui.esc(outer));  // the OK button is also the cancel button
  });
  ui.onModal(inner, [&] {
    EXPECT_EQ(ui.whyNot(outer.CmdOk), "modal form Inner is open");
    EXPECT_TRUE(ui.enter(inner));
  });
  outer.Show(ShowMode::Modal);
  EXPECT_FALSE(outer.IsLoaded());
  EXPECT_FALSE(inner.IsLoaded());
  EXPECT_EQ(rt.forms.modalDepth(), 0);
  EXPECT_TRUE(input::click(form.Command1));
  EXPECT_EQ(ui.journal(),
            (Log{"load Panel", "show Panel", "load Outer", "show Outer", "modal Outer",
                 "load Inner", "show Inner", "modal Inner", "hide Inner", "unload Inner",
                 "modal end Inner", "hide Outer", "unload Outer", "modal end Outer"}));
}

TEST_F(FormsTest, HidingEndsTheModalLoopAndAShownFormIsOnlyBroughtToTheFront) {
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
  form.Show();
  outer.Show();
  form.Show(ShowMode::Modal);  // already shown: to the front, returns at once
  EXPECT_EQ(rt.forms.activeForm(), &form);
  EXPECT_EQ(rt.forms.zOrder(), (std::vector<Form*>{&outer, &form}));
}

TEST_F(FormsTest, TimersAndSerialEventsGoOnWhileAMessageBoxIsOpen) {
  form.Show();
  ui.answerBox(MsgBoxResult::OK, 200);
  rt.loop.startTimer(160, [&] {
    device->send("R");
    EXPECT_FALSE(input::click(form.Command1));  // the box is in the way
  });
  Millis answeredAt = 0;
  form.onTick = [&] {
    if (form.ticks != 1) return;
    MsgBox(rt.forms, "wait", MsgBoxButtons::OK, MsgBoxIcon::Exclamation, "Port");
    answeredAt = rt.loop.now();
  };
  ui.advance(100);
  EXPECT_EQ(answeredAt, 300);  // answered 200 ms after it opened
  EXPECT_EQ(ui.lastBox().icon, MsgBoxIcon::Exclamation);
  EXPECT_EQ(ui.lastBox().title, "Port");
  EXPECT_EQ(form.ticks, 3);  // the form ticked on meanwhile
  EXPECT_EQ(form.received, "R");
  EXPECT_TRUE(input::click(form.Command1));
}

TEST_F(FormsTest, EndingTheProgramInsideAModalFormReturnsEverywhereWithoutUnloading) {
  form.Show();
  ui.onModal(outer, [&] {
    rt.app.Beep();
    rt.app.Shell("notepad", {"a.txt"});
    rt.app.End(3);
  });
  outer.Show(ShowMode::Modal);
  EXPECT_TRUE(ui.ended());
  EXPECT_EQ(ui.exitCode(), 3);
  EXPECT_EQ(ui.beeps(), 1);
  ASSERT_EQ(ui.started().size(), 1u);
  EXPECT_EQ(ui.started()[0].args, Log{"a.txt"});
  EXPECT_EQ(form.unloads, 0);  // no unload step ran
  EXPECT_TRUE(outer.IsLoaded());
  EXPECT_TRUE(form.MSComm1.PortOpen());
  EXPECT_EQ(rt.forms.modalDepth(), 0);
  ui.advance(1000);
  EXPECT_EQ(form.ticks, 0);                 // every timer stopped
  EXPECT_FALSE(input::click(form.CmdOut));  // and the operator can do nothing more
  EXPECT_EQ(MsgBox(rt.forms, "late", MsgBoxButtons::OKCancel), MsgBoxResult::Cancel);
}

TEST_F(FormsTest, AModalFormOrMessageBoxWithNothingToDoFailsNamingIt) {
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
