#include "smoke/SmokeLimitsEntry.h"

#include <cmath>
#include <limits>
#include <optional>

#include "platform/core/Error.h"
#include "platform/text/Numbers.h"
#include "shell/ProgramMessages.h"
#include "shell/ShellState.h"

namespace vs::smoke {

namespace {

// An engine speed: a single-precision number whose whole value fits 16 bits.
std::optional<float> Speed(const std::string& text, const plat::RegionalSettings& r) {
  try {
    const float v = plat::ParseSingle(text, r);
    plat::ToInt16(v);
    return v;
  } catch (const plat::RuntimeError&) {
    return std::nullopt;
  }
}

// A threshold or K: a number within the single-precision range.
std::optional<double> SingleRange(const std::string& text, const plat::RegionalSettings& r) {
  try {
    const double v = plat::ParseDouble(text, r);
    if (!(std::fabs(v) <= std::numeric_limits<float>::max())) return std::nullopt;
    return v;
  } catch (const plat::RuntimeError&) {
    return std::nullopt;
  }
}

std::string Refused(const ShellState& s, const std::string& name, const std::string& text) {
  return MessageText(s, Msg::NotAValidValue, {name, text});
}

}  // namespace

std::string ApplySmokeLimits(ShellState& s, const SmokeLimitsEntry& typed,
                             const SmokeLimitsEntry& names,
                             const plat::RegionalSettings& regional) {
  const auto rpmMin = Speed(typed.rpmMin, regional);
  if (!rpmMin) return Refused(s, names.rpmMin, typed.rpmMin);
  const auto rpmMax = Speed(typed.rpmMax, regional);
  if (!rpmMax) return Refused(s, names.rpmMax, typed.rpmMax);
  const auto threshold = SingleRange(typed.opacityThreshold, regional);
  if (!threshold) return Refused(s, names.opacityThreshold, typed.opacityThreshold);
  const auto kLimit = SingleRange(typed.kLimit, regional);
  if (!kLimit) return Refused(s, names.kLimit, typed.kLimit);
  s.SmokeRpmMin = *rpmMin;
  s.SmokeRpmMax = *rpmMax;
  s.SmokeOpacityThreshold = *threshold;
  s.SmokeKLimit = *kLimit;
  return {};
}

}  // namespace vs::smoke
