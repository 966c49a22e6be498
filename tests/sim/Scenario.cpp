#include "sim/Scenario.h"

#include <charconv>
#include <iterator>
#include <sstream>

#include "sim/Instrument.h"

namespace vs::sim {
namespace {

std::optional<double> Number(std::string_view s) {
  double v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

void ScenarioFail(const Scenario& s, int line, const std::string& why) {
  throw ScenarioError(s.source + (line > 0 ? ":" + std::to_string(line) : "") + ": " + why);
}

Scenario ParseScenario(std::string_view text, const std::string& fileName) {
  Scenario s;
  s.source = fileName;
  std::istringstream in{std::string(text)};
  int line = 1;
  for (std::string l; std::getline(in, l); ++line) {
    std::istringstream words(l);
    std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
    const std::size_t count = w.size();
    if (w.empty() || w[0][0] == '#') continue;
    w.resize(5);
    const std::string &key = w[0], &v = w[1], &item = w[2];
    const auto n = Number(v);
    // at MOMENT (250ms, 1.5s or #3) ITEM: a reading and a number, state and a name, or param,
    // a number and a value.
    const bool request = v.starts_with('#'), ms = v.ends_with("ms");
    const auto at = Number(std::string_view(v).substr(request, v.size() - (ms ? 2 : 1)));
    const auto value = Number(w[3]);
    const bool momentOk =
        at && (request ? *at >= 1 && *at == static_cast<int>(*at) : *at >= 0 && v.ends_with('s'));
    const bool reading = item != "state" && item != "param";
    if (key == "at" && momentOk && count == (item == "param" ? 5u : 4u) && (value || !reading)) {
      const Moment when{request ? Moment::Kind::Request : Moment::Kind::Millis,
                        *at * (request || ms ? 1 : 1000)};
      const std::string number = std::string(3 - std::min<std::size_t>(3, w[3].size()), '0') + w[3];
      s.points.push_back(item == "param"
                             ? ScenarioPoint{when, "param " + number, w[4], 0, line}
                             : ScenarioPoint{when, item, w[3], value.value_or(0), line});
    } else if (key == "device" && count == 2 && (v == "gas" || v == "opa" || v == "rpm")) {
      s.device = v == "gas" ? Device::Gas : v == "opa" ? Device::Opacimeter : Device::EngineSpeed;
    } else if (key == "protocol" && count == 2 && (v == "mctc" || v == "binary")) {
      s.protocol = v == "mctc" ? Protocol::Mctc : Protocol::Binary;
    } else if (key == "model" && count == 2 && n && *n >= 0 && *n == static_cast<int>(*n)) {
      s.model = static_cast<int>(*n);
    } else {
      ScenarioFail(s, line,
                   "bad line (want device gas|opa|rpm, protocol mctc|binary, model N, or at "
                   "250ms|1.5s|#3 and: READING NUMBER, state NAME or param NUMBER VALUE)");
    }
  }
  return s;
}

}  // namespace vs::sim
