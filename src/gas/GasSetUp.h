#pragma once
// What the gas-analyser set-up decides on the records: the model list and what a model
// fixes, the port it opens, and the model an identification names.
#include <array>
#include <cstdint>
#include <string_view>

namespace vs {

struct ShellState;
struct LinkState;
struct GasState;

// The model list, list index = model code: three analysers of the maker's binary protocol,
// then the MCTC-NET one.
inline constexpr std::array<const char*, 4> kGasModelNames{"KYMRA410", "KYMRA420", "KYMRA530",
                                                           "KYMRA TOPAZ"};
inline constexpr int kMcnGasModel = 3;

constexpr bool IsGasModel(int index) { return index >= 0 && index <= 3; }

// A stored port number the station cannot have (outside 1 to 16) opens as port 1.
std::int16_t PortOrFirst(int port);

// What a model fixes: models 0 and 1 the binary protocol (comMode 1) at address 49, model 2
// at address 33, model 3 MCTC-NET (comMode 2; the address stays). Any other index (no
// selection) nothing.
void SetGasModelLink(int index, GasState& g, std::int16_t& comMode);

// GasModelIndex := index, then what the model fixes into GasComMode.
void ChooseGasModel(ShellState& s, GasState& g, int index);

struct IdentifiedModel {
  bool parsed = false;  // the reply held a whole identity
  int modelIndex = kMcnGasModel;
  std::int16_t comMode = 2;
};

// Parses an "ID" reply into the identity slot, drops the blanks at the end of the model,
// and names the model from its first 12 characters (case counts): "KYMRAGAS-410", "-420",
// "-530" the binary analysers, anything else the MCTC-NET one.
IdentifiedModel TakeGasIdentity(LinkState& l, std::string_view reply, int commandLen, int unitLen);

}  // namespace vs
