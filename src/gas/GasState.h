#pragma once
// Program-wide state of the gas test: nothing yet beyond what the link and the shell hold.
namespace vs {

struct GasState {};

}  // namespace vs
