#pragma once
// Frames written as text for the link tests.
#include <string>
#include <string_view>

#include "link/MctcNetFrame.h"

namespace vs::testing {

// '<' stands for STX, '|' for ETB and '>' for ETX.
inline std::string Ctl(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = c == '<' ? kStx : c == '|' ? kEtb : c == '>' ? kEtx : c;
  return s;
}

}  // namespace vs::testing
