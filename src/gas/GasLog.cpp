#include "gas/GasLog.h"

#include <initializer_list>

#include "platform/text/TextFile.h"

namespace vs {

std::string FormatGasLogLine(const GasLogLine& v, const std::string& dateTime,
                             const std::string& serial) {
  std::string line;
  for (const std::string* field :
       {&v.co, &v.co2, &v.hc, &v.o2, &v.nox, &v.coCorr, &v.lambda, &v.rpm, &v.oilTemp, &dateTime}) {
    line += plat::OneLine(*field);
    line += '\t';
  }
  return line + plat::OneLine(serial) + ' ';
}

std::string AppendGasLog(const std::filesystem::path& programFolder, const GasLogLine& v,
                         const std::string& dateTime, const std::string& serial) {
  const plat::FileResult r = plat::AppendTextLines((programFolder / kGasLogName).string(),
                                                   {FormatGasLogLine(v, dateTime, serial)});
  return r ? std::string() : r.reason;
}

}  // namespace vs
