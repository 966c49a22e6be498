#pragma once
// How the gas and smoke tests compare a reading with its limit: as the operator sees them.
// A reading is shown in the general number format, at most 15 significant digits; a value
// that shows the same text as its limit is equal to the limit, whatever binary rounding
// lies below the fifteenth digit. So the mean of 0.1, 0.1 and 0.1 (0.10000000000000002 in
// binary) is at most a limit of 0.1, and 0.1 * 3 is equal to a limit typed as "0,3".
//
// Values computed for the screen are formed as the double that their shown text parses to:
// KeptToDecimals(x, 2) is x cut down to two decimals (0.29 stays 0.29, where Int(0.29 *
// 100) / 100 gives 0.28), so a later comparison with a limit sees the shown value.
//
// NaN is never within a limit: every comparison with it is false.
namespace vs {

// The value rounded to 15 significant digits: the double its shown text parses to.
double AsShown(double v);

bool AtMost(double value, double limit);   // value <= limit
bool AtLeast(double value, double limit);  // value >= limit
bool Below(double value, double limit);    // value < limit
bool Above(double value, double limit);    // value > limit

// The value cut down (towards minus infinity) to `decimals` places, the places judged on the
// shown value: 0.7 * 3 (2.0999999999999996) kept to one decimal is 2.1, not 2. A negative
// count counts as 0.
// Infinities and NaN pass unchanged.
double KeptToDecimals(double v, int decimals);

}  // namespace vs
