#pragma once
// Numbers as the forms runtime converts them: the general number format, strict text to
// number conversion under the regional settings, rounding half to the even neighbour,
// 16/32-bit integer conversion with overflow, and the leading-number rule of the protocol
// parsers. Nothing here looks at the process locale: the separator comes from the
// RegionalSettings object, and all library conversions run on a "." copy.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/RegionalSettings.h"

namespace plat {

// General number format: the shortest text of at most 15 (double) or 7 (single)
// significant digits, no trailing zeros, no grouping, "-" before a negative number and the
// regional decimal separator. Decimal notation is used for 1E-05 <= |v| < 1E+15 (doubles)
// or 1E+07 (singles), judged after rounding to the significant digits; outside that range
// the exponent form is used: one digit, the separator and the further digits when there
// are any, "E", the exponent's sign and at least two exponent digits ("1E-09", "1,5E+20",
// "1E+100"). Zero is "0" whatever its sign. Infinities and NaN, which the runtime never
// produces from a conversion, are written "1.#INF", "-1.#INF" and "-1.#IND" (with the
// regional separator).
std::string FormatDouble(double v, const RegionalSettings& r);
std::string FormatSingle(float v, const RegionalSettings& r);
std::string FormatInt(long long v);

// The general number format of a value that is to be read back, as a setting is: within the
// largest value whose text the conversions below read back (1,79769313486231E+308 for a
// double, 3,402823E+38 for a single), so a larger value or an infinity is written as that end
// with its sign, and NaN as 0.
std::string FormatDoubleReadable(double v, const RegionalSettings& r);
std::string FormatSingleReadable(double v, const RegionalSettings& r);

// Strict conversions of text under the regional settings: blanks (space, tab) before and
// after, an optional sign, digits with at most one regional decimal separator (at least one
// digit in all), an optional exponent ("E" or "e", an optional sign, one digit or more).
// Anything else, or an empty text, throws RuntimeError(kErrTypeMismatch); a value outside
// the target type throws RuntimeError(kErrOverflow). A magnitude below the smallest
// representable value reads as 0. Integer targets round half to even first.
double ParseDouble(std::string_view text, const RegionalSettings& r);
float ParseSingle(std::string_view text, const RegionalSettings& r);
std::int16_t ParseInt16(std::string_view text, const RegionalSettings& r);
std::int32_t ParseInt32(std::string_view text, const RegionalSettings& r);
std::uint8_t ParseByte(std::string_view text, const RegionalSettings& r);

// Rounds to the nearest integer, a half to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). Infinities and NaN pass unchanged.
double RoundHalfEven(double v);

// Rounds to `decimals` places after the point, a half to the even neighbour. The value is
// taken as its decimal text of 15 significant digits, so a half is judged as the printed
// number shows it: RoundTo(2.675, 2) is 2.68 and RoundTo(2.665, 2) is 2.66, although the
// binary values lie slightly below those halves. A negative `decimals` counts as 0.
double RoundTo(double v, int decimals);

// Integer conversions: round half to even, then RuntimeError(kErrOverflow) outside the
// type's range (NaN and infinities overflow too).
std::int16_t ToInt16(double v);
std::int32_t ToInt32(double v);

// The leading number of a field, as the protocol parsers read it: blanks, tabs and line
// feeds are ignored wherever they stand inside the number ("1 2" is 12); an optional sign;
// digits with "." as the only decimal point; then an exponent ("E" or "e", an optional
// sign, one digit or more) only when it is complete ("1E3" is 1000, "1E" and "1E+" are 1).
// Reading stops at the first other character. No digits at all, or a value beyond the
// range of a double, gives 0. Any bytes are allowed; it never throws. The "&H"/"&O" radix
// prefixes and the "D" exponent letter are not read.
double LeadingNumber(std::string_view bytes);

}  // namespace plat
