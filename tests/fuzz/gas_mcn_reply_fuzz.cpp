// Fuzz target: the gas test form's MCTC-NET reply step on the records (DecideMcnGasReply),
// for any echoed command, any state words before it and any data, then the request that
// follows. The state words stay words of the conversation; codes stay in their ranges.
#include <array>
#include <cstdlib>
#include <string>
#include <string_view>

#include "gas/GasState.h"
#include "gas/McnGasExchange.h"
#include "link/FrameCollector.h"
#include "link/MctcNetFrame.h"
#include "link_fuzz.h"

namespace {

constexpr std::array<std::string_view, 18> kCommands{"ID",  "@SD", "@LA", "@LI", "@LU", "@SA",
                                                     "SB",  "AZ",  "TT",  "ET",  "@LS", "@RS",
                                                     "@VA", "HC",  "EH",  "ST",  "@ST", "XY"};

// Every state word of the conversation (and "" for a fresh form).
constexpr std::array<std::string_view, 31> kWords{
    "",       "INIZIO",   "IDE",      "SDA",      "LAL",    "LI",      "RSTAZE",  "ETEI",
    "ACQ",    "SBY",      "AZE",      "SAL",      "ESHC",   "ETER",    "ACQXAZE", "RSTSB",
    "RSTMIS", "RSTRIS",   "RSECXAZE", "RSEC",     "ETEE",   "STANDBY", "@SA",     "TTE",
    "LSEN",   "STARTMIS", "TT",       "AUTOZERO", "TESTHC", "ESHCE",   "HCRES",
};

bool IsWord(const std::string& w) {
  for (std::string_view k : kWords) {
    if (w == k) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  static vs::GasState* gas = new vs::GasState();
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  vs::LinkState& l = p.link;
  const std::string_view command = kCommands[data[0] % kCommands.size()];
  std::string stato(kWords[data[1] % kWords.size()]);
  std::string prev(kWords[data[2] % kWords.size()]);
  std::string requested, phase;
  std::int16_t autoZero = static_cast<std::int16_t>(data[3] & 3);
  std::int16_t standbyAfterEt = (data[3] >> 2) & 1;
  std::int16_t fuel = 1, strokes = 0;
  const std::int16_t mode = (data[3] >> 3) & 1;
  p.shell.SystemEnableMask = static_cast<std::uint8_t>(data[3] & 0x70) >> 2;
  l.McnAddress = "GAS";
  l.McnDevNumberLen = 1;
  l.McnCommand = std::string(command);
  l.McnCommandLen = static_cast<std::int16_t>(command.size());

  std::string buffer =
      std::string(1, vs::kStx) + "GAS" + vs::kEtb + "1" + vs::kEtb + std::string(command);
  if (size > 4) {
    buffer += vs::kEtb;
    buffer.append(reinterpret_cast<const char*>(data) + 4, size - 4);
  }
  buffer += "00";
  buffer += vs::kEtx;
  const vs::McnCollected got = vs::CollectTestFormReply(l, buffer);
  if (got.status != vs::McnCollected::Status::Accepted) return 0;

  vs::McnGasWords w{stato, requested, prev, phase, autoZero, standbyAfterEt, fuel, strokes, mode};
  const vs::McnGasScreen out =
      vs::DecideMcnGasReply(w, l, *gas, p.shell, got, plat::DateTime{2026, 12, 7, 14, 35, 0});
  if (!IsWord(stato) || !IsWord(prev) || !IsWord(requested)) std::abort();
  if (autoZero < 0 || autoZero > 3 || gas->GasMcnStatus < 0 || gas->GasMcnStatus > 31) std::abort();
  if (l.McnRsStatus1 < 0 || l.McnRsStatus1 > 127) std::abort();
  if (out.boxes.size() > 1) std::abort();
  if (out.pef) vs::fuzz::CheckText(*out.pef);
  vs::fuzz::CheckText(l.McnEtFlag);
  vs::fuzz::CheckText(l.McnEhField1);
  // The request that follows: at most one, and "@SA" always with six fields.
  const auto next = vs::NextMcnGasRequest(w, l, plat::DateTime{});
  if (next && next->command == "@SA") {
    std::size_t etbs = 0;
    for (char c : next->data) etbs += c == vs::kEtb;
    if (etbs < 5) std::abort();
  }
  return 0;
}
