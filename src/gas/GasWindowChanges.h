#pragma once
// What one step of the gas test or one verdict changes on the gas test form. Only the
// members that are set change; the form applies them after the step.
#include <optional>
#include <string>
#include <vector>

#include "platform/forms/Types.h"

namespace vs {

struct GasWindowChanges {
  std::optional<std::string> Label27Caption;  // instruction line
  std::optional<std::string> Label28Caption;  // verdict line
  std::optional<plat::Color> Label28BackColor;
  std::optional<plat::Color> Label9BackColor;   // corrected-CO display
  std::optional<plat::Color> Label26BackColor;  // lambda display
  // Progress bar of the running window. A maximum is only given when the bar takes it (it
  // must lie above the minimum 0); Min before Max before Value is always a valid order.
  std::optional<bool> PBar1Visible;
  std::optional<float> PBar1Min, PBar1Max, PBar1Value;
  std::optional<bool> Command2Enabled;  // print button
  // Texts for an exclamation message box each, in order (the bar refused the window length).
  std::vector<std::string> Exclamations;
};

}  // namespace vs
