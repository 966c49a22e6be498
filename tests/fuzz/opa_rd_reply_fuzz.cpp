// Fuzz target: ParseOpaRdReply on any bytes.
#include "link/SmokeRpmReplies.h"
#include "link_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  (void)vs::ParseOpaRdReply(p.link, p.shell, in.reply);
  return 0;
}
