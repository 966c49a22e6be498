#pragma once
// The engine-speed counter's settings as its two forms take them: the cylinder counts the
// counter knows, the "+" and "-" steps between them, a number typed by the operator, and
// whether the stored port names one the forms can open.
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
// the nearest one it does (13 down gives 12, 11 up gives 12, 0 up gives 1).
std::optional<std::int16_t> NextCylinderCount(int n, bool up);

// A number as typed into the cylinder box: digits, a sign before them and blanks around
// them allowed; none for anything else (an empty text, a decimal, a word). Beyond 9999 (or
// below -9999) it is that end, from which the steps give the same counts.
std::optional<int> TypedWholeNumber(std::string_view text);

// What the operator is told when `typed` in the cylinder box is refused.
std::string CylinderCountRefused(const ShellState& s, std::string_view typed);

// True when RpmComPort names one of COM1 to COM16. While it names none the counter's forms
// send nothing: their port control still stands on the port it had before (COM1 by design,
// the gas analyser's line).
bool RpmPortNamed(const ShellState& s);

}  // namespace vs
