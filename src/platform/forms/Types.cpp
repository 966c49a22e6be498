#include "platform/forms/Types.h"

#include <array>

namespace plat {

namespace {
// The fixed look of the system colours 0..24.
constexpr std::array<Color, 25> kSystem = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000,
    0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D,
    0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF};
}  // namespace

Color ResolveColor(Color c) {
  if (!IsSystemColor(c)) return c & 0xFFFFFF;
  const std::size_t n = c & 0xFF;
  return n < kSystem.size() ? kSystem[n] : 0xF0F0F0;
}

KeyPress KeyPress::F(int n) {
  if (n < 1 || n > 12) return {};
  return {static_cast<Key>(static_cast<int>(Key::F1) + n - 1)};
}

namespace {
char32_t Upper(char32_t c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// Decodes one UTF-8 character at s[i]; advances i. Malformed bytes decode as themselves.
char32_t DecodeAt(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  if (i + static_cast<std::size_t>(extra) >= s.size()) extra = 0;
  char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
  ++i;
  for (int k = 0; k < extra; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
  return c;
}
}  // namespace

KeyPress KeyPress::Ctrl(char letter) {
  KeyPress k{Key::Char, Upper(static_cast<unsigned char>(letter))};
  k.ctrl = true;
  return k;
}

KeyPress KeyPress::Alt(char letter) {
  KeyPress k{Key::Char, Upper(static_cast<unsigned char>(letter))};
  k.alt = true;
  return k;
}

KeyPress KeyPress::Character(char32_t c) { return {Key::Char, c}; }

std::string KeyPress::describe() const {
  std::string out;
  if (ctrl) out += "Ctrl+";
  if (alt) out += "Alt+";
  if (shift) out += "Shift+";
  switch (key) {
    case Key::None:
      return "none";
    case Key::Enter:
      return out + "Enter";
    case Key::Escape:
      return out + "Esc";
    case Key::Tab:
      return out + "Tab";
    case Key::Char:
      if (ch < 0x80) return out + static_cast<char>(ch);
      return out + "U+" + std::to_string(static_cast<unsigned long>(ch));
    default:
      return out + "F" + std::to_string(static_cast<int>(key) - static_cast<int>(Key::F1) + 1);
  }
}

char32_t AccessKey(std::string_view caption) {
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (i + 1 >= caption.size()) return 0;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    return Upper(DecodeAt(caption, j));
  }
  return 0;
}

std::string StripAccessKeys(std::string_view caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

const char* PropName(Prop p) {
  switch (p) {
    case Prop::Caption:
      return "Caption";
    case Prop::Text:
      return "Text";
    case Prop::BackColor:
      return "BackColor";
    case Prop::ForeColor:
      return "ForeColor";
    case Prop::Visible:
      return "Visible";
    case Prop::Enabled:
      return "Enabled";
    case Prop::Geometry:
      return "Geometry";
    case Prop::Font:
      return "Font";
    case Prop::Alignment:
      return "Alignment";
    case Prop::ToolTipText:
      return "ToolTipText";
    case Prop::Value:
      return "Value";
    case Prop::ListIndex:
      return "ListIndex";
    case Prop::List:
      return "List";
    case Prop::Style:
      return "Style";
    case Prop::Default:
      return "Default";
    case Prop::Cancel:
      return "Cancel";
    case Prop::Picture:
      return "Picture";
    case Prop::Range:
      return "Range";
    case Prop::Interval:
      return "Interval";
    case Prop::PasswordChar:
      return "PasswordChar";
    case Prop::MultiLine:
      return "MultiLine";
    case Prop::Locked:
      return "Locked";
    case Prop::BorderStyle:
      return "BorderStyle";
    case Prop::BackStyle:
      return "BackStyle";
    case Prop::LineColor:
      return "LineColor";
    case Prop::Chart:
      return "Chart";
    case Prop::Checked:
      return "Checked";
    case Prop::WindowState:
      return "WindowState";
    case Prop::StartUpPosition:
      return "StartUpPosition";
    case Prop::Container:
      return "Container";
  }
  return "?";
}

}  // namespace plat
