#include "platform/text/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/core/Error.h"

namespace plat {
namespace {

// A finite decimal number: `digits` (no leading zeros; empty for zero) times 10^exponent.
struct DecimalText {
  bool negative = false;
  std::string digits;
  long long exponent = 0;
};

// Exponents are read with saturation: no double needs more than a few hundred.
constexpr long long kExponentCap = 100000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal exponent of the leading digit of d (d not zero).
long long LeadingPower(const DecimalText& d) {
  return static_cast<long long>(d.digits.size()) - 1 + d.exponent;
}

enum class Conversion { Ok, Overflow };

// Converts d to the nearest double without any locale. Values too small for a double
// become 0; values too large report Overflow.
Conversion ToDouble(const DecimalText& d, double& out) {
  out = 0;
  if (d.digits.empty()) return Conversion::Ok;
  const long long lead = LeadingPower(d);
  if (lead > 400) return Conversion::Overflow;
  if (lead < -400) {
    out = d.negative ? -0.0 : 0.0;
    return Conversion::Ok;
  }
  std::string text = d.digits;
  text += 'e';
  text += std::to_string(d.exponent);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    if (lead >= 0) return Conversion::Overflow;
    value = 0;
  } else if (result.ec != std::errc()) {
    value = 0;
  }
  out = d.negative ? -value : value;
  return Conversion::Ok;
}

// Appends a mantissa digit to d, dropping leading zeros. `fraction` tells whether the
// digit stands after the decimal point.
void AddDigit(DecimalText& d, char c, bool fraction) {
  if (d.digits.empty() && c == '0') {
    if (fraction) --d.exponent;
    return;
  }
  d.digits += c;
  if (fraction) --d.exponent;
}

void DropTrailingZeros(DecimalText& d) {
  while (!d.digits.empty() && d.digits.back() == '0') {
    d.digits.pop_back();
    ++d.exponent;
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void ThrowTypeMismatch() { throw RuntimeError(kErrTypeMismatch, "Type mismatch"); }
[[noreturn]] void ThrowOverflow() { throw RuntimeError(kErrOverflow, "Overflow"); }

// The strict reading of ParseDouble and its companions.
DecimalText ScanStrict(std::string_view text, std::string_view separator) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  std::size_t end = n;
  while (end > i && IsBlank(text[end - 1])) --end;

  DecimalText d;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    d.negative = text[i] == '-';
    ++i;
  }
  bool anyDigit = false;
  bool fraction = false;
  while (i < end) {
    const char c = text[i];
    if (IsDigit(c)) {
      AddDigit(d, c, fraction);
      anyDigit = true;
      ++i;
    } else if (!fraction && !separator.empty() && text.substr(i, separator.size()) == separator) {
      fraction = true;
      i += separator.size();
    } else {
      break;
    }
  }
  if (!anyDigit) ThrowTypeMismatch();
  if (i < end) {
    if (text[i] != 'E' && text[i] != 'e') ThrowTypeMismatch();
    ++i;
    bool negativeExponent = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      ++i;
    }
    if (i >= end) ThrowTypeMismatch();
    long long exponent = 0;
    for (; i < end; ++i) {
      if (!IsDigit(text[i])) ThrowTypeMismatch();
      if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
    }
    d.exponent += negativeExponent ? -exponent : exponent;
  }
  DropTrailingZeros(d);
  return d;
}

// Splits the scientific text of std::to_chars ("d.ddde+XX") into digits and exponent.
DecimalText FromScientific(std::string_view sci) {
  DecimalText d;
  std::size_t i = 0;
  if (i < sci.size() && sci[i] == '-') {
    d.negative = true;
    ++i;
  }
  for (; i < sci.size() && sci[i] != 'e'; ++i) {
    if (IsDigit(sci[i])) d.digits += sci[i];
  }
  int exponent = 0;
  if (i < sci.size()) {
    ++i;
    if (i < sci.size() && sci[i] == '+') ++i;
    std::from_chars(sci.data() + i, sci.data() + sci.size(), exponent);
  }
  // d.ddd x 10^exponent == ddd x 10^(exponent - (count - 1))
  d.exponent = exponent - static_cast<long long>(d.digits.size()) + 1;
  return d;
}

