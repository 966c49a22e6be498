#pragma once
// The engine-speed counter's settings as its two forms take them: the cylinder counts the
// counter knows, the "+" and "-" steps between them, a count typed by the operator, and the
// port a stored setting names.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

struct ShellState;

// 1 to 6, 8, 10 and 12.
bool IsCylinderCount(int n);

// The next count up (`up`) or down from `n`: the nearest of the counts above or below it;
// none at 12 going up or at 1 going down. From a count the counter does not know it goes to
// the nearest one it does (13 down gives 12, 0 up gives 1).
std::optional<std::int16_t> NextCylinderCount(int n, bool up);

// A count as typed: digits only (blanks around them allowed) and one of the counts above;
// anything else is none.
std::optional<std::int16_t> TypedCylinderCount(std::string_view text);

// What the operator is told when a typed count is refused.
std::string CylinderCountRefused(const ShellState& s);

// The port the counter's forms open: RpmComPort when it is 1 to 16, else 1.
int RpmPortNumber(const ShellState& s);

}  // namespace vs
