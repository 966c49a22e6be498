#include "smoke/SeriesTypes.h"

#include "shell/LimitRule.h"

namespace vs::smoke {

bool IsWarm(double cellTemp) { return Above(cellTemp, 70.0); }

bool StartGateOpen(const ValueReply& reply) {
  const std::string& s2 = reply.luStatus2;
  return s2 == "00000" || s2 == "00001" || (s2 == "00002" && reply.luStatus1 == "00016");
}

}  // namespace vs::smoke
