#pragma once
// The screen texts of the smoke series, by their index in the language table.
#include <array>
#include <string>

#include "shell/LanguageTable.h"

namespace vs::smoke {

using LangTexts = std::array<std::string, kLanguageTextCount>;

namespace text {
inline constexpr int kExclStamp1 = 5;   // ANFUMOExclStamp1
inline constexpr int kFine = 7;         // ANFUMOFine
inline constexpr int kAvan = 8;         // ANFUMOAvan
inline constexpr int kFase = 9;         // ANFUMOFase
inline constexpr int kAttRisc = 28;     // ANFUMOAttRisc: wait for the cell to warm up
inline constexpr int kDec = 29;         // ANFUMODec: release the throttle
inline constexpr int kAcc = 30;         // ANFUMOAcc: accelerate
inline constexpr int kManMax = 31;      // ANFUMOManMax: hold at full speed
inline constexpr int kManMin = 32;      // ANFUMOManMin: hold at idle
inline constexpr int kConcl = 33;       // ANFUMOConcl: series complete
inline constexpr int kExclStamp4 = 43;  // ANFUMOExclStamp4
inline constexpr int kRefer = 128;      // StampaOPARefer: title of the smoke report
inline constexpr int kPass = 135;       // GeneralePos
inline constexpr int kFail = 136;       // GeneraleNeg
inline constexpr int kGrafic = 145;     // ANFUMOGrafic
inline constexpr int kMis15 = 165;      // ANFUMOMis15: name of the direct-acquisition mode
}  // namespace text

}  // namespace vs::smoke
