#pragma once
// The system options behind the access code: section IMPOSTAZIONI of "Conf.ini", every
// value passed through ScrambleString so that the file doesn't show it in plain text.
#include <cstdint>
#include <string>
#include <string_view>

namespace vs {

struct ProgramState;

// The code that the access-code form accepts (case-sensitive).
inline constexpr std::string_view kAccessCode = "PELTO";
// Appended to the mask digit before it is scrambled; never checked on reading.
inline constexpr std::string_view kMaskTag = "Vrin";
inline constexpr double kDefaultGasKquad = 1E-09;
inline constexpr double kDefaultGasKlin = 0.008;

// XORs the Windows-1252 code of every character with 0xA7. Takes and gives UTF-8; every
// byte value round-trips, so applying it twice gives the input back.
std::string ScrambleString(std::string_view s);

// AbiM := scrambled (integer text of mask & "Vrin"), Kquad, Klin := scrambled double texts
// under the regional settings.
void SaveSystemSettings(ProgramState& p, std::int16_t mask, double kquad, double klin);

// Reads the three keys into SystemEnableMask (the first character of the unscrambled AbiM),
// GasKquad and GasKlin. A key that is missing or empty gives the default (0, 1E-09, 0.008);
// a value that doesn't unscramble to a number leaves its variable as it was.
void LoadSystemSettings(ProgramState& p);

}  // namespace vs
