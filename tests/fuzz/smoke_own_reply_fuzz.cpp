// Fuzz target: the binary smoke link's reply step on any frame that passed the frame check,
// for every model; the request step after it, so that every state word it leaves is asked.
// The link's variables carry over from one input to the next, as they do between replies.
#include <string>

#include "link/OwnProtocolFrame.h"
#include "link_fuzz.h"
#include "smoke/OwnSmokeLink.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"

namespace {

struct SmokeRecords {
  vs::SmokeFormFields fields;
  vs::SmokeState smoke;
};

SmokeRecords& TheSmokeRecords() {
  static SmokeRecords* records = new SmokeRecords();
  return *records;
}

constexpr char kCommands[] = {'1', 'a', '#', '?', 'P', 'E', 'x'};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  SmokeRecords& s = TheSmokeRecords();
  if (size < 3) return 0;
  const auto model = static_cast<std::int16_t>(data[0] % 7);  // 5 and 6: not a binary model
  const char command = kCommands[data[1] % std::size(kCommands)];
  vs::smoke::LinkView view;
  view.testMode = static_cast<std::int16_t>(data[2] % 8);
  p.shell.ExternRpm = data[2] & 0x10 ? 1 : 0;
  p.shell.ExternOilTemp = data[2] & 0x20 ? 1 : 0;
  // A frame that passes the frame check: STX, address, ACK, echo, any, N, data, sum, ETX.
  const std::string_view body(reinterpret_cast<const char*>(data) + 3,
                              std::min<std::size_t>(size - 3, 250));
  std::string frame = {'\x02', 'Q', '\x06', command, '\0', static_cast<char>(body.size() + 2)};
  frame += body;
  frame += '\0';
  frame += '\x03';
  std::string check = frame;
  if (vs::CheckOwnProtocolReply(check, 'Q', static_cast<unsigned char>(command)) !=
      vs::OwnReplyCheck::Complete) {
    std::abort();
  }
  const auto out =
      vs::smoke::HandleOwnSmokeFrame(s.fields, p.link, s.smoke, p.shell, model, view, frame);
  for (const double v : s.fields.ChannelValues) {
    if (v < -1 || v > 32767) std::abort();
  }
  if (out.use == vs::smoke::OwnReplyUse::Dropped && out.valueReply) std::abort();
  vs::fuzz::CheckText(p.link.InstrSerial);
  vs::fuzz::CheckText(p.link.InstrExpiry);
  const auto step = vs::smoke::NextOwnSmokeRequests(s.fields, p.link, model);
  if (step.requests.size() > 2) std::abort();
  return 0;
}
