// Fuzz target: the opacimeter set-up's identification step on any bytes.
#include "link_fuzz.h"
#include "smoke/OpaSetUp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  const std::optional<int> model = vs::TakeOpaIdentity(p.link, in.reply, in.commandLen, in.unitLen);
  if (model && (*model < 0 || *model > vs::kMcnOpaModel)) __builtin_trap();
  if (!p.link.InstrModel.empty() && p.link.InstrModel.back() == ' ') __builtin_trap();
  vs::fuzz::CheckText(p.link.InstrModel);
  return 0;
}
