#pragma once
// The smoke test's conversation with an opacimeter of models 0 to 4 in the maker's binary
// protocol. The request step reads the link's state word and names the request that belongs
// to it (and the queued auto-zero command after it); the reply step handles a checked frame by
// its echoed command: identity, channel list, status (decoded by model), readings.
//
//   if (state word "INIZIO" && TakeStartNotice(...)) Timer1 off, ExclamStampa modal
//   for (r : NextOwnSmokeRequests(...).requests) send r.command, r.data
//   OwnSmokeOutcome out = HandleOwnSmokeFrame(..., frame);
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "smoke/SmokeLinkTypes.h"

namespace vs {
struct SmokeFormFields;
struct LinkState;
struct ShellState;
struct SmokeState;
}  // namespace vs

namespace vs::smoke {

// The serial-number prefix of models 0 to 4 ("AM", "AQ", "AN", "AP", "AB"); "" for others.
std::string OpaSerialPrefix(std::int16_t model);

// At the first request ("INIZIO"): ExclamStampaMessage is set to the start notice; true, with
// ExclamStampaPending cleared, when the notice is still owed. The form stops Timer1 and shows
// it modally (its closing starts Timer1 again) before the first request goes out.
bool TakeStartNotice(const SmokeFormFields& f, ShellState& shell);

struct OwnRequest {
  int command = 0;
  std::string data;
};

struct OwnRequestStep {
  std::vector<OwnRequest> requests;  // in the order they go out; PendingCommand is the last
  bool cmdOutEnabled = false;
};

// The requests of the state word for `model`, with PendingCommand set to the last one.
OwnRequestStep NextOwnSmokeRequests(SmokeFormFields& f, LinkState& link, std::int16_t model);

enum class OwnReplyUse {
  Handled,  // the cycle is ready for the next request
  Dropped,  // too short for what is read: handled like a frame that failed its checks
};

struct OwnSmokeOutcome {
  OwnReplyUse use = OwnReplyUse::Handled;
  LinkDisplay display;
  bool valueReply = false;  // 'P': the readings and the phase step run next
};

// One whole reply frame (STX to ETX) that passed the address, acknowledge, echo, length and
// end checks.
OwnSmokeOutcome HandleOwnSmokeFrame(SmokeFormFields& f, LinkState& link, SmokeState& smoke,
                                    const ShellState& shell, std::int16_t model,
                                    const LinkView& view, std::string_view frame);

// The status bytes S7, S8, S9 and S11, stored and decoded by model.
struct OwnStatusBytes {
  std::uint8_t s7 = 0, s8 = 0, s9 = 0, s11 = 0;
};
LinkDisplay DecodeOwnStatus(SmokeFormFields& f, SmokeState& smoke, const LinkState& link,
                            const ShellState& shell, std::int16_t model, const LinkView& view,
                            OwnStatusBytes s);

// The value of a channel record's high and low bytes: -1 when the high byte marks it out of
// range (128 or more).
double OwnChannelValue(std::uint8_t high, std::uint8_t low);

}  // namespace vs::smoke