template <typename T>
DecimalText Significant(T v, int precision) {
  char buf[64];
  const auto result =
      std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision - 1);
  DecimalText d = FromScientific(std::string_view(buf, static_cast<std::size_t>(result.ptr - buf)));
  while (!d.digits.empty() && d.digits.front() == '0') d.digits.erase(0, 1);
  DropTrailingZeros(d);
  return d;
}

template <typename T>
std::string FormatGeneral(T v, int precision, const RegionalSettings& r) {
  const std::string& sep = r.decimalSeparator;
  if (std::isnan(v)) return "-1" + sep + "#IND";
  if (std::isinf(v)) return (v < 0 ? "-1" : "1") + sep + "#INF";
  if (v == 0) return "0";

  const DecimalText d = Significant(v, precision);
  const std::string& digits = d.digits;
  const long long lead = LeadingPower(d);
  std::string out = d.negative ? "-" : "";
  if (lead >= precision || lead < -5) {
    out += digits[0];
    if (digits.size() > 1) out += sep + digits.substr(1);
    out += lead < 0 ? "E-" : "E+";
    const std::string e = std::to_string(lead < 0 ? -lead : lead);
    if (e.size() < 2) out += '0';
    out += e;
  } else if (lead >= 0) {
    const auto whole = static_cast<std::size_t>(lead + 1);
    if (digits.size() <= whole) {
      out += digits + std::string(whole - digits.size(), '0');
    } else {
      out += digits.substr(0, whole) + sep + digits.substr(whole);
    }
  } else {
    out += "0" + sep + std::string(static_cast<std::size_t>(-lead - 1), '0') + digits;
  }
  return out;
}

template <typename Int>
Int ToInteger(double v) {
  if (!std::isfinite(v)) ThrowOverflow();
  const double r = RoundHalfEven(v);
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max())) {
    ThrowOverflow();
  }
  return static_cast<Int>(r);
}

}  // namespace

std::string FormatDouble(double v, const RegionalSettings& r) { return FormatGeneral(v, 15, r); }

std::string FormatSingle(float v, const RegionalSettings& r) { return FormatGeneral(v, 7, r); }

std::string FormatDoubleReadable(double v, const RegionalSettings& r) {
  // The largest double whose 15 digits do not round above the largest double.
  constexpr double kLargest = 1.79769313486231E+308;
  return FormatDouble(std::isnan(v) ? 0.0 : std::clamp(v, -kLargest, kLargest), r);
}

std::string FormatSingleReadable(double v, const RegionalSettings& r) {
  // Its 7 digits (3,402823E+38) round below it.
  constexpr double kLargest = std::numeric_limits<float>::max();
  return FormatSingle(std::isnan(v) ? 0.0F : static_cast<float>(std::clamp(v, -kLargest, kLargest)),
                      r);
}

std::string FormatInt(long long v) { return std::to_string(v); }

double ParseDouble(std::string_view text, const RegionalSettings& r) {
  double value = 0;
  if (ToDouble(ScanStrict(text, r.decimalSeparator), value) == Conversion::Overflow) {
    ThrowOverflow();
  }
  return value;
}

float ParseSingle(std::string_view text, const RegionalSettings& r) {
  const double value = ParseDouble(text, r);
  if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) ThrowOverflow();
  return static_cast<float>(value);
}

std::int16_t ParseInt16(std::string_view text, const RegionalSettings& r) {
  return ToInt16(ParseDouble(text, r));
}

std::int32_t ParseInt32(std::string_view text, const RegionalSettings& r) {
  return ToInt32(ParseDouble(text, r));
}

