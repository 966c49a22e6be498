// Which property changes from code run handlers, which values controls refuse, and the
// operator's keys, menus, access keys and focus.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Runtime.h"
#include "platform/forms/Forms.h"
#include "platform/forms/UserInput.h"
#include "support/FormDriver.h"

namespace plat {
namespace {

class SetupForm : public Form {
 public:
  explicit SetupForm(Runtime& rt) : Form(rt.forms, "Setup") {
    for (auto* o : {&Option1, &Option2, &Option3, &Option4})
      o->onClick = [this, o] { log.push_back(o->name()); };
    Option3.setContainer(Frame1);
    Option4.setContainer(Frame1);
    Option2.setEnabled(false);
    Check1.onClick = [this] { log.push_back("Check1=" + std::to_string(Check1.Value())); };
    List1.onClick = [this] { log.push_back("List1=" + std::to_string(List1.ListIndex())); };
    Combo1.onClick = [this] { log.push_back("Combo1=" + Combo1.Text()); };
    Combo1.onChange = [this] { log.push_back("Combo1 typed " + Combo1.Text()); };
    Text1.onChange = [this] { log.push_back("Text1 " + Text1.Text()); };
    VScroll1.setMin(1);
    VScroll1.setMax(16);
    VScroll1.setValue(1);
    VScroll1.onChange = [this] { log.push_back("VScroll1=" + std::to_string(VScroll1.Value())); };
    for (const char* item : {"Certificazione", "Diagnosi"}) Combo1.AddItem(item);
    for (const char* item : {"a", "b", "c"}) List1.AddItem(item);
  }

  Frame Frame1{*this, "Frame1"};
  OptionButton Option1{*this, "Option1"};
  OptionButton Option2{*this, "Option2"};
  OptionButton Option3{*this, "Option3"};
  OptionButton Option4{*this, "Option4"};
  CheckBox Check1{*this, "Check1"};
  ListBox List1{*this, "List1"};
  ComboBox Combo1{*this, "Combo1"};
  TextBox Text1{*this, "Text1"};
  VScrollBar VScroll1{*this, "VScroll1"};
  ProgressBar PBar1{*this, "PBar1"};
  ControlArray<Label> Label36{*this, "Label36", 0, 10};
  std::vector<std::string> log;
};

class StartForm : public Form {
 public:
  explicit StartForm(Runtime& rt) : Form(rt.forms, "Start") {
    Command1.setCaption("S&top");
    CmdOut.setCaption("ESC");
    CmdOut.setDefault(true);
    CmdOut.setCancel(true);
    Label1.setCaption("&Porta");
    Check1.setCaption("&Log && print");
    Text6.setContainer(Frame1);
    for (auto* b : {&Command1, &CmdOut}) b->onClick = [this, b] { log.push_back(b->name()); };
    for (auto* m : {&MISURAG, &SETG, &LINGITA, &SYSSU})
      m->onClick = [this, m] { log.push_back(m->name()); };
    Text5.onGotFocus = [this] {
      log.push_back("Text5 got");
      VScroll1.SetFocus();  // never keeps the focus
    };
    Text5.onLostFocus = [this] { log.push_back("Text5 lost"); };
    VScroll1.onGotFocus = [this] { log.push_back("VScroll1 got"); };
    VScroll1.onLostFocus = [this] { log.push_back("VScroll1 lost"); };
  }

  CommandButton Command1{*this, "Command1"};
  Label Label1{*this, "Label1"};
  TextBox Text5{*this, "Text5"};
  VScrollBar VScroll1{*this, "VScroll1"};
  CheckBox Check1{*this, "Check1"};
  Frame Frame1{*this, "Frame1"};
  TextBox Text6{*this, "Text6"};
  CommandButton CmdOut{*this, "CmdOut"};
  MenuItem KYMRA{*this, "KYMRA", "&Kymra"};
  MenuItem MISURAG{KYMRA, "MISURAG", "Misura", KeyPress::F(1)};
  MenuItem SETG{KYMRA, "SETG", "Set-Up", KeyPress::F(2)};
  MenuItem LINGUA{*this, "LINGUA", "&Lingua"};
  MenuItem LINGITA{LINGUA, "LINGITA", "Italiano", KeyPress::Ctrl('I')};
  MenuItem UTILITY{*this, "UTILITY", "&Utilità"};
  MenuItem SYSSU{UTILITY, "SYSSU", "System Set-Up"};
  std::vector<std::string> log;
};

// A shown form of kind F with its handlers' log cleared.
template <typename F>
class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Show();
    form.log.clear();
  }
  Runtime rt{EventLoop::ClockKind::Manual};
  F form{rt};
  test::FormDriver ui{rt};
};
using FormsEventsTest = FormTest<SetupForm>;
using FormsInputTest = FormTest<StartForm>;

