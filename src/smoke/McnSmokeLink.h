#pragma once
// The smoke test's conversation with an opacimeter over MCTC-NET. The request step reads the
// link's state word and names the one request that belongs to it; the reply step handles a
// frame by its echoed command, moves the state word on and returns what the form shows.
//
//   if (ready) if (auto r = NextMcnSmokeRequest(...)) send r->command, r->data
//   McnSmokeOutcome out = HandleMcnSmokeFrame(..., frame, echo, data);
#include <optional>
#include <string>
#include <string_view>

#include "link/ReplyParsers.h"
#include "smoke/SmokeLinkTypes.h"

namespace vs {
struct SmokeFormFields;
struct LinkState;
struct ShellState;
struct SmokeState;
}  // namespace vs

namespace vs::smoke {

struct McnRequest {
  std::string command, data;
};

// The request of the state word, with McnCommand and McnCommandLen set to it; nothing for a
// state word that has none. Clears ExclamStampaPending before a status request and the
// button's request when "AZ" or "SB" goes out; alternates McnLuParam after "@LU".
std::optional<McnRequest> NextMcnSmokeRequest(SmokeFormFields& f, LinkState& link,
                                              ShellState& shell);

struct McnSmokeOutcome {
  LinkDisplay display;
  PortHint portHint;                        // ExclamStampa, non-modal
  std::optional<OpaErrorAlarm> errorAlarm;  // the opacimeter's error code: Timer1 off, Critic
  bool valueReply = false;                  // "@VA": the readings and the phase step run next
};

// One accepted frame: its echo and its data text.
McnSmokeOutcome HandleMcnSmokeFrame(SmokeFormFields& f, LinkState& link, SmokeState& smoke,
                                    ShellState& shell, const LinkView& view, std::string_view frame,
                                    std::string_view echo, std::string_view data);

// The parts of the reply step, each on its own reply.
// "ST"/"@ST": the status (the low five bits of the first data byte; 0 without data).
LinkDisplay DecodeMcnStatus(SmokeFormFields& f, const LinkState& link, SmokeState& smoke,
                            ShellState& shell, const LinkView& view, std::string_view data);
// "@LU": the lock parameter stored by its number, and the lock display.
LinkDisplay TakeLockParameter(LinkState& link, const ShellState& shell, std::string_view data);
// The supply-voltage warning after "@RD".
LinkDisplay SupplyVoltageWarning(SmokeFormFields& f, double volts, const LinkView& view,
                                 const ShellState& shell);

}  // namespace vs::smoke
