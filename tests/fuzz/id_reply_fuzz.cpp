// Fuzz target: ParseIdReply on any bytes.
#include "link/ReplyParsers.h"
#include "link_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  vs::ParseIdReply(p.link, in.reply, in.commandLen, in.unitLen);
  for (const std::string* t : {&p.link.InstrMake, &p.link.InstrModel, &p.link.InstrHomologation,
                               &p.link.InstrSerial, &p.link.InstrExpiry, &p.link.InstrVersion}) {
    vs::fuzz::CheckText(*t);
  }
  return 0;
}
