// Which property changes from code run handlers, and which values controls refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/UserInput.h"
#include "support/FormDriver.h"

namespace plat {
namespace {

class SetupForm : public Form {
 public:
  explicit SetupForm(Runtime& rt) : Form(rt, "Setup") {
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

class FormsEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Show();
    form.log.clear();
  }
  Runtime rt{EventLoop::ClockKind::Manual};
  SetupForm form{rt};
  test::FormDriver ui{rt};
};

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

}  // namespace
}  // namespace plat
