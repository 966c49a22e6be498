#pragma once
// The engine-speed form's conversation with the counter. Every 300 ms tick sends exactly
// one request without waiting for the reply to the one before: the cylinder count ("CI")
// when the counter has not been told the present one, then the strokes ("TE") after the
// counter acknowledged the cylinders and when it has not been told the present strokes,
// else the polled quantity ("VA" engine speed, "VE" both, "TP" oil temperature). Each reply
// is taken by its own echo, so a late one still counts as what it answers:
//
//   poll state   tick sends                     reply   next state
//   Misura       "CI" + cylinders, if changed   "CI"    Cil
//   Cil          "TE" + strokes, if changed     "TE"    Temp
//   Temp         "VA", "VE" or "TP"             poll    Misura
//
// A state with nothing to tell moves on to Temp and polls in the same tick. An unanswered
// request is not repeated as such: the next tick finds the count recorded and polls.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/MctcNetExchange.h"

namespace vs {

struct LinkState;
struct ShellState;

enum class RpmPollState { Misura, Cil, Temp };

// The form's variables of the conversation; the form's load starts them afresh.
struct RpmPoll {
  MctcNetExchange<RpmPollState> exchange{ExchangeRules{}, McnRequests::Overlapping};
  std::optional<std::int16_t> LastSentCylinders;  // none: nothing told since the load
  std::optional<std::int16_t> LastSentStrokes;

  // Back to the start: nothing told, nothing received, state Misura.
  void Restart();
  // The strokes changed: the counter is told the cylinders and then the strokes again.
  void TellEngineAgain() { LastSentCylinders.reset(); }
};

struct RpmRequest {
  std::string command;
  std::string data;
};

// The request of one tick. RpmPollSelect 0 polls "VA", 1 "VE", 2 "TP"; any other value
// polls "VA".
RpmRequest NextRpmRequest(RpmPoll& poll, const ShellState& s);

// A request to the counter about to go out (from either of its forms): the counter's
// exchange header (RpmMcnAddress "RPM", RpmMcnDevNumber "1", RpmMcnCommand and the lengths)
// and the form's exchange are set for its reply.
void NoteRpmRequest(MctcNetExchangeCore& exchange, LinkState& l, std::string_view command);

// What a received reply changed on the form's display.
struct RpmShown {
  bool rpm = false;      // RpmCounterRpm
  bool oilTemp = false;  // RpmCounterOilTemp
};

// Bytes from the counter's port. A whole frame from "RPM" with ETB after the address sets
// RpmReplySeen, moves the poll state by its echo and parses the readings it carries into
// ExternalRpmReading; any other whole frame is dropped. Neither checksum nor unit is
// checked. Part of a frame waits for the rest.
RpmShown TakeRpmInput(RpmPoll& poll, LinkState& l, std::string_view input);

}  // namespace vs
