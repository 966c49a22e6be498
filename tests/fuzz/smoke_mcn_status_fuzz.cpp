// Fuzz target: the MCTC-NET smoke link's reply step on any accepted frame: the echo picks
// the handling ("ST", "@ST", "@RS", "@LU", "@RD", "@VA", "ID" ...), the rest is the frame.
// The link's variables carry over from one input to the next, as they do between replies.
#include <string>

#include "link_fuzz.h"
#include "smoke/McnSmokeLink.h"
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

constexpr const char* kEchoes[] = {"ST", "@ST", "@RS", "@LU", "@RD", "@VA", "ID", "AZ", "SB", "XX"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::fuzz::Records& p = vs::fuzz::TheRecords();
  SmokeRecords& s = TheSmokeRecords();
  if (size < 4) return 0;
  const std::string echo = kEchoes[data[0] % std::size(kEchoes)];
  vs::smoke::LinkView view;
  view.testMode = static_cast<std::int16_t>(data[1] % 8);
  view.accIndex = data[2] % 11;
  view.label30Back = (data[2] & 0x80) ? 0xFFu : 0xFFFFFFu;
  const vs::fuzz::Input in = vs::fuzz::Take(data + 2, size - 2);
  p.link.McnCommand = echo;
  p.link.McnCommandLen = static_cast<std::int16_t>(echo.size());
  // The data text as the collector cuts it: everything after the header up to the checksum.
  const std::size_t header = 7 + static_cast<std::size_t>(in.unitLen) + echo.size();
  const std::string_view frame = in.reply;
  const std::string_view dataText =
      frame.size() > header + 3 ? frame.substr(header, frame.size() - header - 3) : "";
  const auto out = vs::smoke::HandleMcnSmokeFrame(s.fields, p.link, s.smoke, p.shell, view, frame,
                                                  echo, dataText);
  if (s.smoke.OpaMcnStatus < 0 || s.smoke.OpaMcnStatus > 31) std::abort();
  if (out.display.label29.caption) vs::fuzz::CheckText(*out.display.label29.caption);
  vs::fuzz::CheckText(p.link.OpaLuStatus1);
  vs::fuzz::CheckText(p.link.OpaLuStatus2);
  if (s.fields.AutoZeroStatusCount > 3) std::abort();  // counted up to four, then back to 0
  return 0;
}
