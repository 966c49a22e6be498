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

// "250ms", "1.5s" or "#3".
std::optional<Moment> ParseMoment(std::string_view w) {
  const bool request = w.starts_with('#'), ms = w.ends_with("ms");
  const auto n = Number(w.substr(request ? 1 : 0, w.size() - (request ? 1 : ms ? 2 : 1)));
  if (!n || (request ? *n < 1 || *n != static_cast<int>(*n) : *n < 0 || !w.ends_with('s'))) {
    return std::nullopt;
  }
  return request ? Moment::Request(static_cast<int>(*n))
                 : Moment{Moment::Kind::Millis, *n * (ms ? 1 : 1000)};
}

// at MOMENT ITEM VALUE...
ScenarioPoint ParsePoint(const Scenario& s, const std::vector<std::string>& w, int line) {
  ScenarioPoint p{{}, w.size() > 2 ? w[2] : "", w.size() > 3 ? w[3] : "", 0, line};
  const auto moment = ParseMoment(w[1]);
  const std::size_t want = p.item == "param" ? 5 : p.item == "leak" && w.size() == 6 ? 6 : 4;
  const auto value = Number(p.text);
  const bool reading = p.item != "state" && p.item != "param" && p.item != "leak";
  if (!moment || w.size() != want || (reading && !value)) {
    ScenarioFail(s, line,
                 "bad point (want at 250ms|1.5s|#3 and: READING NUMBER, state NAME, param "
                 "NUMBER VALUE, or leak E|R|I [DDMMYYYY HHMM])");
  }
  p.when = *moment;
  p.value = value.value_or(0);
  if (p.item == "param") {
    p.item += " " + std::string(3 - std::min<std::size_t>(3, p.text.size()), '0') + p.text;
    p.text = w[4];
  }
  if (want == 6) p.text += w[4] + w[5];
  return p;
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
    if (w.empty() || w[0][0] == '#') continue;
    if (w[0] == "at") {
      s.points.push_back(ParsePoint(s, w, line));
      continue;
    }
    const std::string& v = w.size() == 2 ? w[1] : "";
    const auto n = Number(v);
    if (w[0] == "device" && (v == "gas" || v == "opa" || v == "rpm")) {
      s.device = v == "gas" ? Device::Gas : v == "opa" ? Device::Opacimeter : Device::EngineSpeed;
    } else if (w[0] == "protocol" && (v == "mctc" || v == "binary")) {
      s.protocol = v == "mctc" ? Protocol::Mctc : Protocol::Binary;
    } else if (w[0] == "model" && n && *n >= 0 && *n == static_cast<int>(*n)) {
      s.model = static_cast<int>(*n);
    } else if (w[0] == "version" && !v.empty()) {
      s.version = v;
    } else {
      ScenarioFail(s, line,
                   "bad line (want device gas|opa|rpm, protocol mctc|binary, model N, "
                   "version V or at ...)");
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
