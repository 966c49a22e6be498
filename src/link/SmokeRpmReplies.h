#pragma once
// The opacimeter's measurement replies, the engine-speed counter's replies, and the
// opacimeter's error codes. Field splitting and failure rules as in ReplyParsers.h.
#include <string_view>

namespace vs {

class Program;

// "@VA" and "@RD" of the opacimeter, cut with McnCommandLen and McnDevNumberLen. A reply
// that cannot be split keeps what was stored and raises the one-shot port hint.
void ParseOpaMeasureReply(Program& p, std::string_view reply);
void ParseOpaRdReply(Program& p, std::string_view reply);

// The engine-speed counter: "VE" (speed and oil temperature), "VA" (speed, the whole data
// text), "TP" (oil temperature, the whole data text). A reply too short for its header
// blanks the texts (" ") and keeps the numbers.
void ParseRpmVeReply(Program& p, std::string_view reply, int commandLen, int unitLen);
void ParseRpmVaReply(Program& p, std::string_view reply, int commandLen, int unitLen);
void ParseRpmTpReply(Program& p, std::string_view reply, int commandLen, int unitLen);

// An opacimeter error code ("001" ... "010"). "001" and "005" only switch the port hint
// off; "002", "003", "004", "006", "007" and "010" stop the smoke test's requests and show
// Critic modally; any other code does nothing.
void ShowOpaErrorCode(Program& p, std::string_view code);

}  // namespace vs
