#pragma once
// What the two instrument links of the smoke test form (MCTC-NET and the maker's binary
// protocol) keep between ticks and replies, and the changes a link step asks of the form.
// The steps (McnSmokeLink.h, OwnSmokeLink.h) touch no form; the form applies what they return.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/SmokeRpmReplies.h"
#include "smoke/SeriesTypes.h"

namespace vs::smoke {

// The link's variables of the smoke test form.
struct SmokeLinkFields {
  std::string LinkState;                  // state word of the link: chooses the next request
  std::string RequestedLinkState;         // MCTC-NET: "STARTMIS" (START) or "RSTSB" (Stand&By)
  std::string LastStatusWord;             // word of the last status reply the decoding finished
  std::string RequestedStart;             // binary: "STARTMIS" while an auto-zero command is queued
  std::string ChannelListData;            // binary: data of the last channel-list request
  std::int32_t ParamPollCounter = 0;      // +2 per "@VA", 0 on "@LU"
  std::int32_t VoltagePollCounter = 0;    // +1 per "@VA", 0 on "@RD"
  std::int32_t VoltageBlinkCount = 0;     // low-voltage "@RD" replies since the last toggle
  std::int16_t AutoZeroStatusCount = 0;   // auto-zero status replies in a row, up to 4
  std::int16_t WarmUpListSent = 0;        // model 0: channel list answered in warm-up
  std::int16_t CheckListSent = 0;         // models 1 to 4: channel list answered in the check
  std::int16_t ValuesInvalid = 0;         // 1 while the binary status reports an error
  std::array<double, 9> ChannelValues{};  // last value of each channel of a value reply
  std::string OpaErrorCode;               // MCTC-NET: error code of the last "@RS" ("": none)
};

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
