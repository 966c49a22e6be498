// Fuzz target: ParseOpaMeasureReply on any bytes.
#include "link/SmokeRpmReplies.h"
#include "link_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::Program& p = vs::fuzz::TheProgram();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  vs::ParseOpaMeasureReply(p, in.reply);
  vs::fuzz::CheckText(p.link.OpaValueText5);
  p.link.headless.portHints.clear();
  return 0;
}
