#include "link/ExternalRpmReading.h"

#include "link/LinkState.h"
#include "shell/ShellState.h"

namespace vs {

EngineReadings EngineReadingsForTest(const ShellState& s, const LinkState& l, EngineReadings own) {
  if (s.ExternRpm == 1) own.rpm = l.RpmCounterRpm;
  if (s.ExternOilTemp == 1) own.oilTemp = l.RpmCounterOilTemp;
  return own;
}

}  // namespace vs
