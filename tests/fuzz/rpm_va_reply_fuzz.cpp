// Fuzz target: ParseRpmVaReply on any bytes.
#include "link/SmokeRpmReplies.h"
#include "link_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  vs::ParseRpmVaReply(p.link, in.reply, in.commandLen, in.unitLen);
  vs::fuzz::CheckText(p.link.RpmReplyText1);
  return 0;
}
