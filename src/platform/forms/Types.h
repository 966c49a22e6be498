#pragma once
// Small value types of the forms runtime: colours, fonts, keys, the names of properties
// (for change notifications) and the "&" access-key rule of captions.
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// A colour &HBBGGRR: red in the low byte (0xFF red, 0xFF00 green, 0xFFFF yellow,
// 0xFFFFFF white). A value 0x800000nn names the system colour nn.
using Color = std::uint32_t;

namespace colors {
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kYellow = 0x00FFFF;
inline constexpr Color kBlue = 0xFF0000;
inline constexpr Color kCyan = 0xFFFF00;
inline constexpr Color kWhite = 0xFFFFFF;
// System colours.
inline constexpr Color kWindowBackground = 0x80000005;
inline constexpr Color kWindowText = 0x80000008;
inline constexpr Color kButtonFace = 0x8000000F;
inline constexpr Color kButtonText = 0x80000012;
}  // namespace colors

inline constexpr bool IsSystemColor(Color c) { return (c & 0xFF000000u) == 0x80000000u; }
// The &HBBGGRR value a colour stands for (system colours resolved to their fixed look).
Color ResolveColor(Color c);
// Red, green and blue parts (0..255) of a resolved colour.
inline constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Font {
  std::string name = "Arial";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class Alignment { Left, Right, Center };

// Keys the operator presses. Character keys carry the character (letters upper case).
enum class Key {
  None,
  Enter,
  Escape,
  Tab,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  Char
};

struct KeyPress {
  Key key = Key::None;
  char32_t ch = 0;  // Key::Char only
  bool ctrl = false;
  bool alt = false;
  bool shift = false;

  static KeyPress Enter() { return {Key::Enter}; }
  static KeyPress Escape() { return {Key::Escape}; }
  static KeyPress Tab() { return {Key::Tab}; }
  static KeyPress F(int n);           // F1..F12
  static KeyPress Ctrl(char letter);  // Ctrl+letter
  static KeyPress Alt(char letter);   // Alt+letter (access keys)
  static KeyPress Character(char32_t c);
  bool none() const { return key == Key::None; }
  std::string describe() const;  // "F1", "Ctrl+I", "Alt+T", "Enter", ...
  friend bool operator==(const KeyPress&, const KeyPress&) = default;
};

// The access key of a caption: the character after a single "&", upper-cased ("S&top" ->
// 'T'); 0 when there is none ("&&" is a literal "&").
char32_t AccessKey(std::string_view caption);
// The caption as shown: "&" markers removed, "&&" shown as "&".
std::string StripAccessKeys(std::string_view caption);

// Names of the properties, for change notifications (FormsObserver).
enum class Prop {
  Caption,
  Text,
  BackColor,
  ForeColor,
  Visible,
  Enabled,
  Geometry,
  Font,
  Alignment,
  ToolTipText,
  Value,
  ListIndex,
  List,
  Style,
  Default,
  Cancel,
  Picture,
  Range,
  Interval,
  PasswordChar,
  MultiLine,
  Locked,
  BorderStyle,
  BackStyle,
  LineColor,
  Chart,
  Checked,
  WindowState,
  StartUpPosition,
  Container,
};
const char* PropName(Prop p);

}  // namespace plat
