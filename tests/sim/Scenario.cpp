#include "sim/Scenario.h"

#include <charconv>
#include <fstream>
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

// at MOMENT ITEM VALUE...: MOMENT 250ms, 1.5s or #3; then a reading and a number, state and
// a name, or param, a number and a value.
ScenarioPoint ParsePoint(const Scenario& s, std::vector<std::string> w, int line) {
  const std::size_t words = w.size();
  w.resize(5);
  const std::string& m = w[1];
  const bool request = m.starts_with('#'), ms = m.ends_with("ms");
  const auto at = Number(std::string_view(m).substr(request, m.size() - (ms ? 2 : 1)));
  const auto value = Number(w[3]);
  const std::string& item = w[2];
  const bool reading = item != "state" && item != "param";
  if (!at || (request ? *at < 1 || *at != static_cast<int>(*at) : *at < 0 || !m.ends_with('s')) ||
      words != (item == "param" ? 5u : 4u) || (reading && !value)) {
    ScenarioFail(s, line,
                 "bad point (want at 250ms|1.5s|#3 and: READING NUMBER, state NAME or param "
                 "NUMBER VALUE)");
  }
  const Moment when{request ? Moment::Kind::Request : Moment::Kind::Millis,
                    *at * (request || ms ? 1 : 1000)};
  if (item == "param") {
    return {when, "param " + std::string(3 - std::min<std::size_t>(3, w[3].size()), '0') + w[3],
            w[4], 0, line};
  }
  return {when, item, w[3], value.value_or(0), line};
}

}  // namespace

void ScenarioFail(const Scenario& s, int line, const std::string& why) {
  throw ScenarioError(s.source + (line > 0 ? ":" + std::to_string(line) : "") + ": " + why);
}

Scenario ParseScenario(std::string_view text, const std::string& fileName) {
  Scenario s;
  s.source = fileName;
  std::istringstream in{std::string(text)};
  int line = 0;
  for (std::string l; std::getline(in, l);) {
    ++line;
    std::istringstream words(l);
    const std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
    const std::string v = w.size() == 2 ? w[1] : "";
    const auto n = Number(v);
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "at") {
      s.points.push_back(ParsePoint(s, w, line));
    } else if (w[0] == "device" && (v == "gas" || v == "opa" || v == "rpm")) {
      s.device = v == "gas" ? Device::Gas : v == "opa" ? Device::Opacimeter : Device::EngineSpeed;
    } else if (w[0] == "protocol" && (v == "mctc" || v == "binary")) {
      s.protocol = v == "mctc" ? Protocol::Mctc : Protocol::Binary;
    } else if (w[0] == "model" && n && *n >= 0 && *n == static_cast<int>(*n)) {
      s.model = static_cast<int>(*n);
    } else {
      ScenarioFail(s, line,
                   "bad line (want device gas|opa|rpm, protocol mctc|binary, model N or at)");
    }
  }
  return s;
}

Scenario LoadScenario(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScenarioError(path + ": cannot be read");
  return ParseScenario(std::string(std::istreambuf_iterator<char>(in), {}), path);
}

}  // namespace vs::sim
