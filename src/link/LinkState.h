#pragma once
// Program-wide state of the instrument link: the exchange bookkeeping shared by the
// senders, the collector and the parsers, and the readings the parsers write.
#include <string>

namespace vs {

struct LinkState {};

}  // namespace vs
