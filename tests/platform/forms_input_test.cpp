// The operator's keys, menus, access keys and focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/UserInput.h"
#include "support/FormDriver.h"

namespace plat {
namespace {

class StartForm : public Form {
 public:
  explicit StartForm(Runtime& rt) : Form(rt, "Start") {
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

class FormsInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Show();
    form.log.clear();
  }
  Runtime rt{EventLoop::ClockKind::Manual};
  StartForm form{rt};
  test::FormDriver ui{rt};
};

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
