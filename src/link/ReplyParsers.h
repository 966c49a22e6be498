#pragma once
// The MCTC-NET reply parsers. Each takes the whole reply frame as received (STX to ETX)
// and the lengths of the command and of the unit of its exchange, cuts the data text,
// splits it at ETB and stores the fields into the program-wide link state. None throws:
// a reply that cannot be split ends the parse by the parser's own failure rule.
#include <string_view>

namespace vs {

class Program;

// Identification of any device: make, model, homologation, serial (also the gas
// analyser's serial), expiry DDMMYYYY as DD/MM/YYYY (also the gas analyser's check expiry),
// version, a seventh field, and the version times 1000. On failure the seven texts are
// " "; the gas copies and the version number keep what they hold then.
void ParseIdReply(Program& p, std::string_view reply, int commandLen, int unitLen);

// The gas analyser's replies.
void ParseGasLaReply(Program& p, std::string_view reply, int commandLen, int unitLen);
void ParseGasLiReply(Program& p, std::string_view reply, int commandLen, int unitLen);
void ParseGasEtReply(Program& p, std::string_view reply, int commandLen, int unitLen);
void ParseGasVaReply(Program& p, std::string_view reply, int commandLen, int unitLen);
void ParseGasLsReply(Program& p, std::string_view reply, int commandLen, int unitLen);
void ParseGasEhReply(Program& p, std::string_view reply, int commandLen, int unitLen);
// "@RS" of the gas analyser or the opacimeter: codes of data bytes 1 and 3.
void ParseRsReply(Program& p, std::string_view reply, int commandLen, int unitLen);

enum class HintInstrument { Gas, Opacimeter };

// The one-shot port hint of the measurement parsers: while ShowParseWarning is on, shows
// ExclamStampa (English for language code 2, else Italian) and switches it off.
void ShowPortHint(Program& p, HintInstrument instrument);

}  // namespace vs
