// Fuzz target: the engine-speed form's receive step on any bytes, after a request chosen by
// the control byte, with the poll's state carried from one input to the next.
#include "link/LinkState.h"
#include "link_fuzz.h"
#include "rpm/RpmPoll.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static vs::RpmPoll* poll = new vs::RpmPoll();
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  static constexpr const char* kCommands[] = {"CI", "TE", "VA", "VE", "TP", "ID", "", "VAX"};
  p.shell.RpmPollSelect = static_cast<std::int16_t>(in.commandLen);
  p.shell.RpmCylinders = static_cast<std::int16_t>(in.unitLen * 4);
  const vs::RpmRequest next = vs::NextRpmRequest(*poll, p.shell);
  vs::NoteRpmRequest(poll->exchange, p.link,
                     size > 0 ? kCommands[data[0] >> 5] : next.command.c_str());
  vs::TakeRpmInput(*poll, p.link, in.reply);
  vs::fuzz::CheckText(p.link.RpmReplyText1);
  vs::fuzz::CheckText(p.link.RpmReplyText2);
  return 0;
}
