// The display's rules that need no window: keys, texts for FLTK and the multi-line editor,
// alignment.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/display/ControlViews.h"
#include "platform/display/Keys.h"

// FLTK's key codes after the model's headers (see ControlViews.cpp).
#include <FL/Enumerations.H>

namespace plat::display {
namespace {

TEST(KeysTest, KeysOfTheModelAreToldFromTheWidgetsOwnAndMenuShortcutsBecomeFltkShortcuts) {
  KeyPress shiftTab = KeyPress::Tab();
  shiftTab.shift = true;
  const std::tuple<int, int, KeyPress> cases[] = {
      {FL_Enter, 0, KeyPress::Enter()},   {FL_KP_Enter, 0, KeyPress::Enter()},
      {FL_Escape, 0, KeyPress::Escape()}, {FL_Tab, 0, KeyPress::Tab()},
      {FL_F + 6, 0, KeyPress::F(6)},      {'i', FL_CTRL, KeyPress::Ctrl('I')},
      {'t', FL_ALT, KeyPress::Alt('T')},  {'3', FL_ALT, KeyPress::Alt('3')},
      {FL_Tab, FL_SHIFT, shiftTab}};
  for (const auto& [key, state, want] : cases) EXPECT_EQ(ModelKey(key, state), want) << key;
  // Typing, editing keys and AltGr-like combinations stay with the widgets.
  const std::pair<int, int> widgetKeys[] = {
      {'a', 0},          {'3', FL_CTRL}, {FL_Left, 0}, {'e', FL_CTRL | FL_ALT}, {FL_F + 2, FL_CTRL},
      {FL_Enter, FL_ALT}};
  for (auto [key, state] : widgetKeys)
    EXPECT_TRUE(ModelKey(key, state).none()) << key << " " << state;
  EXPECT_EQ(std::tuple(FltkShortcut(KeyPress::F(12)), FltkShortcut(KeyPress::Ctrl('S')),
                       FltkShortcut(KeyPress::Alt('x')), FltkShortcut({})),
            std::tuple(FL_F + 12, FL_CTRL | 's', FL_ALT | 'x', 0));
  // What a key press maps to finds the same shortcut again.
  for (KeyPress k : {KeyPress::F(5), KeyPress::Ctrl('E')}) {
    const int code = FltkShortcut(k);
    EXPECT_EQ(ModelKey(code & ~(FL_CTRL | FL_ALT | FL_SHIFT), code & (FL_CTRL | FL_ALT)), k);
  }
}

TEST(LockedBoxKeyTest, OnlyKeysThatLeaveTheTextAloneReachALockedBox) {
  using enum LockedKey;
  // Editing keys end at the box (an unused Enter would move the focus on); pasting, cutting,
  // undoing and access keys are FLTK's to offer elsewhere.
  const std::tuple<int, int, LockedKey> cases[] = {{FL_Left, 0, Use},
                                                   {FL_Down, FL_SHIFT, Use},
                                                   {FL_Page_Up, 0, Use},
                                                   {FL_End, FL_CTRL | FL_SHIFT, Use},
                                                   {'c', FL_CTRL, Use},
                                                   {'a', FL_CTRL, Use},
                                                   {FL_Insert, FL_CTRL, Use},
                                                   {'a', 0, Swallow},
                                                   {FL_Enter, 0, Swallow},
                                                   {FL_BackSpace, 0, Swallow},
                                                   {FL_Delete, FL_SHIFT, Swallow},
                                                   {FL_Insert, FL_SHIFT, Swallow},
                                                   {'v', FL_CTRL, Pass},
                                                   {'c', FL_CTRL | FL_SHIFT, Pass},
                                                   {'u', FL_ALT, Pass}};
  for (const auto& [key, state, want] : cases)
    EXPECT_EQ(LockedBoxKey(key, state), want) << key << " " << state;
}

// Captions and message texts: a line break from the system (CR LF, a lone CR) is drawn as a
// line break, never as "^M"; '@' is not taken for a symbol.
TEST(FltkTextTest, LineBreaksAndSymbols) {
  const std::pair<const char*, const char*> cases[] = {{"COM1 x\r\nBusy", "COM1 x\nBusy"},
                                                       {"a\rb", "a\nb"},
                                                       {"a\nb", "a\nb"},
                                                       {"a\r\r\nb", "a\n\nb"},
                                                       {"mail@x", "mail@@x"},
                                                       {"@@", "@@@@"},
                                                       {"&Stampa", "&Stampa"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(FltkText(in), out) << in;
}

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

// A multi-line box holds CR LF line ends; its editor holds LF.
TEST(MultiLineTextTest, CrLfIsALineBreakInTheEditorAndComesBackAsCrLf) {
  const std::pair<const char*, const char*> toEditor[] = {
      {"Com1 no connect\r\nCom2   GAS\r\n", "Com1 no connect\nCom2   GAS\n"},
      {"one\ntwo", "one\ntwo"},  // a lone LF breaks the line too
      {"a\rb\r", "a\rb\r"},      // a lone CR is no line end
      {"a\r\r\nb", "a\r\nb"},    // the CR before a line end stays
  };
  for (const auto& [model, editor] : toEditor) EXPECT_EQ(EditorText(model), editor) << model;
  EXPECT_EQ(ModelText("one\ntwo\n"), "one\r\ntwo\r\n");  // the operator's new lines
  for (const std::string& t : AllTexts(7)) {
    // The model's text, shown and sent back unedited, is the same text.
    bool crLfOnly = true;
    for (std::size_t i = 0; i < t.size(); ++i)
      crLfOnly = crLfOnly && (t[i] != '\n' || (i > 0 && t[i - 1] == '\r'));
    if (crLfOnly) {
      EXPECT_EQ(ModelText(EditorText(t)), t) << testing::PrintToString(t);
    }
    // What the editor sends comes back as the editor's own text: an edit never resets it.
    EXPECT_EQ(EditorText(ModelText(t)), t) << testing::PrintToString(t);
  }
}

TEST(TextAlignmentTest, TextSitsInTheRoomBesideIt) {
  EXPECT_EQ(std::tuple(AlignOffset(Alignment::Left, 40), AlignOffset(Alignment::Center, 41),
                       AlignOffset(Alignment::Right, 40)),
            std::tuple(0, 20, 40));
  // A text as wide as the box or wider begins at the left edge and scrolls.
  for (Alignment a : {Alignment::Center, Alignment::Right})
    EXPECT_EQ(std::pair(AlignOffset(a, 0), AlignOffset(a, -25)), std::pair(0, 0));
}

}  // namespace
}  // namespace plat::display
