// The display's rules that need no window: keys, texts for FLTK and the multi-line editor,
// alignment.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/display/ControlViews.h"
#include "platform/display/Keys.h"

// FLTK's key codes after the model's headers (see ControlViews.cpp).
#include <FL/Enumerations.H>

namespace plat::display {
namespace {

// FLTK key codes are given with their modifier bits, as FLTK's shortcuts hold them.
// The model's key of each.
std::string Keys(std::initializer_list<int> codes) {
  std::string out;
  for (int c : codes) out += ModelKey(c & 0xFFFF, c & ~0xFFFF).describe() + " ";
  return out;
}

// What a locked box does with each key: U use, S swallow, P pass it on.
std::string Locked(std::initializer_list<int> codes) {
  std::string out;
  for (int c : codes) out += "USP"[static_cast<int>(LockedBoxKey(c & 0xFFFF, c & ~0xFFFF))];
  return out;
}

TEST(KeysTest, KeysOfTheModelAreToldFromTheWidgetsOwnAndMenuShortcutsBecomeFltkShortcuts) {
  EXPECT_EQ(Keys({FL_Enter, FL_KP_Enter, FL_Escape, FL_Tab, FL_F + 6, FL_CTRL | 'i', FL_ALT | 't',
                  FL_ALT | '3', FL_SHIFT | FL_Tab}),
            "Enter Enter Esc Tab F6 Ctrl+I Alt+T Alt+3 Shift+Tab ");
  // Typing, editing keys and AltGr-like combinations stay with the widgets.
  EXPECT_EQ(Keys({'a', FL_CTRL | '3', FL_ALT | ' ', FL_Left, FL_CTRL | FL_ALT | 'e',
                  FL_CTRL | (FL_F + 2), FL_ALT | FL_Enter}),
            "none none none none none none none ");
  EXPECT_EQ(std::tuple(FltkShortcut(KeyPress::F(12)), FltkShortcut(KeyPress::Ctrl('S')),
                       FltkShortcut(KeyPress::Alt('x')), FltkShortcut({})),
            std::tuple(FL_F + 12, FL_CTRL | 's', FL_ALT | 'x', 0));
  // What a key press maps to finds the same shortcut again.
  EXPECT_EQ(Keys({FltkShortcut(KeyPress::F(5)), FltkShortcut(KeyPress::Ctrl('E'))}), "F5 Ctrl+E ");
}

TEST(LockedBoxKeyTest, OnlyKeysThatLeaveTheTextAloneReachALockedBox) {
  // Editing keys end at the box (an unused Enter would move the focus on); pasting, cutting,
  // undoing and access keys are FLTK's to offer elsewhere.
  EXPECT_EQ(
      Locked({FL_Left, FL_SHIFT | FL_Down, FL_Page_Up, FL_CTRL | FL_SHIFT | FL_End, FL_CTRL | 'c',
              FL_CTRL | 'a', FL_CTRL | FL_Insert, 'a', FL_Enter, FL_BackSpace, FL_SHIFT | FL_Delete,
              FL_SHIFT | FL_Insert, FL_CTRL | 'v', FL_CTRL | FL_SHIFT | 'c', FL_ALT | 'u'}),
      "UUUUUUUSSSSSPPP");
}

// Captions and message texts: a line break from the system (CR LF, a lone CR) is drawn as a
// line break, never as "^M"; '@' is not taken for a symbol.
TEST(FltkTextTest, LineBreaksAndSymbols) {
  EXPECT_EQ(FltkText("COM1 x\r\nBusy|a\rb|a\nb|a\r\r\nb|mail@x|@@|&Stampa"),
            "COM1 x\nBusy|a\nb|a\nb|a\n\nb|mail@@x|@@@@|&Stampa");
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
  // A lone LF breaks the line too; a lone CR is no line end; the CR before a line end stays.
  EXPECT_EQ(EditorText("Com1 no connect\r\nCom2   GAS\r\n|one\ntwo|a\rb\r|a\r\r\nb"),
            "Com1 no connect\nCom2   GAS\n|one\ntwo|a\rb\r|a\r\nb");
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
