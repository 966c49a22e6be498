#pragma once
// The system options behind the access code: section IMPOSTAZIONI of "Conf.ini", every
// value passed through ScrambleString so that the file doesn't show it in plain text.
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/SettingsAccess.h"

namespace vs {

struct ShellState;

// The code that the access-code form accepts (case-sensitive).
inline constexpr std::string_view kAccessCode = "PELTO";
// Appended to the mask digit before it is scrambled; never checked on reading.
inline constexpr std::string_view kMaskTag = "Vrin";
inline constexpr double kDefaultGasKquad = 1E-09;
inline constexpr double kDefaultGasKlin = 0.008;

// XORs the Windows-1252 code of every character with 0xA7. Takes and gives UTF-8; every
// byte value round-trips, so applying it twice gives the input back.
std::string ScrambleString(std::string_view s);

// AbiM := scrambled (integer text of SystemEnableMask & "Vrin"), Kquad, Klin := scrambled
// double texts of GasKquad and GasKlin under the regional settings. After a write that
// worked, the three are read back from the file.
SaveResult SaveSystemSettings(ShellState& s, const SettingsPlace& at);

// Reads the three keys into SystemEnableMask (the first character of the unscrambled AbiM),
// GasKquad and GasKlin. A key that is missing or empty gives the default (0, 1E-09, 0.008);
// a value that doesn't unscramble to a number leaves its variable as it was.
void LoadSystemSettings(ShellState& s, const SettingsPlace& at);

}  // namespace vs
