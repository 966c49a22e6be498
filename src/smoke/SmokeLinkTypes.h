#pragma once
// What the two instrument links of the smoke test form (MCTC-NET and the maker's binary
// protocol) read of the form and the changes a link step asks of it. The steps
// (McnSmokeLink.h, OwnSmokeLink.h) take the form's variables (SmokeFormFields.h) and the
// records, never the form; the form applies what they return.
#include <cstdint>
#include <optional>
#include <string>

#include "link/SmokeRpmReplies.h"
#include "smoke/SeriesTypes.h"

namespace vs::smoke {

// What the link steps read of the form.
struct LinkView {
  std::int16_t testMode = 0;                       // TestMode
  std::string label39;                             // the caption Label39 shows now
  int accIndex = 0;                                // AccIndex, the next acceleration row
  plat::Color label30Back = plat::colors::kWhite;  // the supply-voltage warning's colour now
};

// The changes one link step asks of the smoke test form, applied in this order: Command1,
// the mode list, the labels, the blanked cells, the phase word, Command2 and CmdOut; a box
// last (each stops Timer1 before it shows).
struct LinkDisplay {
  std::optional<bool> command1Enabled;
  bool selectModeZero = false;  // Combo1 to entry 0 (its selection step sets TestMode 0)
  LabelChange label2, label24, label29, label30, label33, label39;
  std::optional<bool> label30Visible;
  bool blankReadings = false;  // Linette: the six live readings show "- - -"
  bool blankSeries = false;    // rows 0-7 of Label36 and Label18, Label35, Label55, Label52 and
                               // Label53 show "- - -"
  std::optional<std::string> testPhase;
  std::optional<bool> command2Enabled;
  bool cmdOutEnabled = false;
  std::optional<OpaErrorAlarm> critic;    // Critic with this caption and CriticMessage
  std::optional<std::string> lockNotice;  // ExclamStampa with this ExclamStampaMessage
};

}  // namespace vs::smoke
