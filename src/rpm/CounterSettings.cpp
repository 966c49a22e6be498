#include "rpm/CounterSettings.h"

#include <algorithm>
#include <array>

#include "shell/LanguageKeys.h"
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

std::optional<std::int16_t> TypedCylinderCount(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty() || text.size() > 3) return std::nullopt;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (!IsCylinderCount(n)) return std::nullopt;
  return static_cast<std::int16_t>(n);
}

std::string CylinderCountRefused(const ShellState& s) {
  const std::string& label = s.LangText[lang::RPMCilindri];
  const std::string counts = "1, 2, 3, 4, 5, 6, 8, 10, 12";
  return label.empty() ? counts : label + ": " + counts;
}

int RpmPortNumber(const ShellState& s) {
  return s.RpmComPort >= 1 && s.RpmComPort <= 16 ? s.RpmComPort : 1;
}

}  // namespace vs
