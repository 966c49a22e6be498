#include "rpm/RpmPoll.h"

#include "link/LinkState.h"
#include "link/SmokeRpmReplies.h"
#include "platform/text/Numbers.h"
#include "shell/ShellState.h"

namespace vs {
namespace {

constexpr std::string_view kAddress = "RPM";
constexpr std::string_view kUnit = "1";

std::string_view PollCommand(const ShellState& s) {
  switch (s.RpmPollSelect) {
    case 1:
      return "VE";
    case 2:
      return "TP";
    default:
      return "VA";
  }
}

}  // namespace

void RpmPoll::Restart() {
  exchange.Reset();
  exchange.step = RpmPollState::Misura;
  LastSentCylinders.reset();
  LastSentStrokes.reset();
}

RpmRequest NextRpmRequest(RpmPoll& poll, const ShellState& s) {
  RpmPollState& state = poll.exchange.step;
  if (state == RpmPollState::Misura) {
    // Nothing told yet counts as 0, which differs from every count the counter knows.
    if (poll.LastSentCylinders.value_or(0) != s.RpmCylinders) {
      poll.LastSentCylinders = s.RpmCylinders;
      return {"CI", plat::FormatInt(s.RpmCylinders)};
    }
    state = RpmPollState::Temp;
  }
  if (state == RpmPollState::Cil) {
    if (poll.LastSentStrokes.value_or(0) != s.RpmEngineStrokes) {
      poll.LastSentStrokes = s.RpmEngineStrokes;
      return {"TE", plat::FormatInt(s.RpmEngineStrokes)};
    }
    state = RpmPollState::Temp;
  }
  return {std::string(PollCommand(s)), {}};
}

void NoteRpmRequest(MctcNetExchangeCore& exchange, LinkState& l, std::string_view command) {
  l.RpmMcnAddress = kAddress;
  l.RpmMcnDevNumber = kUnit;
  l.RpmMcnDevNumberLen = static_cast<std::int32_t>(kUnit.size());
  l.RpmMcnCommand = command;
  l.RpmMcnCommandLen = static_cast<std::int16_t>(command.size());
  exchange.Sent(l.RpmMcnAddress, l.RpmMcnCommand, l.RpmMcnDevNumberLen);
}

RpmShown TakeRpmInput(RpmPoll& poll, LinkState& l, std::string_view input) {
  const McnCollected got = poll.exchange.Receive(input);
  if (got.status != McnCollected::Status::Accepted) return {};
  l.RpmReplySeen = 1;
  const int commandLen = static_cast<int>(got.echo.size());
  const int unitLen = static_cast<int>(l.RpmMcnDevNumberLen);
  RpmShown shown;
  RpmPollState& state = poll.exchange.step;
  if (got.echo == "CI") {
    state = RpmPollState::Cil;
  } else if (got.echo == "TE") {
    state = RpmPollState::Temp;
  } else if (got.echo == "VA") {
    state = RpmPollState::Misura;
    ParseRpmVaReply(l, got.frame, commandLen, unitLen);
    shown.rpm = true;
  } else if (got.echo == "TP") {
    state = RpmPollState::Misura;
    ParseRpmTpReply(l, got.frame, commandLen, unitLen);
    shown.oilTemp = true;
  } else if (got.echo == "VE") {
    state = RpmPollState::Misura;
    ParseRpmVeReply(l, got.frame, commandLen, unitLen);
    shown.rpm = shown.oilTemp = true;
  }
  return shown;
}

}  // namespace vs
