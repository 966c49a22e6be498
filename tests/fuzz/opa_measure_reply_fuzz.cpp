// Fuzz target: ParseOpaMeasureReply on any bytes.
#include "link/SmokeRpmReplies.h"
#include "link_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  (void)vs::ParseOpaMeasureReply(p.link, p.shell, in.reply);
  vs::fuzz::CheckText(p.link.OpaValueText5);
  return 0;
}
