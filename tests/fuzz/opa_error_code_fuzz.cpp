// Fuzz target: ShowOpaErrorCode on any code text.
#include "link/SmokeRpmReplies.h"
#include "link_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vs::Program& p = vs::fuzz::TheProgram();
  const vs::fuzz::Input in = vs::fuzz::Take(data, size);
  vs::ShowOpaErrorCode(p, in.reply);
  p.link.headless.critics.clear();
  p.link.headless.smokeTimerSettings.clear();
  return 0;
}
