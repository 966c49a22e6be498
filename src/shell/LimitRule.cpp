#include "shell/LimitRule.h"

#include <charconv>
#include <cmath>

namespace vs {

double AsShown(double v) {
  if (!std::isfinite(v) || v == 0) return v;
  char buf[48];
  const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14).ptr;
  double shown = v;
  std::from_chars(buf, end, shown);
  return shown;
}

bool AtMost(double value, double limit) { return AsShown(value) <= AsShown(limit); }
bool AtLeast(double value, double limit) { return AsShown(value) >= AsShown(limit); }
bool Below(double value, double limit) { return AsShown(value) < AsShown(limit); }
bool Above(double value, double limit) { return AsShown(value) > AsShown(limit); }

double KeptToDecimals(double v, int decimals) {
  if (!std::isfinite(v)) return v;
  const int n = decimals < 0 ? 0 : decimals;
  const double scale = std::pow(10.0, n);
  return std::floor(AsShown(v * scale)) / scale;
}

}  // namespace vs
