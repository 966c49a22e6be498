#include <gtest/gtest.h>

#include "platform/display/ControlViews.h"
#include "platform/display/Keys.h"

#include <utility>

// FLTK's key codes after the model's headers (see ControlViews.cpp).
#include <FL/Enumerations.H>

namespace plat::display {
namespace {

TEST(KeysTest, KeysOfTheModelAreToldFromTheWidgetsOwn) {
  const std::pair<std::pair<int, int>, KeyPress> cases[] = {
      {{FL_Enter, 0}, KeyPress::Enter()},   {{FL_KP_Enter, 0}, KeyPress::Enter()},
      {{FL_Escape, 0}, KeyPress::Escape()}, {{FL_Tab, 0}, KeyPress::Tab()},
      {{FL_F + 6, 0}, KeyPress::F(6)},      {{'i', FL_CTRL}, KeyPress::Ctrl('I')},
      {{'t', FL_ALT}, KeyPress::Alt('T')},  {{'3', FL_ALT}, KeyPress::Alt('3')}};
  for (const auto& [in, key] : cases) EXPECT_EQ(ModelKey(in.first, in.second), key) << in.first;
  KeyPress shiftTab = KeyPress::Tab();
  shiftTab.shift = true;
  EXPECT_EQ(ModelKey(FL_Tab, FL_SHIFT), shiftTab);
  // Typing, editing keys and AltGr-like combinations stay with the widgets.
  for (auto [key, state] : {std::pair{'a', 0},
                            {'a', FL_SHIFT},
                            {'3', FL_CTRL},
                            {FL_Left, 0},
                            {FL_BackSpace, 0},
                            {'e', FL_CTRL | FL_ALT},
                            {FL_F + 2, FL_CTRL},
                            {FL_Enter, FL_ALT}})
    EXPECT_TRUE(ModelKey(key, state).none()) << key << " " << state;
}

TEST(KeysTest, MenuShortcutsBecomeFltkShortcuts) {
  EXPECT_EQ(FltkShortcut(KeyPress::F(12)), FL_F + 12);
  EXPECT_EQ(FltkShortcut(KeyPress::Ctrl('S')), FL_CTRL | 's');
  EXPECT_EQ(FltkShortcut(KeyPress::Alt('x')), FL_ALT | 'x');
  EXPECT_EQ(FltkShortcut({}), 0);
  // What a key press maps to finds the same shortcut again.
  for (KeyPress k : {KeyPress::F(5), KeyPress::Ctrl('E')}) {
    const int code = FltkShortcut(k);
    EXPECT_EQ(ModelKey(code & ~(FL_CTRL | FL_ALT | FL_SHIFT), code & (FL_CTRL | FL_ALT)), k);
  }
}

TEST(KeysTest, CaptionsKeepTheirAtSigns) {
  EXPECT_EQ(FltkText("a@b"), "a@@b");
  EXPECT_EQ(FltkText("@@"), "@@@@");
  EXPECT_EQ(FltkText("&Stampa"), "&Stampa");
}

}  // namespace
}  // namespace plat::display
