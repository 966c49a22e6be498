#pragma once
// The variables of the smoke test form that its exchange cycle, the two instrument links,
// the readings and the phase machine share. The form holds them; the procedures of the
// smoke test take them (with the records) and never the form.
#include <array>
#include <cstdint>
#include <string>

#include "smoke/ChartSeries.h"
#include "smoke/SeriesTypes.h"

namespace vs {

// The phase word and its deadlines (smoke::PhaseFields) and the mode-6 chart rows
// (smoke::ChartRecord) are the phase machine's.
struct SmokeFormFields : smoke::PhaseFields, smoke::ChartRecord {
  bool LogFlag = false;                   // the reading log is on ("LOG ON")
  bool LogProblemTold = false;            // this opening told that a log line was lost
  std::int16_t TestMode = 0;              // index of the test-mode list, 0 to 6
  std::int16_t AutoZeroStatusCount = 0;   // auto-zero status replies in a row (MCTC-NET)
  std::int32_t SmokeTickCount = 0;        // 25 ms ticks since the form opened
  std::string RequestedStart;             // "STARTMIS": START asked the binary link for a zero
  std::int16_t ValuesInvalid = 0;         // 1 while the binary status reports an error
  std::string LinkState;                  // state word of the instrument link
  std::string RequestedLinkState;         // "STARTMIS" (START) or "RSTSB" (Stand&By)
  std::string ChannelListData;            // data of the binary channel-list request
  std::string ReplyBuffer;                // received bytes not yet handled
  std::string LastStatusWord;             // status word of the last status reply
  std::int16_t WarmUpListSent = 0;        // binary, model 0: channel list answered in warm-up
  std::int16_t CheckListSent = 0;         // binary, models 1 to 4: answered in the check state
  double PressureValue = 0;               // ambient pressure of the last value reply, kPa
  std::array<double, 9> ChannelValues{};  // last value of each channel of a binary value reply
  std::int32_t ParamPollCounter = 0;      // value replies since the last lock-parameter read
  std::int32_t VoltagePollCounter = 0;    // value replies since the last supply-voltage read
  std::int32_t VoltageBlinkCount = 0;     // low-voltage replies since the last colour change
};

}  // namespace vs
