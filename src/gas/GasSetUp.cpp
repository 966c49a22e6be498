#include "gas/GasSetUp.h"

#include <string>

#include "gas/GasState.h"
#include "link/LinkState.h"
#include "link/ReplyParsers.h"
#include "shell/ShellState.h"

namespace vs {

std::int16_t PortOrFirst(int port) {
  return port >= 1 && port <= 16 ? static_cast<std::int16_t>(port) : std::int16_t{1};
}

void SetGasModelLink(int index, GasState& g, std::int16_t& comMode) {
  switch (index) {
    case 0:
    case 1:
      g.GasDeviceAddress = 49;
      comMode = 1;
      break;
    case 2:
      g.GasDeviceAddress = 33;
      comMode = 1;
      break;
    case kMcnGasModel:
      comMode = 2;
      break;
    default:
      break;
  }
}

void ChooseGasModel(ShellState& s, GasState& g, int index) {
  s.GasModelIndex = static_cast<std::int16_t>(index);
  SetGasModelLink(index, g, s.GasComMode);
}

IdentifiedModel TakeGasIdentity(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  IdentifiedModel out;
  out.parsed = ParseIdReply(l, reply, commandLen, unitLen);
  std::string& model = l.InstrModel;
  model.erase(model.find_last_not_of(' ') + 1);
  if (!out.parsed) return out;
  const std::string head = model.substr(0, 12);
  static constexpr std::array<const char*, 3> kBinaryModels{"KYMRAGAS-410", "KYMRAGAS-420",
                                                            "KYMRAGAS-530"};
  for (std::size_t i = 0; i < kBinaryModels.size(); ++i) {
    if (head == kBinaryModels[i]) {
      out.modelIndex = static_cast<int>(i);
      out.comMode = 1;
    }
  }
  return out;
}

}  // namespace vs
