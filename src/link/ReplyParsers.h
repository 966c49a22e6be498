#pragma once
// The MCTC-NET reply parsers. Each takes the whole reply frame as received (STX to ETX)
// and the lengths of the command and of the unit of its exchange, cuts the data text,
// splits it at ETB and stores the fields into the program-wide link state. None throws:
// a reply that cannot be split ends the parse by the parser's own failure rule.
#include <optional>
#include <string>
#include <string_view>

namespace vs {

struct LinkState;
struct ShellState;

// The text of the port hint that ExclamStampa must show (closed first when open, then
// shown non-modally); empty when there is none to show. The form that called the parser
// shows it.
using PortHint = std::optional<std::string>;

// Identification of any device: make, model, homologation, serial (also the gas
// analyser's serial), expiry DDMMYYYY as DD/MM/YYYY (also the gas analyser's check expiry),
// version, a seventh field, and the version times 1000. On failure the seven texts are
// " "; the gas copies and the version number keep what they hold then. Returns whether the
// reply parsed.
bool ParseIdReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);

// The gas analyser's replies. "VA" returns the port hint when the reply cannot be split.
void ParseGasLaReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);
void ParseGasLiReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);
void ParseGasEtReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);
[[nodiscard]] PortHint ParseGasVaReply(LinkState& l, const ShellState& s, std::string_view reply,
                                       int commandLen, int unitLen);
void ParseGasLsReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);
void ParseGasEhReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);
// "@RS" of the gas analyser or the opacimeter: codes of data bytes 1 and 3.
void ParseRsReply(LinkState& l, std::string_view reply, int commandLen, int unitLen);

enum class HintInstrument { Gas, Opacimeter };

// The one-shot port hint of the measurement parsers: while ShowParseWarning is on, the text
// for ExclamStampa (English for language code 2, else Italian), and the switch goes off.
[[nodiscard]] PortHint TakePortHint(LinkState& l, const ShellState& s, HintInstrument instrument);

}  // namespace vs
