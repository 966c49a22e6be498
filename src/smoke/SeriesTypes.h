#pragma once
// What the steps of a free-acceleration series take from the smoke test form and hand back
// to it: the value reply being handled, the limits and texts they read, and the changes
// they ask of the form's labels. The steps touch no form; the form applies what they return.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/forms/Types.h"
#include "platform/text/RegionalSettings.h"
#include "shell/LanguageTable.h"

namespace vs::smoke {

// The screen texts of the language in use (ShellState::LangText), by lang:: index.
using LangTexts = std::array<std::string, kLanguageTextCount>;

enum class Protocol { MctcNet, Binary };

// One measured-values reply ("@VA" or 'P'), after the readings step has corrected and shown it.
struct ValueReply {
  Protocol protocol = Protocol::MctcNet;
  std::int16_t testMode = 0;    // TestMode, the index of the mode list
  std::int32_t tick = 0;        // SmokeTickCount when the reply is handled
  double rpm = 0;               // OpaRpm
  double k = 0;                 // OpaK after the pressure correction
  double cellTemp = 0;          // OpaCellTemp
  bool valuesInvalid = false;   // ValuesInvalid = 1: the binary status reports an error
  std::int16_t mcnStatus = 0;   // OpaMcnStatus: 1 while the MCTC-NET opacimeter warms up
  std::string luStatus1;        // OpaLuStatus1, lock parameter "020"
  std::string luStatus2;        // OpaLuStatus2, lock parameter "021"
  std::int16_t modelIndex = 0;  // OpaModelIndex
  std::int16_t status0 = 0;     // OpaStatus0 of the binary status reply
  std::int16_t status1 = 0;     // OpaStatus1 of the binary status reply
};

// The settings and texts the series reads.
struct SeriesSettings {
  const LangTexts& texts;
  const plat::RegionalSettings& regional;
  float rpmMin = 0;             // SmokeRpmMin
  float rpmMax = 0;             // SmokeRpmMax
  double opacityThreshold = 0;  // SmokeOpacityThreshold
  double kLimit = 0;            // SmokeKLimit, the limit value K
  std::int16_t unitIndex = 0;   // OpaUnitIndex: 1 HSU, else %
};

// The phase fields of the smoke test form.
struct PhaseFields {
  std::string TestPhase;
  std::int32_t MaxHoldDeadline = 0;  // tick after which the hold at full speed ends
  std::int32_t PhaseDeadline = 0;    // tick after which a timed phase ends
};

// A label's caption and back colour, each only when a step wrote it; a later write wins.
struct LabelChange {
  std::optional<std::string> caption;
  std::optional<plat::Color> backColor;
  void Show(const std::string& text, plat::Color back) {
    caption = text;
    backColor = back;
  }
};

// Colours of the instruction line Label39 and of the cell-temperature display Label24.
namespace colour {
inline constexpr plat::Color kRelease = 0xFF80FF;
inline constexpr plat::Color kAccelerate = 0x0080FF;
inline constexpr plat::Color kHoldMax = 0xFFFF00;
inline constexpr plat::Color kHoldIdle = 0x00FF00;
inline constexpr plat::Color kComplete = 0xFF8080;
inline constexpr plat::Color kWhite = plat::colors::kWhite;
inline constexpr plat::Color kCold = plat::colors::kRed;
inline constexpr plat::Color kPass = plat::colors::kGreen;
inline constexpr plat::Color kFail = plat::colors::kRed;
}  // namespace colour

// The measuring cell is warm above 70.0 °C.
bool IsWarm(double cellTemp);

// The MCTC-NET opacimeter's lock parameters let an acceleration start: "021" is "00000" or
// "00001", or "00002" while "020" is "00016".
bool StartGateOpen(const ValueReply& reply);

}  // namespace vs::smoke