int ErrorNumber(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

TEST_F(FormsEventsTest, OptionButtonsRunClickFromCodeAndClearTheirOwnGroupOnly) {
  form.Option3.setValue(true);
  form.Option1.setValue(true);
  form.Option2.setValue(true);  // disabled, but code may set it
  form.Option2.setValue(true);  // set again: Click again, as the operator's click would
  EXPECT_FALSE(form.Option1.Value());
  EXPECT_TRUE(form.Option2.Value());
  EXPECT_TRUE(form.Option3.Value());  // the frame's group is another group
  form.Option4.setValue(false);       // clearing runs nothing
  EXPECT_EQ(form.log, (std::vector<std::string>{"Option3", "Option1", "Option2", "Option2"}));
  EXPECT_FALSE(input::click(form.Option2));  // the operator cannot
  ASSERT_TRUE(ui.click(form.Option4));
  EXPECT_FALSE(form.Option3.Value());
}

TEST_F(FormsEventsTest, CheckBoxRunsClickOnlyWhenItsValueChanges) {
  form.Check1.setValue(1);
  form.Check1.setValue(1);
  form.Check1.setValue(2);
  ui.click(form.Check1);  // grayed -> unchecked
  ui.click(form.Check1);
  EXPECT_EQ(form.log, (std::vector<std::string>{"Check1=1", "Check1=2", "Check1=0", "Check1=1"}));
  EXPECT_EQ(ErrorNumber([&] { form.Check1.setValue(3); }), 380);
  EXPECT_EQ(form.Check1.Value(), 1);
}

TEST_F(FormsEventsTest, ListIndexFromCodeRunsClickAndRefusesAnIndexOutsideTheList) {
  form.List1.setListIndex(2);
  form.List1.setListIndex(2);
  form.List1.setListIndex(-1);
  EXPECT_EQ(form.log, (std::vector<std::string>{"List1=2", "List1=2"}));
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
  EXPECT_EQ(form.log, (std::vector<std::string>{"Combo1=Diagnosi", "Combo1 typed Cert",
                                                "Combo1=Certification"}));
  // A drop-down list takes no typing.
  form.Combo1.setStyle(ComboStyle::DropDownList);
  EXPECT_FALSE(input::editText(form.Combo1, "x"));
  form.Combo1.setListIndex(-1);
  EXPECT_EQ(form.Combo1.Text(), "");
}

TEST_F(FormsEventsTest, TextBoxChangeRunsForTheOperatorOnly) {
  form.Text1.setText("from code");
  ASSERT_TRUE(ui.type(form.Text1, "typed"));
  ASSERT_TRUE(ui.type(form.Text1, "typed"));  // same text: no change
  EXPECT_EQ(form.log, (std::vector<std::string>{"Text1 typed"}));
  form.Text1.setLocked(true);
  EXPECT_FALSE(input::editText(form.Text1, "x"));
}

TEST_F(FormsEventsTest, ScrollBarRunsChangeOnlyWhenItsValueChanges) {
  form.VScroll1.setValue(1);
  form.VScroll1.setValue(5);
  EXPECT_EQ(ErrorNumber([&] { form.VScroll1.setValue(17); }), 380);
  EXPECT_EQ(ErrorNumber([&] { form.VScroll1.setValue(0); }), 380);
  EXPECT_EQ(form.VScroll1.Value(), 5);
  ui.scroll(form.VScroll1, 40);  // the operator cannot pass the end
  form.VScroll1.setMax(10);      // the value follows the range
  EXPECT_EQ(form.log, (std::vector<std::string>{"VScroll1=5", "VScroll1=16", "VScroll1=10"}));
}

TEST_F(FormsEventsTest, ProgressBarRefusesABadRangeOrValueAndKeepsTheOldOnes) {
  form.PBar1.setMax(800);
  form.PBar1.setValue(400.5f);
  EXPECT_EQ(ErrorNumber([&] { form.PBar1.setMax(0); }), 380);
  EXPECT_EQ(ErrorNumber([&] { form.PBar1.setMax(-5); }), 380);
  EXPECT_EQ(ErrorNumber([&] { form.PBar1.setMin(800); }), 380);
  EXPECT_EQ(ErrorNumber([&] { form.PBar1.setValue(800.5f); }), 380);
  EXPECT_EQ(ErrorNumber([&] { form.PBar1.setValue(-1); }), 380);
  EXPECT_FLOAT_EQ(form.PBar1.Min(), 0);
  EXPECT_FLOAT_EQ(form.PBar1.Max(), 800);
  EXPECT_FLOAT_EQ(form.PBar1.Value(), 400.5f);
  form.PBar1.setMax(100);  // a smaller range takes the value along
  EXPECT_FLOAT_EQ(form.PBar1.Value(), 100);
}

TEST_F(FormsEventsTest, ControlArrayElementsAreNamedControlsAndMissingOnesAreErrors) {
  form.Label36(3).setCaption("0,45");
  EXPECT_EQ(form.Label36(3).qualifiedName(), "Setup.Label36(3)");
  EXPECT_EQ(form.findControl("Label36", 3), &form.Label36(3));
  EXPECT_EQ(form.Label36.UBound(), 10);
  EXPECT_EQ(ErrorNumber([&] { form.Label36(11).setCaption("x"); }), 340);
}

TEST_F(FormsEventsTest, ObserversSeeEveryRealChangeOnce) {
  struct Recorder : FormsObserver {
    std::vector<std::string> seen;
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
  EXPECT_EQ(rec.seen, (std::vector<std::string>{"Text1.Text", "Text1.BackColor", "Option1.Value",
                                                "Option3.Value"}));
}

TEST_F(FormsInputTest, EnterPressesTheFocusedButtonElseTheDefaultAndEscTheCancel) {
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
  EXPECT_EQ(form.log, (std::vector<std::string>{"Command1", "CmdOut", "CmdOut"}));
}

TEST_F(FormsInputTest, AltWithAnAccessKeyActsOnItsControl) {
  ui.alt(form, 't');
  ui.alt(form, 'L');
  EXPECT_EQ(form.Check1.Value(), 1);
  ui.alt(form, 'P');  // a label's key moves the focus to the control after it
  EXPECT_EQ(form.ActiveControl(), &form.VScroll1);
  EXPECT_FALSE(input::pressKey(form, KeyPress::Alt('X')));
  form.Command1.setVisible(false);
  EXPECT_FALSE(input::pressKey(form, KeyPress::Alt('T')));
  EXPECT_EQ(form.log,
            (std::vector<std::string>{"Command1", "Text5 got", "Text5 lost", "VScroll1 got"}));
  EXPECT_EQ(AccessKey("&Log && print"), U'L');
  EXPECT_EQ(AccessKey("R && D"), 0);
  EXPECT_EQ(StripAccessKeys("&Log && print"), "Log & print");
  EXPECT_EQ(AccessKey("&àrea"), U'à');
}

TEST_F(FormsInputTest, MenuShortcutsAndClicksReachOnlyUsableItems) {
  ui.fkey(form, 1);
  ui.ctrl(form, 'i');
  ui.menu(form.SYSSU);
  form.KYMRA.setEnabled(false);  // a disabled menu disables its items and their keys
  EXPECT_FALSE(input::pressKey(form, KeyPress::F(2)));
  EXPECT_FALSE(input::menuClick(form.SETG));
  form.LINGITA.setVisible(false);
  EXPECT_FALSE(input::pressKey(form, KeyPress::Ctrl('I')));
  EXPECT_FALSE(input::pressKey(form, KeyPress::F(7)));
  EXPECT_EQ(form.log, (std::vector<std::string>{"MISURAG", "LINGITA", "SYSSU"}));
}

TEST_F(FormsInputTest, FocusHandlersRunInOrderAndMayPassTheFocusOn) {
  ui.click(form.Text5);
  EXPECT_EQ(form.ActiveControl(), &form.VScroll1);
  ui.key(form, KeyPress::Tab());  // on to the next control that takes the focus
  EXPECT_EQ(form.ActiveControl(), &form.Check1);
  EXPECT_EQ(form.log,
            (std::vector<std::string>{"Text5 got", "Text5 lost", "VScroll1 got", "VScroll1 lost"}));
}

TEST_F(FormsInputTest, TheOperatorCannotReachHiddenOrDisabledControlsOrTheirContents) {
  form.Frame1.setEnabled(false);
  EXPECT_FALSE(input::editText(form.Text6, "x"));
  EXPECT_EQ(ui.whyNot(form.Text6), "Start.Frame1 is disabled");
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

}  // namespace
}  // namespace plat
