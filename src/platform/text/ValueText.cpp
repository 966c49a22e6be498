#include "platform/text/ValueText.h"

#include "platform/text/DateFormat.h"
#include "platform/text/Numbers.h"

namespace plat {
namespace {

std::string Printed(std::string digits) {
  if (digits.empty() || digits[0] != '-') digits.insert(0, 1, ' ');
  digits += ' ';
  return digits;
}

}  // namespace

std::string PrintNumber(double v, const RegionalSettings& r) { return Printed(FormatDouble(v, r)); }

std::string PrintNumber(float v, const RegionalSettings& r) { return Printed(FormatSingle(v, r)); }

std::string FormatDateAndTime(const DateTime& d, const RegionalSettings& r) {
  return FormatShortDate(d, r) + " " + FormatTime(d, r);
}

}  // namespace plat
