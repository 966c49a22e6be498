#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/display/ControlViews.h"
#include "platform/display/Keys.h"

// FLTK's key codes after the model's headers (see ControlViews.cpp).
#include <FL/Enumerations.H>

namespace plat::display {
namespace {

// Every text of up to `length` characters made of 'a', CR and LF.
std::vector<std::string> AllTexts(std::size_t length) {
  std::vector<std::string> all{""};
  for (std::size_t from = 0; all.back().size() < length;) {
    const std::size_t to = all.size();
    for (std::size_t i = from; i < to; ++i)
      for (char c : {'a', '\r', '\n'}) all.push_back(all[i] + c);
    from = to;
  }
  return all;
}

bool LineEndsAreCrLf(const std::string& t) {
  for (std::size_t i = 0; i < t.size(); ++i)
    if (t[i] == '\n' && (i == 0 || t[i - 1] != '\r')) return false;
  return true;
}

TEST(MultiLineTextTest, CrLfIsALineBreakInTheEditorAndComesBackAsCrLf) {
  EXPECT_EQ(EditorText("Com1 no connect\r\nCom2   GAS\r\n"), "Com1 no connect\nCom2   GAS\n");
  EXPECT_EQ(EditorText("one\ntwo"), "one\ntwo");         // a lone LF breaks the line too
  EXPECT_EQ(EditorText("a\rb\r"), "a\rb\r");             // a lone CR is no line end
  EXPECT_EQ(EditorText("a\r\r\nb"), "a\r\nb");           // the CR before a line end stays
  EXPECT_EQ(ModelText("one\ntwo\n"), "one\r\ntwo\r\n");  // the operator's new lines
  EXPECT_EQ(ModelText("one\ntwo"), "one\r\ntwo");
  EXPECT_EQ(ModelText(EditorText("x\ny")), "x\r\ny");  // an edited box has CR LF only
  EXPECT_EQ(EditorText(""), "");
  EXPECT_EQ(ModelText(""), "");
}

TEST(MultiLineTextTest, TextsRoundTripBetweenModelAndEditor) {
  for (const std::string& t : AllTexts(7)) {
    // The model's text, shown and sent back unedited, is the same text.
    if (LineEndsAreCrLf(t)) {
      EXPECT_EQ(ModelText(EditorText(t)), t) << testing::PrintToString(t);
    }
    // What the editor sends comes back as the editor's own text: an edit never resets it.
    EXPECT_EQ(EditorText(ModelText(t)), t) << testing::PrintToString(t);
  }
}

TEST(TextAlignmentTest, TextSitsInTheRoomBesideIt) {
  EXPECT_EQ(AlignOffset(Alignment::Left, 40), 0);
  EXPECT_EQ(AlignOffset(Alignment::Center, 40), 20);
  EXPECT_EQ(AlignOffset(Alignment::Center, 41), 20);
  EXPECT_EQ(AlignOffset(Alignment::Right, 40), 40);
  // A text as wide as the box or wider begins at the left edge and scrolls.
  for (Alignment a : {Alignment::Left, Alignment::Center, Alignment::Right}) {
    EXPECT_EQ(AlignOffset(a, 0), 0);
    EXPECT_EQ(AlignOffset(a, -25), 0);
  }
}

TEST(LockedBoxKeyTest, OnlyKeysThatLeaveTheTextAloneReachALockedBox) {
  using enum LockedKey;
  struct Case {
    int key, state;
    LockedKey want;
  };
  // Editing keys end at the box (an unused Enter would move the focus on); pasting, cutting,
  // undoing and access keys are FLTK's to offer elsewhere.
  for (const Case& c : std::initializer_list<Case>{{FL_Left, 0, Use},
                                                   {FL_Down, FL_SHIFT, Use},
                                                   {FL_Page_Up, 0, Use},
                                                   {FL_End, FL_CTRL | FL_SHIFT, Use},
                                                   {'c', FL_CTRL, Use},
                                                   {'a', FL_CTRL, Use},
                                                   {FL_Insert, FL_CTRL, Use},
                                                   {'a', 0, Swallow},
                                                   {'A', FL_SHIFT, Swallow},
                                                   {FL_Enter, 0, Swallow},
                                                   {FL_KP_Enter, 0, Swallow},
                                                   {FL_BackSpace, 0, Swallow},
                                                   {FL_Delete, 0, Swallow},
                                                   {FL_Delete, FL_SHIFT, Swallow},
                                                   {FL_Insert, FL_SHIFT, Swallow},
                                                   {FL_Insert, 0, Swallow},
                                                   {'v', FL_CTRL, Pass},
                                                   {'x', FL_CTRL, Pass},
                                                   {'z', FL_CTRL, Pass},
                                                   {'c', FL_CTRL | FL_SHIFT, Pass},
                                                   {'u', FL_ALT, Pass}})
    EXPECT_EQ(LockedBoxKey(c.key, c.state), c.want) << c.key << " " << c.state;
}

// Captions and message texts: a line break from the system (CR LF, a lone CR) is drawn as a
// line break, never as "^M"; '@' is not taken for a symbol.
TEST(FltkTextTest, LineBreaksAndSymbols) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"COM1 x\r\nBusy", "COM1 x\nBusy"},
      {"a\rb", "a\nb"},
      {"a\nb", "a\nb"},
      {"a\r\r\nb", "a\n\nb"},
      {"mail@x", "mail@@x"},
  };
  for (const auto& c : cases) EXPECT_EQ(FltkText(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace plat::display
