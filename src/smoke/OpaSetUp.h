#pragma once
// What the opacimeter set-up decides on the records: the model list and what a model fixes,
// and the model an identification names.
#include <array>
#include <optional>
#include <string_view>

namespace vs {

struct ShellState;
struct LinkState;
struct SmokeState;

// The model list, list index = model code: five opacimeters of the maker's binary protocol,
// then the MCTC-NET one.
inline constexpr std::array<const char*, 6> kOpaModelNames{
    "OPA-264", "OPA-735", "OPA-735/HD", "OPA-735/HDF", "OPA-735/HF", "OPA ONYX"};
inline constexpr int kMcnOpaModel = 5;

// OpaModelIndex := index, then what the model fixes: model 0 the binary protocol at address
// 81, models 1 to 4 at address 65, model 5 MCTC-NET (the address stays). Any other index (no
// selection) nothing more.
void ChooseOpaModel(ShellState& s, SmokeState& m, LinkState& l, int index);

// Parses an "ID" reply into the identity slot, drops the blanks at the end of the model and
// names the model whose identity it is, exactly as the instrument writes it ("OPA-150" for
// the MCTC-NET one); nothing for any other model.
std::optional<int> TakeOpaIdentity(LinkState& l, std::string_view reply, int commandLen,
                                   int unitLen);

}  // namespace vs
