#include "link/RecognitionReport.h"

#include "link/LinkState.h"

namespace vs {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kGap = "   ";  // between the parts of an identity

}  // namespace

std::string IdentityLine(const LinkState& l) {
  return l.InstrMake + kGap + l.InstrModel + kGap + l.InstrSerial + kGap + l.InstrVersion;
}

std::string RecognitionReport(std::span<const std::string> results) {
  std::string report;
  for (std::size_t n = 1; n < results.size(); ++n) {
    const std::string& r = results[n];
    const std::string com = "Com" + std::to_string(n);
    if (r == "0") continue;
    if (r == "1") {
      report += com + " no connect" + kCrLf;
    } else {
      report += com + kGap + r + kCrLf;
    }
  }
  return report;
}

}  // namespace vs
