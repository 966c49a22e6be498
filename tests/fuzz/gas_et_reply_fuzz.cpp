// Fuzz target: ParseGasEtReply on any bytes.
#include "link/ReplyParsers.h"
#include "link_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::Program& p = vs::fuzz::TheProgram();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  vs::ParseGasEtReply(p, in.reply, in.commandLen, in.unitLen);
  vs::fuzz::CheckText(p.link.McnEtDate);
  vs::fuzz::CheckText(p.link.McnEtTime);
  return 0;
}
