#pragma once
// The gas analyser's MCTC-NET conversation, decided on the records: which request the state
// word asks for, and what a reply does to the state words, the readings and the screen. The
// gas test form applies the outcome to its controls; nothing here touches a form.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/FrameCollector.h"
#include "link/ReplyParsers.h"
#include "platform/core/DateTime.h"
#include "platform/forms/Types.h"

namespace vs {

struct LinkState;
struct ShellState;
struct GasState;

// The gas test form's variables that the conversation reads and writes.
struct McnGasWords {
  std::string& Stato;           // state word: selects the next request
  std::string& StatoRichiesto;  // state word asked for by a button or a status reply
  std::string& PrevState;       // state word of the last handled reply
  std::string& GasPhase;        // set to "MINIMO" when the HC residue check passes
  std::int16_t& AutoZeroCount;  // auto-zero status replies; every fourth fetches "@RS"
  std::int16_t& StandbyAfterEt;
  std::int16_t& FuelIndex;
  std::int16_t& StrokesIndex;
  std::int16_t GasMode;  // 0 certification, 1 diagnosis
};

// Analysers below this version (times 1000) speak the older command forms: "ST", "@LA" and
// "@LI" instead of "@ST" and "@LU".
inline constexpr double kMcnNewCommandsVersion = 1500;

struct McnGasRequest {
  std::string command;
  std::string data;
  bool whiteMessageLine = false;  // the leak-check requests clear the message line's red
};

// The request of w.Stato, or nothing for a state word that asks for none. "SDA" on a newer
// analyser skips "@LA": it moves on to "LAL" and asks for the P.E.F. at once. `now` is the
// one reading of the clock that "@SD" carries.
std::optional<McnGasRequest> NextMcnGasRequest(McnGasWords w, const LinkState& l,
                                               const plat::DateTime& now);

// "@SD" data: DDMMYYYY, ETB, HHMMSS, all from the one reading.
std::string McnClockData(const plat::DateTime& now);

// "@SA" data: fuel word, catalyst word, "04"-field, strokes, H/C and O/C ratios, six fields.
// A fuel text joined by an "@LA" reply ("BENZINANO CAT") goes out as its two words.
std::string McnFuelSettingsData(const LinkState& l);

// A text on a label and the label's background (none: the background stays as it is).
struct McnLabelText {
  std::string text;
  std::optional<plat::Color> back = plat::colors::kWhite;
};

enum class McnProgress {
  Keep,
  Hide,
  HideIfShown,
  Sweep,  // auto-zero: shown, and moved on from the window start
};

// What a handled reply asks of the screen, in the form's terms.
struct McnGasScreen {
  std::optional<McnLabelText> status;      // Label5
  std::optional<McnLabelText> message;     // Label27, text and background
  std::optional<plat::Color> messageBack;  // Label27, background only
  std::optional<McnLabelText> verdict;     // Label28
  std::optional<bool> listsEnabled;        // fuel and engine-cycle lists
  std::optional<bool> leakTestEnabled;     // the leak-test button
  bool startAndStandbyEnabled = false;     // Start/Stop and stand-by enabled again
  bool hidePressureIfShown = false;        // the three leak-test pressure labels
  std::optional<std::string> pressure;     // Label38
  std::optional<std::string> pef;          // Label7
  McnProgress progress = McnProgress::Keep;
  bool blankReadings = false;  // auto-zero: "- - -" in every value label
  bool measurement = false;    // "@VA": readings shown, "gas.log" line, test step
  bool fuelShown = false;      // "@LA": the list texts of FuelIndex and StrokesIndex
  PortHint hint;
  std::vector<std::size_t> boxes;  // language texts for message boxes, after the reply
};

// Handles an accepted reply frame (the collector checked the address and the echo): sets
// the state words, parses into the records and tells what the screen must show. `now` is
// the clock for the leak check's age.
McnGasScreen DecideMcnGasReply(McnGasWords w, LinkState& l, GasState& g, const ShellState& s,
                               const McnCollected& reply, const plat::DateTime& now);

}  // namespace vs
