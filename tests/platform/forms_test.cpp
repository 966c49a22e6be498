// Forms: which property changes run handlers, the values controls refuse, the operator's
// keys, menus, access keys and focus; loading, unloading and design values; timers; modal
// forms and message boxes with timers and serial events going on.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/Runtime.h"
#include "platform/forms/Forms.h"
#include "platform/forms/UserInput.h"
#include "platform/serial/SerialPort.h"
#include "support/FormDriver.h"

namespace plat {
namespace {

using Log = std::vector<std::string>;

// The values joined by blanks (a Log's items by ", "; a call's error number), to compare a
// whole state at once. The calls run in order, after the other values are taken (in no
// defined order: they must not act).
template <class... T>
std::string Join(const T&... v) {
  std::ostringstream out;
  const auto put = [&](const auto& x) {
    if (out.tellp() > 0) out << ' ';
    if constexpr (std::is_same_v<std::decay_t<decltype(x)>, Log>) {
      for (std::size_t i = 0; i < x.size(); ++i) out << (i ? ", " : "") << x[i];
    } else if constexpr (std::is_invocable_v<decltype(x)>) {
      try {
        x();
        out << 0;
      } catch (const RuntimeError& e) {
        out << e.number();
      }
    } else {
      out << x;
    }
  };
  (put(v), ...);
  return out.str();
}

// A form with controls of every family; its handlers note what they see in `log`. Its load
// step shows the load count and opens COM3; unloading closes the port.
class Panel : public Form {
 public:
  explicit Panel(Runtime& rt) : Form(rt.forms, "Panel"), MSComm1(rt.serial) {
    setCaption("Panel");
    Command1.setCaption("S&top");
    Label1.setCaption("&Porta");
    Check1.setCaption("&Log && print");
    Label36(0).setCaption("- - -");
    CmdOut.setDefault(true);
    CmdOut.setCancel(true);
    for (Control* c : std::initializer_list<Control*>{&Text6, &Option3, &Option4})
      c->setContainer(Frame1);
    Option2.setEnabled(false);
    VScroll1.setMin(1);
    VScroll1.setMax(16);
    VScroll1.setValue(1);
    Timer1.setInterval(100);
    for (const char* item : {"Certificazione", "Diagnosi"}) Combo1.AddItem(item);
    for (const char* item : {"a", "b", "c"}) List1.AddItem(item);
    const auto noteName = [this](auto& c) { c.onClick = [this, &c] { Note(c.name()); }; };
    for (auto* b : {&Command1, &CmdOut}) noteName(*b);
    for (auto* o : {&Option1, &Option2, &Option3, &Option4}) noteName(*o);
    for (auto* m : {&MISURAG, &SETG, &LINGITA, &SYSSU}) noteName(*m);
    Check1.onClick = [this] { Note("Check1=" + std::to_string(Check1.Value())); };
    List1.onClick = [this] { Note("List1=" + std::to_string(List1.ListIndex())); };
    Combo1.onClick = [this] { Note("Combo1=" + Combo1.Text()); };
    Combo1.onChange = [this] { Note("Combo1 typed " + Combo1.Text()); };
    Text1.onChange = [this] { Note("Text1 " + Text1.Text()); };
    VScroll1.onChange = [this] { Note("VScroll1=" + std::to_string(VScroll1.Value())); };
    Text5.onGotFocus = [this] {
      Note("Text5 got");
      VScroll1.SetFocus();  // never keeps the focus
    };
    Text5.onLostFocus = [this] { Note("Text5 lost"); };
    VScroll1.onGotFocus = [this] { Note("VScroll1 got"); };
    VScroll1.onLostFocus = [this] { Note("VScroll1 lost"); };
    Timer1.onTimer = [this] { onTick(++ticks); };
    MSComm1.setCommPort(3);
    MSComm1.setRThreshold(1);
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
  MenuItem KYMRA{*this, "KYMRA", "&Kymra"}, MISURAG{KYMRA, "MISURAG", "Misura", KeyPress::F(1)};
  MenuItem SETG{KYMRA, "SETG", "Set-Up", KeyPress::F(2)}, LINGUA{*this, "LINGUA", "&Lingua"};
  MenuItem LINGITA{LINGUA, "LINGITA", "Italiano", KeyPress::Ctrl('I')};
  MenuItem UTILITY{*this, "UTILITY", "&Utilità"}, SYSSU{UTILITY, "SYSSU", "System Set-Up"};
  SerialPort MSComm1;

  // Form variables: they outlive unloading.
  Log log;
  int loads = 0, unloads = 0, ticks = 0, discarded = 0;
  bool refuseUnload = false;
  std::string received;
  std::function<void(int tick)> onTick = [](int) {};
  void Note(const std::string& s) { log.push_back(s); }

 protected:
  void Form_Load() override {
    Label36(0).setCaption("loaded " + std::to_string(++loads));
    Combo1.setListIndex(1);
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

TEST_F(FormsEventsTest, OptionButtonsRunClickFromCodeAndObserversSeeEveryRealChangeOnce) {
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
  // Option2 is disabled, but code may set it; set again, it runs Click again as the
  // operator's click would. Clearing runs nothing; the frame holds another group.
  for (auto* o : {&form.Option3, &form.Option1, &form.Option2, &form.Option2}) o->setValue(true);
  form.Option4.setValue(false);
  rt.forms.removeObserver(&rec);
  form.Text1.setText("b");
  EXPECT_EQ(Join(form.log, form.Option1.Value(), form.Option2.Value(), form.Option3.Value()),
            "Option3, Option1, Option2, Option2 0 1 1");
  EXPECT_EQ(Join(rec.seen),
            "Text1.Text, Text1.BackColor, Option3.Value, Option1.Value, "
            "Option1.Value, Option2.Value");
}

TEST_F(FormsEventsTest, CheckBoxScrollBarAndTextBoxRunTheirHandlerOnlyOnARealChange) {
  for (int v : {1, 1, 2}) form.Check1.setValue(v);
  for (int i = 0; i < 2; ++i) ui.click(form.Check1);  // grayed -> unchecked -> checked
  for (int v : {1, 5}) form.VScroll1.setValue(v);
  EXPECT_EQ(Join([&] { form.Check1.setValue(3); }, [&] { form.VScroll1.setValue(17); },
                 [&] { form.VScroll1.setValue(0); }),
            "380 380 380");
  EXPECT_EQ(Join(form.Check1.Value(), form.VScroll1.Value()), "1 5");
  ui.scroll(form.VScroll1, 40);  // the operator cannot pass the end
  form.VScroll1.setMax(10);      // the value follows the range

  form.Text1.setText("from code");  // the box's Change is the operator's only
  for (int i = 0; i < 2; ++i) ui.type(form.Text1, "typed");
  form.Text1.setLocked(true);
  EXPECT_FALSE(input::editText(form.Text1, "x"));
  EXPECT_EQ(Join(form.log),
            "Check1=1, Check1=2, Check1=0, Check1=1, VScroll1=5, VScroll1 got, "
            "VScroll1=16, VScroll1=10, VScroll1 lost, Text1 typed");
}

TEST_F(FormsEventsTest, ListIndexFromCodeRunsClickTextFromCodeDoesNotAndBadIndexesAreRefused) {
  for (int i : {2, 2, -1, 1}) form.List1.setListIndex(i);
  EXPECT_EQ(Join([&] { form.List1.setListIndex(3); }, [&] { form.List1.setListIndex(-2); },
                 [&] { form.List1.AddItem("x", 9); }, [&] { form.List1.setList(9, "x"); }),
            "380 380 5 381");
  // Inserting before the chosen item keeps the same item chosen; removing it clears it.
  form.List1.AddItem("first", 0);
  form.Note(Join(form.List1.ListIndex(), form.List1.List(2)));
  form.List1.RemoveItem(2);
  form.Note(Join(form.List1.ListIndex(), form.List1.List(99)));
  form.Combo1.setListIndex(1);
  for (const char* text : {"Certificazione", "Sel.Mis"}) {  // the item follows, no Click
    form.Combo1.setText(text);
    form.Note(Join(form.Combo1.ListIndex()));
  }
  form.Combo1.setList(0, "Certification");
  ui.type(form.Combo1, "Cert");
  ui.choose(form.Combo1, "Certification");
  EXPECT_EQ(Join(form.log),
            "List1=2, List1=2, List1=1, 2 b, -1 , Combo1=Diagnosi, 0, -1, "
            "Combo1 typed Cert, Combo1=Certification");
  // A drop-down list takes no typing.
  form.Combo1.setStyle(ComboStyle::DropDownList);
  EXPECT_FALSE(input::editText(form.Combo1, "x"));
  form.Combo1.setListIndex(-1);
  EXPECT_EQ(form.Combo1.Text(), "");
}

TEST_F(FormsEventsTest, ProgressBarsAndControlArraysRefuseWhatTheyCannotHold) {
  form.PBar1.setMax(800);
  form.PBar1.setValue(400.5f);
  EXPECT_EQ(Join([&] { form.PBar1.setMax(0); }, [&] { form.PBar1.setMin(800); },
                 [&] { form.PBar1.setValue(800.5f); }, [&] { form.PBar1.setValue(-1); },
                 [&] { form.Label36(11).setCaption("x"); }),
            "380 380 380 380 340");
  const std::string kept = Join(form.PBar1.Min(), form.PBar1.Max(), form.PBar1.Value());
  form.PBar1.setMax(100);  // a smaller range takes the value along
  form.Label36(3).setCaption("0,45");
  EXPECT_EQ(Join(kept, form.PBar1.Value(), form.Label36(3).qualifiedName(),
                 form.findControl("Label36", 3) == &form.Label36(3), form.Label36.UBound()),
            "0 800 400.5 100 Panel.Label36(3) 1 10");
}

TEST_F(FormsEventsTest, EnterEscAccessKeysAndMenuKeysActOnlyOnUsableControlsAndItems) {
  ui.enter(form);  // the focus is on Command1, the first control that takes it
  ui.focus(form.Check1);
  ui.enter(form);  // else the default button
  ui.esc(form);
  ui.alt(form, 't');
  ui.alt(form, 'L');
  ui.alt(form, 'P');  // a label's key moves the focus to the control after it
  const std::string afterLabel = form.ActiveControl()->name();
  ui.key(form, KeyPress::Tab());  // on to the next control that takes the focus
  ui.fkey(form, 1);
  ui.ctrl(form, 'i');
  ui.menu(form.SYSSU);
  form.CmdOut.setEnabled(false);
  form.Command1.setVisible(false);
  form.KYMRA.setEnabled(false);  // a disabled menu disables its items and their keys
  form.LINGITA.setVisible(false);
  for (KeyPress k : {KeyPress::Enter(), KeyPress::Escape(), KeyPress::Alt('X'), KeyPress::Alt('T'),
                     KeyPress::F(2), KeyPress::Ctrl('I'), KeyPress::F(7)})
    EXPECT_FALSE(input::pressKey(form, k));
  EXPECT_FALSE(input::menuClick(form.SETG));
  form.Command1.setDefault(true);  // one default button per form
  EXPECT_EQ(Join(form.log, afterLabel, form.ActiveControl()->name(), form.CmdOut.Default(),
                 form.defaultButton() == &form.Command1),
            "Command1, CmdOut, CmdOut, Command1, Check1=1, Text5 got, Text5 lost, VScroll1 got, "
            "VScroll1 lost, MISURAG, LINGITA, SYSSU VScroll1 Check1 0 1");
  EXPECT_EQ(Join(int(AccessKey("&Log && print")), int(AccessKey("R && D")), int(AccessKey("&àrea")),
                 StripAccessKeys("&Log && print")),
            "76 0 224 Log & print");
}

TEST_F(FormsEventsTest, TheOperatorCannotReachHiddenOrDisabledControlsOrTheirContents) {
  form.Frame1.setEnabled(false);
  EXPECT_EQ(Join(input::editText(form.Text6, "x"), ui.whyNot(form.Text6)),
            "0 Panel.Frame1 is disabled");
  form.Frame1.setEnabled(true);
  form.Frame1.setVisible(false);
  EXPECT_FALSE(input::click(form.Text6) || form.Text6.visibleInForm());
  form.Frame1.setVisible(true);
  ui.click(form.Text6);  // typed characters go into the focused box
  for (char32_t c : {U'4', U'°'}) ui.key(form, KeyPress::Character(c));
  EXPECT_EQ(form.Text6.Text(), "4°");
}

TEST_F(FormsTest, UnloadMayBeCancelledElseResetsControlsToDesignAndKeepsFormVariables) {
  form.Show();  // the load step's ListIndex runs the handler
  EXPECT_EQ(Join(form.Label36(0).Caption(), form.log), "loaded 1 Combo1=Diagnosi");
  form.SETG.setCaption("Imposta");
  form.setCaption("Changed");
  form.Label1.setBackColor(colors::kRed);
  form.refuseUnload = true;
  ui.close(form);  // the close box runs the unload step
  EXPECT_FALSE(form.Unload());
  EXPECT_EQ(Join(form.Visible(), form.discarded), "1 0");

  form.refuseUnload = false;
  ui.close(form);
  EXPECT_EQ(Join(form.IsLoaded(), form.Visible(), form.MSComm1.PortOpen(),
                 form.Label1.BackColor() == colors::kButtonFace, form.Label36(0).Caption(),
                 form.SETG.Caption(), form.Caption()),
            "0 0 0 1 - - - Set-Up Panel");
  form.Show();
  EXPECT_EQ(Join(form.loads, form.unloads, form.discarded, form.Label36(0).Caption(), ui.journal()),
            "2 3 1 loaded 2 load Panel, show Panel, hide Panel, unload Panel, load Panel, "
            "show Panel");
}

TEST_F(FormsTest, TouchingAFormThatIsNotLoadedNeitherLoadsItNorStartsItsTimer) {
  rt.forms.recordDesigns();
  form.Check1.setValue(CheckBox::kChecked);
  form.Timer1.setEnabled(true);
  ui.advance(1000);
  EXPECT_TRUE(form.Unload());  // nothing to unload: no unload step
  EXPECT_EQ(Join(form.IsLoaded(), form.ticks, form.loads, form.unloads), "0 0 0 0");
  // An explicit load fills the form before it is shown (the write before loading is lost);
  // showing does not reset it.
  form.Load();
  form.Label36(0).setCaption("filled");
  const std::string loaded = Join(form.Check1.Value(), form.Visible());
  form.Show();
  EXPECT_EQ(Join(loaded, form.Label36(0).Caption(), form.loads), "0 0 filled 1");
}

TEST_F(FormsTest, TimersTickOnlyWhileTheFormIsLoadedAndEnabled) {
  std::string ticks;
  form.onTick = [&](int) { ticks += std::to_string(rt.loop.now()) + " "; };
  form.Show();
  ui.advance(350);
  form.Timer1.setEnabled(false);
  ui.advance(550);
  form.Timer1.setEnabled(true);  // switching on starts a new period
  ui.advance(60);
  form.Timer1.setEnabled(true);  // switching on a running timer keeps its phase
  ui.advance(110);
  form.Timer1.setInterval(30);  // a new interval starts a new period
  ui.advance(30);
  form.Unload();
  ui.advance(1000);
  form.Show();  // reloaded: the design interval and enabled state are back
  ui.advance(100);
  form.Hide();  // hidden, the form stays loaded and its timer runs, but it takes no clicks
  ui.advance(200);
  EXPECT_FALSE(input::click(form.CmdOut));
  form.setVisible(true);
  EXPECT_EQ(Join(ticks, form.Timer1.Interval(), form.loads, rt.forms.activeForm() == &form),
            "100 200 300 1000 1100 2200 2300 2400  100 2 1");
  form.Timer1.onTimer = nullptr;  // a timer with no handler ticks harmlessly
  ui.advance(100);
}

TEST_F(FormsTest, PrintFormGoesToThePrinterAndFailuresAreErrors) {
  form.Show();
  form.PrintForm(2);
  ui.failPrinting(RuntimeError(kErrPrintFailed, "Printer error"));
  EXPECT_THROW(form.PrintForm(), RuntimeError);
  rt.forms.setPrinter(nullptr);
  EXPECT_THROW(form.PrintForm(), RuntimeError);
  EXPECT_EQ(Join(ui.journal()), "load Panel, show Panel, print Panel x2");
}

TEST(FormsServicesTest, ShellStartsARealProgramDetachedAndReportsAMissingOne) {
  Runtime rt{EventLoop::ClockKind::Manual};
  EXPECT_NO_THROW(rt.app.Shell("true"));
  EXPECT_EQ(Join([&] { rt.app.Shell("no-such-program-here"); }), "53");
}

TEST_F(FormsTest, ModalFormsBlockTheOthersAndTheirDefaultKeysCloseThem) {
  form.Show();
  ui.onModal(outer, [&] {
    EXPECT_EQ(Join(input::click(form.Command1), ui.whyNot(form.Command1)),
              "0 modal form Outer is open");
    inner.Show(ShowMode::Modal);
    EXPECT_TRUE(ui.esc(outer));  // the OK button is also the cancel button
  });
  ui.onModal(inner, [&] {
    EXPECT_EQ(ui.whyNot(outer.CmdOk), "modal form Inner is open");
    EXPECT_TRUE(ui.enter(inner));
  });
  outer.Show(ShowMode::Modal);
  EXPECT_EQ(Join(outer.IsLoaded(), inner.IsLoaded(), rt.forms.modalDepth()), "0 0 0");
  EXPECT_TRUE(input::click(form.Command1));
  EXPECT_EQ(Join(ui.journal()),
            "load Panel, show Panel, load Outer, show Outer, modal Outer, load Inner, show Inner, "
            "modal Inner, hide Inner, unload Inner, modal end Inner, hide Outer, unload Outer, "
            "modal end Outer");
}

TEST_F(FormsTest, HidingEndsTheModalLoopAndAShownFormIsOnlyBroughtToTheFront) {
  outer.CmdOk.onClick = [&] { outer.Hide(); };
  ui.onModal(outer, [&] {
    outer.Show(ShowMode::Modal);  // shown again while shown: no error, no second loop
    ui.click(outer.CmdOk);
  });
  outer.Show(ShowMode::Modal);
  EXPECT_EQ(Join(outer.IsLoaded(), outer.Visible(), outer.modal()), "1 0 0");
  form.Show();
  outer.Show();
  form.Show(ShowMode::Modal);  // already shown: to the front, returns at once
  EXPECT_TRUE(rt.forms.activeForm() == &form &&
              rt.forms.zOrder() == (std::vector<Form*>{&outer, &form}));
}

TEST_F(FormsTest, TimersAndSerialEventsGoOnWhileAMessageBoxIsOpen) {
  form.Show();
  ui.answerBox(MsgBoxResult::OK, 200);
  rt.loop.startTimer(160, [&] {
    device->send("R");
    EXPECT_FALSE(input::click(form.Command1));  // the box is in the way
  });
  Millis answeredAt = 0;
  form.onTick = [&](int tick) {
    if (tick != 1) return;
    MsgBox(rt.forms, "wait", MsgBoxButtons::OK, MsgBoxIcon::Exclamation, "Port");
    answeredAt = rt.loop.now();
  };
  ui.advance(100);
  // Answered 200 ms after it opened; the form ticked on meanwhile.
  EXPECT_EQ(Join(answeredAt, ui.lastBox().icon == MsgBoxIcon::Exclamation, ui.lastBox().title,
                 form.ticks, form.received),
            "300 1 Port 3 R");
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
  ASSERT_EQ(ui.started().size(), 1u);
  // No unload step ran.
  EXPECT_EQ(Join(ui.ended(), ui.exitCode(), ui.beeps(), ui.started()[0].args, form.unloads,
                 outer.IsLoaded(), form.MSComm1.PortOpen(), rt.forms.modalDepth()),
            "1 3 1 a.txt 0 1 1 0");
  ui.advance(1000);
  EXPECT_EQ(form.ticks, 0);                 // every timer stopped
  EXPECT_FALSE(input::click(form.CmdOut));  // and the operator can do nothing more
  EXPECT_EQ(MsgBox(rt.forms, "late", MsgBoxButtons::OKCancel), MsgBoxResult::Cancel);
}

TEST_F(FormsTest, AModalFormOrMessageBoxWithNothingToDoFailsNamingIt) {
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(outer.Show(ShowMode::Modal), LoopStalled),
                          "modal form Outer");
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(MsgBox(rt.forms, "Porta occupata"), LoopStalled),
                          "Porta occupata");
  EXPECT_EQ(Join(rt.forms.modalDepth(), rt.forms.openMessageBox() == nullptr), "0 1");
  ui.answerEveryBox(MsgBoxResult::OK);
  EXPECT_EQ(MsgBox(rt.forms, "again"), MsgBoxResult::OK);
}

}  // namespace
}  // namespace plat
