#pragma once
// The opacimeter's measurement replies, the engine-speed counter's replies, and the
// opacimeter's error codes. Field splitting and failure rules as in ReplyParsers.h.
#include <optional>
#include <string>
#include <string_view>

#include "link/ReplyParsers.h"

namespace vs {

// "@VA" and "@RD" of the opacimeter, cut with McnCommandLen and McnDevNumberLen. A reply
// that cannot be split keeps what was stored and returns the one-shot port hint.
[[nodiscard]] PortHint ParseOpaMeasureReply(LinkState& l, const ShellState& s,
                                            std::string_view reply);
[[nodiscard]] PortHint ParseOpaRdReply(LinkState& l, const ShellState& s, std::string_view reply);

// The engine-speed counter: "VE" (speed and oil temperature), "VA" (speed, the whole data
// text), "TP" (oil temperature, the whole data text). A reply too short for its header
// blanks the texts (" ") and keeps the numbers.
void ParseRpmVeReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);
void ParseRpmVaReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);
void ParseRpmTpReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);

// What an opacimeter error code asks of the forms: the smoke test's request timer
// (ANFUMO.Timer1) switched off, then Critic shown modally with this caption and text.
struct OpaErrorAlarm {
  std::string caption, text;
};

// An opacimeter error code ("001" ... "010"). "001" and "005" only switch the port hint
// off; "002", "003", "004", "006", "007" and "010" switch it off and return the alarm that
// the smoke test form raises; any other code does nothing.
[[nodiscard]] std::optional<OpaErrorAlarm> ShowOpaErrorCode(LinkState& l, const ShellState& s,
                                                            std::string_view code);

}  // namespace vs
