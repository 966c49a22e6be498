#pragma once
// Program-wide state of the engine-speed form: nothing yet beyond what the link and the
// shell hold.
namespace vs {

struct RpmState {};

}  // namespace vs
