// Fuzz target: the reply collectors of every port owner (MCTC-NET and binary) on any
// bytes, arriving in pieces of varying size.
#include <string>

#include "link/FrameCollector.h"
#include "link/MctcNetExchange.h"
#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "link_fuzz.h"

namespace {

void CheckMcn(const vs::McnCollected& got, const std::string& buffer, std::string_view address) {
  using Status = vs::McnCollected::Status;
  if (got.status == Status::Waiting) {
    if (!buffer.empty() && buffer.back() == vs::kEtx) std::abort();
    return;
  }
  if (!buffer.empty()) std::abort();
  if (got.status == Status::Accepted) {
    // The first byte is not checked: only the address after it and the ETB.
    const std::string& f = got.frame;
    if (f.size() < 5 || f.compare(1, 3, address) != 0 || f[4] != vs::kEtb || f.back() != vs::kEtx) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  vs::LinkState& l = p.link;
  l.McnAddress = "GAS";
  l.McnCommand = (data[0] & 1) ? "@VA" : "ID";
  l.McnCommandLen = static_cast<std::int16_t>(l.McnCommand.size());
  l.McnDevNumberLen = (data[0] >> 1) & 3;
  l.RpmMcnAddress = "RPM";
  l.RpmMcnCommandLen = 2;
  l.RpmMcnDevNumberLen = 1;
  const int address = data[1];
  const int pending = data[2];
  const std::size_t piece = (data[0] >> 3) % 9 + 1;

  std::string testForm, setup, rpm, binary;
  vs::MctcNetExchangeCore exchange;
  exchange.Sent(l.McnAddress, l.McnCommand, l.McnDevNumberLen);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 3, size - 3);
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    const std::string_view in = bytes.substr(at, piece);
    vs::AppendReceived(testForm, in, true);
    CheckMcn(vs::CollectTestFormReply(l, testForm), testForm, l.McnAddress);
    CheckMcn(vs::CollectSetupReply(l, setup, in), setup, l.McnAddress);
    CheckMcn(vs::CollectRpmReply(l, rpm, in), rpm, l.RpmMcnAddress);
    const vs::McnCollected got = exchange.Receive(in);
    if (got.status == vs::McnCollected::Status::Accepted && got.echo != l.McnCommand) std::abort();
    if (at % 7 == 0 && exchange.Tick() == vs::TickOutcome::Resend) {
      exchange.Sent(l.McnAddress, l.McnCommand, l.McnDevNumberLen);
    }

    vs::AppendReceived(binary, in, true);
    switch (vs::CheckOwnProtocolReply(binary, address, pending)) {
      case vs::OwnReplyCheck::Complete:
        if (binary.size() != static_cast<unsigned char>(binary[5]) + 6u ||
            binary.back() != vs::kEtx) {
          std::abort();
        }
        for (int k = 0; k < 60; ++k) (void)vs::OwnProtocolRecord(binary, k);
        binary.clear();
        break;
      case vs::OwnReplyCheck::Dropped:
        if (!binary.empty()) std::abort();
        break;
      case vs::OwnReplyCheck::Waiting:
        break;
    }
  }
  return 0;
}
