#pragma once
// The four smoke limits as typed into the limits form, checked together before any is
// applied: each must be a number the settings file can keep (the engine speeds as 16-bit
// whole numbers, the threshold and K in single precision).
#include <string>

#include "platform/text/RegionalSettings.h"

namespace vs {
struct ShellState;
}

namespace vs::smoke {

struct SmokeLimitsEntry {
  std::string rpmMin, rpmMax, opacityThreshold, kLimit;  // as typed
};

// Applies the four values to SmokeRpmMin, SmokeRpmMax, SmokeOpacityThreshold and
// SmokeKLimit, or applies none and returns what the operator is told, in the operator's
// language: the first field that cannot be taken, named by `names` (in the same order), and
// its text.
std::string ApplySmokeLimits(ShellState& s, const SmokeLimitsEntry& typed,
                             const SmokeLimitsEntry& names, const plat::RegionalSettings& regional);

}  // namespace vs::smoke
