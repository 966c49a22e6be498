#pragma once
// Reply frames as the instruments send them, for the link tests.
#include <string>
#include <string_view>

#include "link/MctcNetFrame.h"

namespace vs::testing {

// STX address ETB unit ETB command ETB data checksum ETX (the ETB before the data is
// there even when the data is empty).
inline std::string Reply(std::string_view command, std::string_view data,
                         std::string_view address = "GAS", std::string_view unit = "1") {
  if (!data.empty()) return BuildMctcNetFrame(address, command, unit, data);
  // The request builder leaves that ETB out when there is no data.
  return BuildMctcNetFrame(address, std::string(command) + kEtb, unit, "");
}

// A reply without data: no ETB after the command.
inline std::string BareReply(std::string_view command, std::string_view address = "GAS") {
  return BuildMctcNetFrame(address, command, "1", "");
}

// Bytes written as text: '<' stands for STX, '|' for ETB and '>' for ETX.
inline std::string Ctl(std::string_view text) {
  std::string s(text);
  for (char& c : s) {
    if (c == '<') c = '\x02';
    if (c == '|') c = kEtb;
    if (c == '>') c = '\x03';
  }
  return s;
}

// Fields joined by ETB.
inline std::string Fields(std::initializer_list<std::string_view> fields) {
  std::string s;
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) s += kEtb;
    s += f;
    first = false;
  }
  return s;
}

}  // namespace vs::testing