std::uint8_t ParseByte(std::string_view text, const RegionalSettings& r) {
  return ToInteger<std::uint8_t>(ParseDouble(text, r));
}

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double below = std::floor(v);
  const double diff = v - below;
  double result = below;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(below, 2.0) != 0.0)) result = below + 1.0;
  if (result == 0.0) return v < 0 ? -0.0 : 0.0;
  return result;
}

double RoundTo(double v, int decimals) {
  if (!std::isfinite(v) || v == 0) return v;
  if (decimals < 0) decimals = 0;
  // 15 significant digits, trailing zeros kept: digits[i] stands for 10^(lead - i).
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  DecimalText d = FromScientific(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
  const long long lead = LeadingPower(d);
  const long long kept = lead + 1 + decimals;  // digits that stay
  const auto count = static_cast<long long>(d.digits.size());
  if (kept >= count) return v;
  if (kept < 0) return v < 0 ? -0.0 : 0.0;

  std::string keep = d.digits.substr(0, static_cast<std::size_t>(kept));
  const char next = d.digits[static_cast<std::size_t>(kept)];
  const bool restNonZero =
      d.digits.find_first_not_of('0', static_cast<std::size_t>(kept) + 1) != std::string::npos;
  const bool lastOdd = !keep.empty() && ((keep.back() - '0') % 2 != 0);
  const bool up = next > '5' || (next == '5' && (restNonZero || lastOdd));
  if (up) {
    std::size_t i = keep.size();
    while (i > 0 && keep[i - 1] == '9') keep[--i] = '0';
    if (i == 0) {
      keep.insert(keep.begin(), '1');
    } else {
      ++keep[i - 1];
    }
  }
  DecimalText rounded;
  rounded.negative = d.negative;
  rounded.digits = keep;
  rounded.exponent = -static_cast<long long>(decimals);
  while (!rounded.digits.empty() && rounded.digits.front() == '0') rounded.digits.erase(0, 1);
  DropTrailingZeros(rounded);
  double out = 0;
  if (rounded.digits.empty()) return v < 0 ? -0.0 : 0.0;
  ToDouble(rounded, out);
  return out;
}

std::int16_t ToInt16(double v) { return ToInteger<std::int16_t>(v); }

std::int32_t ToInt32(double v) { return ToInteger<std::int32_t>(v); }

double LeadingNumber(std::string_view bytes) {
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  const auto isSkipped = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
  const auto skip = [&](std::size_t at) {
    while (at < n && isSkipped(bytes[at])) ++at;
    return at;
  };

  DecimalText d;
  i = skip(i);
  if (i < n && (bytes[i] == '+' || bytes[i] == '-')) {
    d.negative = bytes[i] == '-';
    i = skip(i + 1);
  }
  bool anyDigit = false;
  bool fraction = false;
  while (i < n) {
    const char c = bytes[i];
    if (IsDigit(c)) {
      AddDigit(d, c, fraction);
      anyDigit = true;
    } else if (c == '.' && !fraction) {
      fraction = true;
    } else {
      break;
    }
    i = skip(i + 1);
  }
  if (!anyDigit) return 0;

  // An exponent counts only when it is complete.
  if (i < n && (bytes[i] == 'E' || bytes[i] == 'e')) {
    std::size_t j = skip(i + 1);
    bool negativeExponent = false;
    if (j < n && (bytes[j] == '+' || bytes[j] == '-')) {
      negativeExponent = bytes[j] == '-';
      j = skip(j + 1);
    }
    if (j < n && IsDigit(bytes[j])) {
      long long exponent = 0;
      while (j < n && IsDigit(bytes[j])) {
        if (exponent < kExponentCap) exponent = exponent * 10 + (bytes[j] - '0');
        j = skip(j + 1);
      }
      d.exponent += negativeExponent ? -exponent : exponent;
    }
  }
  DropTrailingZeros(d);
  double value = 0;
  if (ToDouble(d, value) == Conversion::Overflow) return 0;
  return value == 0 ? 0.0 : value;
}

}  // namespace plat
