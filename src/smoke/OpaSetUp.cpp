#include "smoke/OpaSetUp.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/LinkState.h"
#include "link/ReplyParsers.h"
#include "shell/ShellState.h"
#include "smoke/SmokeState.h"

namespace vs {

namespace {

// The model each opacimeter names in its identity, by model code.
constexpr std::array<std::string_view, 6> kIdentityModels{"OPA-264",     "OPA-735",    "OPA-735/HD",
                                                          "OPA-735/HDF", "OPA-735/HF", "OPA-150"};

}  // namespace

void ChooseOpaModel(ShellState& s, SmokeState& m, LinkState& l, int index) {
  s.OpaModelIndex = static_cast<std::int16_t>(index);
  if (index == 0) {
    m.OpaDeviceAddress = 81;
    l.ActiveComMode = 1;
  } else if (index >= 1 && index <= 4) {
    m.OpaDeviceAddress = 65;
    l.ActiveComMode = 1;
  } else if (index == kMcnOpaModel) {
    l.ActiveComMode = 2;
  }
}

std::optional<int> TakeOpaIdentity(LinkState& l, std::string_view reply, int commandLen,
                                   int unitLen) {
  ParseIdReply(l, reply, commandLen, unitLen);
  std::string& model = l.InstrModel;
  model.erase(model.find_last_not_of(' ') + 1);
  for (std::size_t i = 0; i < kIdentityModels.size(); ++i)
    if (model == kIdentityModels[i]) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace vs
