#include "rpm/CounterSettings.h"

#include <algorithm>
#include <array>

#include "platform/serial/SerialRegistry.h"
#include "shell/LanguageKeys.h"
#include "shell/ProgramMessages.h"
#include "shell/ShellState.h"

namespace vs {
namespace {

constexpr std::array<std::int16_t, 9> kCylinderCounts = {1, 2, 3, 4, 5, 6, 8, 10, 12};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool IsCylinderCount(int n) {
  return std::find(kCylinderCounts.begin(), kCylinderCounts.end(), n) != kCylinderCounts.end();
}

std::optional<std::int16_t> NextCylinderCount(int n, bool up) {
  if (up) {
    for (std::int16_t c : kCylinderCounts) {
      if (c > n) return c;
    }
  } else {
    for (auto it = kCylinderCounts.rbegin(); it != kCylinderCounts.rend(); ++it) {
      if (*it < n) return *it;
    }
  }
  return std::nullopt;
}

std::optional<int> TypedWholeNumber(std::string_view text) {
  constexpr int kEnd = 9999;
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = std::min(n * 10 + (c - '0'), kEnd);
  }
  return negative ? -n : n;
}

std::string CylinderCountRefused(const ShellState& s, std::string_view typed) {
  return MessageText(s, Msg::NotWholeNumber, {s.LangText[lang::RPMCilindri], typed});
}

bool RpmPortNamed(const ShellState& s) {
  return s.RpmComPort >= plat::SerialRegistry::kFirstPort &&
         s.RpmComPort <= plat::SerialRegistry::kLastPort;
}

}  // namespace vs
