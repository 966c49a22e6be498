#pragma once
// The gas test's side of the maker's binary protocol: which request belongs to each state
// word, and what a reply frame does to the exchange state, the readings and the screen.
// The procedures decide; the form applies the screen edits they return, in order, and
// sends the request they name.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gas/GasTestVars.h"
#include "platform/forms/Types.h"
#include "platform/text/RegionalSettings.h"

namespace vs {

struct GasState;
struct LinkState;
struct ShellState;

// The controls of the gas test form that the exchange writes.
enum class GasControl {
  Label4,
  Label5,
  Label7,
  Label8,
  Label9,
  Label10,
  Label11,
  Label12,
  Label13,
  Label15,
  Label25,
  Label26,
  Label27,
  Label28,
  Label33,
  Combo1,
  Combo3,
  Command1,
  PBar1,
};

// One change to one control.
struct ScreenEdit {
  enum class Kind { Caption, BackColor, Enabled, Visible, ShowEntry, Value };
  GasControl control;
  Kind kind;
  std::string text;     // Caption
  plat::Color color{};  // BackColor
  bool on = false;      // Enabled, Visible
  int entry = 0;        // ShowEntry: a list shows its entry `entry` (no selection handler)
  float value = 0;      // Value of the progress bar
  friend bool operator==(const ScreenEdit&, const ScreenEdit&) = default;
};

using ScreenEdits = std::vector<ScreenEdit>;

// The progress bar as the form shows it now.
struct ProgressView {
  bool visible = false;
  float min = 0, max = 800, value = 0;
};

// The request of the state word: command byte and data. Empty when none belongs to it.
struct OwnGasRequest {
  int command = 0;
  std::string data;
  ScreenEdits edits;  // before the send
};

// The request that belongs to v.Stato; starting a measurement ("E") also clears the
// requested state, sets Measuring and the phase "MINIMO".
std::optional<OwnGasRequest> NextOwnGasRequest(GasTestVars& v, const ShellState& s,
                                               const GasState& g);

// What a whole reply frame did.
struct OwnGasReplyResult {
  bool handled = false;      // false: the frame was rejected (too short for what it carries)
  bool measurement = false;  // a "P" reply: the log line and the sequence step follow
  ScreenEdits edits;
};

// Handles one whole reply frame (STX to ETX, address, ACK and echo already checked):
// identification, check date, channel list, start and stop, fuel, status and
// measurement replies.
OwnGasReplyResult HandleOwnGasFrame(GasTestVars& v, GasState& g, LinkState& l, const ShellState& s,
                                    const plat::RegionalSettings& r, const ProgressView& bar,
                                    std::string_view frame);

// The extended HC range is on: the option bit 2 and a firmware from 5.4 (both digits
// compared each on its own, so 9.9 qualifies and 6.0 does not).
bool ExtendedHcRangeOn(const ShellState& s, const GasState& g);

// The fuel code of the fuel and engine-cycle lists: 0 petrol, 3 petrol with catalyst, 2
// methane, 5 methane with catalyst, 1 LPG, 4 LPG with catalyst, plus 64 for two-stroke.
int OwnFuelCodeFor(int fuelIndex, int strokesIndex);
// K of the corrected CO for a fuel list index: 15 petrol, 12 methane, 14 LPG.
int KFactorFor(int fuelIndex);

// The corrected CO of a CO and a CO2 reading (%vol, -1 out of range): the CO scaled to the
// dilution K, cut to one decimal as shown; the CO alone (rounded to one decimal) when the
// sum is 0 or at least K; 65, "not computable", when the sample is too diluted or a
// reading is out of range.
double CorrectedCo(double co, double co2, std::optional<int> k);
inline constexpr double kCoCorrNotComputable = 65;

}  // namespace vs
