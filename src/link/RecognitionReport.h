#pragma once
// The texts of the instrument recognition: the identity line of an instrument that answered
// and the report of a scan.
#include <span>
#include <string>

namespace vs {

struct LinkState;

// Make, model, serial and version of the identity last parsed, three spaces apart.
std::string IdentityLine(const LinkState& l);

// One line per port 1 to results.size() - 1 (CR LF after each): "Com<n>   <identity>" for a
// port whose instrument answered, "Com<n> no connect" for one that opened ("1") with no
// answer; a port that could not be opened ("0") is left out. results[0] is not used.
std::string RecognitionReport(std::span<const std::string> results);

}  // namespace vs
