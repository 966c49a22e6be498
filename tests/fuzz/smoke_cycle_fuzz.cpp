// Fuzz target: the smoke test's exchange cycle and reading step on any bytes: input in
// pieces of varying size between ticks, in either protocol, and the readings of any
// values (NaN and infinities included) in any row.
#include <cmath>
#include <cstring>
#include <string>

#include "link/MctcNetFrame.h"
#include "link_fuzz.h"
#include "smoke/SmokeCycle.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeReadings.h"
#include "smoke/SmokeState.h"

namespace {

double TakeDouble(const std::uint8_t*& data, std::size_t& size) {
  double v = 0;
  if (size >= sizeof v) {
    std::memcpy(&v, data, sizeof v);
    data += sizeof v;
    size -= sizeof v;
  }
  return v;
}

void CheckOwnFrame(const std::string& f, int address, int command) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(f[i]); };
  if (f.size() < 8 || byte(1) != address || f[2] != vs::kAck || byte(3) != command ||
      f.size() != std::size_t{byte(5)} + 6 || f.back() != vs::kEtx)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  vs::LinkState& l = p.link;
  static vs::SmokeState* smoke = new vs::SmokeState();
  vs::SmokeFormFields f;
  const bool mctcNet = (data[0] & 1) != 0;
  l.ActiveComMode = mctcNet ? 2 : 1;
  l.McnAddress = "OPA";
  l.McnDevNumberLen = 1;
  l.McnCommand = (data[0] & 2) ? "@VA" : "ID";
  l.McnCommandLen = static_cast<std::int16_t>(l.McnCommand.size());
  l.PendingCommand = (data[0] & 2) ? 'P' : '?';
  smoke->OpaDeviceAddress = (data[0] & 4) ? 81 : 65;
  smoke->OpaReplyReady = 1;
  f.RequestedLinkState = (data[0] & 8) ? "STARTMIS" : "";
  const int piece = 1 + (data[1] & 15);
  f.TestPhase = (data[1] & 16) ? "DUE" : "";
  f.TestMode = static_cast<std::int16_t>(data[2] % 8);
  smoke->AccIndex = static_cast<std::int16_t>(static_cast<std::int8_t>(data[3]));
  data += 4;
  size -= 4;

  const plat::RegionalSettings r = plat::RegionalSettings::English();
  l.OpaK = TakeDouble(data, size);
  l.OpaN = TakeDouble(data, size);
  l.OpaRpm = TakeDouble(data, size);
  l.OpaCellTemp = TakeDouble(data, size);
  const vs::SmokeReadingsOutcome out = vs::TakeSmokeReadings(
      f, *smoke, l, p.shell,
      {mctcNet ? vs::smoke::Protocol::MctcNet : vs::smoke::Protocol::Binary, true, {}, r});
  if (out.row && (smoke->AccIndex < 0 || smoke->AccIndex > vs::kLastRowLabel)) std::abort();

  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (std::size_t at = 0; at < bytes.size(); at += static_cast<std::size_t>(piece)) {
    const vs::SmokeTick tick = vs::SmokeTickStep(f, *smoke, l);
    if (tick == vs::SmokeTick::TimedOut && !f.ReplyBuffer.empty()) std::abort();
    const vs::SmokeFrame got =
        vs::CollectSmokeReply(f, l, *smoke, bytes.substr(at, static_cast<std::size_t>(piece)));
    if (got.kind == vs::SmokeFrame::Kind::Own)
      CheckOwnFrame(got.own, smoke->OpaDeviceAddress, l.PendingCommand);
    if (got.kind == vs::SmokeFrame::Kind::MctcNet && got.mcn.echo != l.McnCommand) std::abort();
    if (got.kind != vs::SmokeFrame::Kind::None) vs::EndSmokeFrame(f, *smoke);
    if (f.ReplyBuffer.size() > vs::kMaxReplyBuffer) std::abort();
  }
  return 0;
}
