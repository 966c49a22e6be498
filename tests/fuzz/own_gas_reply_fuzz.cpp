// Fuzz target: the gas test's binary reply step on any bytes, once as they come (the step
// guards its own frame) and once through the exchange's collector, as the form feeds it.
#include "gas/GasState.h"
#include "gas/OwnGasExchange.h"
#include "link/OwnProtocolExchange.h"
#include "link_fuzz.h"

namespace {

struct GasRecords {
  vs::GasTestVars vars;
  vs::GasState gas;
  vs::OwnProtocolExchangeCore exchange;
};

GasRecords& TheGasRecords() {
  static GasRecords* records = new GasRecords();
  return *records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  GasRecords& g = TheGasRecords();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  if (size >= 2) {
    // Model 0 to 3, the extended HC option, a firmware digit pair, a K factor or none.
    p.shell.GasModelIndex = static_cast<std::int16_t>(data[0] >> 4 & 3);
    p.shell.SystemEnableMask = static_cast<std::uint8_t>(data[0] >> 6 & 2);
    g.gas.GasFirmwareVersion = {static_cast<char>('0' + (data[1] >> 4 & 7) + 3), '.',
                                static_cast<char>('0' + (data[1] >> 5 & 7) + 2)};
    if (data[1] & 0x80)
      g.vars.KFactor.reset();
    else
      g.vars.KFactor = 12 + (data[1] & 3);
    g.vars.GasTickCount += data[0];
  }
  const vs::ProgressView bar{(size & 1) != 0, 0, 800, static_cast<float>(size % 801)};
  (void)vs::HandleOwnGasFrame(g.vars, g.gas, p.link, p.shell, {}, bar, in.reply);
  if (!in.reply.empty()) {
    const int command = static_cast<unsigned char>(in.reply.size() > 3 ? in.reply[3] : '?');
    g.exchange.Sent(49, command);
    const vs::OwnCollected got = g.exchange.Receive(in.reply);
    if (got.status == vs::OwnReplyCheck::Complete) {
      (void)vs::HandleOwnGasFrame(g.vars, g.gas, p.link, p.shell, {}, bar, got.frame);
    }
  }
  (void)vs::NextOwnGasRequest(g.vars, p.shell, g.gas);
  return 0;
}
