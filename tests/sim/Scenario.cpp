#include "sim/Scenario.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <utility>

#include "sim/Instrument.h"

namespace vs::sim {
namespace {

std::vector<std::string> ReadingNames(Device device) {
  switch (device) {
    case Device::Gas:
      return {"co",      "cocorr", "co2", "hc",    "o2",      "lambda",
              "oiltemp", "rpm",    "nox", "hcraw", "pressure"};
    case Device::Opacimeter:
      return {"k", "n", "rpm", "oiltemp", "smoketemp", "celltemp", "supply"};
    case Device::EngineSpeed:
      return {"rpm", "oiltemp"};
  }
  return {};
}

bool IsReading(const std::string& item) {
  for (const Device d : {Device::Gas, Device::Opacimeter, Device::EngineSpeed}) {
    const auto names = ReadingNames(d);
    if (std::find(names.begin(), names.end(), item) != names.end()) return true;
  }
  return false;
}

[[noreturn]] void Fail(const Scenario& s, int line, const std::string& why) {
  throw ScenarioError(s.source + (line > 0 ? ":" + std::to_string(line) : "") + ": " + why);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

// The next blank-separated word, taken off the front of `rest`.
std::string_view Word(std::string_view& rest) {
  rest = Trim(rest);
  std::size_t n = 0;
  while (n < rest.size() && rest[n] != ' ' && rest[n] != '\t') ++n;
  const std::string_view w = rest.substr(0, n);
  rest.remove_prefix(n);
  return w;
}

std::optional<double> Number(std::string_view s) {
  double v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

bool Digits(std::string_view s, std::size_t n) {
  return s.size() == n &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<Moment> ParseMoment(std::string_view w) {
  if (w.size() > 1 && w[0] == '#') {
    const auto n = Number(w.substr(1));
    if (!n || *n < 1 || *n != static_cast<int>(*n)) return std::nullopt;
    return Moment::Request(static_cast<int>(*n));
  }
  double scale = 0;
  if (w.size() > 2 && w.substr(w.size() - 2) == "ms") {
    scale = 1;
    w.remove_suffix(2);
  } else if (w.size() > 1 && w.back() == 's') {
    scale = 1000;
    w.remove_suffix(1);
  }
  const auto n = Number(w);
  if (scale == 0 || !n || *n < 0) return std::nullopt;
  return Moment::Ms(*n * scale);
}

void ParsePoint(Scenario& s, std::string_view rest, int line) {
  const std::string_view when = Word(rest);
  const auto moment = ParseMoment(when);
  if (!moment) {
    Fail(s, line, "bad moment \"" + std::string(when) + "\" (want e.g. 250ms, 1.5s or #3)");
  }
  ScenarioPoint p;
  p.when = *moment;
  p.line = line;
  p.item = std::string(Word(rest));
  if (p.item.empty()) Fail(s, line, "missing item after the moment");
  if (p.item == "state") {
    p.text = std::string(Word(rest));
    if (p.text.empty() || !Trim(rest).empty()) Fail(s, line, "state wants one name");
  } else if (p.item == "param") {
    p.command = std::string(Word(rest));
    p.text = std::string(Word(rest));
    if (p.command.empty() || p.command.size() > 3 || !Digits(p.command, p.command.size()) ||
        p.text.empty() || !Trim(rest).empty()) {
      Fail(s, line, "param wants a number of up to three digits and a value");
    }
    p.command.insert(0, 3 - p.command.size(), '0');
  } else if (p.item == "leak") {
    p.text = std::string(Word(rest));
    const std::string date(Word(rest)), time(Word(rest));
    if ((p.text != "E" && p.text != "R" && p.text != "I") || !Trim(rest).empty() ||
        (!date.empty() && (!Digits(date, 8) || !Digits(time, 4))) ||
        (date.empty() && !time.empty())) {
      Fail(s, line, "leak wants E, R or I, then optionally DDMMYYYY and HHMM");
    }
    p.text += date + time;
  } else if (IsReading(p.item)) {
    const std::string_view v = Word(rest);
    const auto n = Number(v);
    if (!n || !Trim(rest).empty()) {
      Fail(s, line, "bad value \"" + std::string(v) + "\" for " + p.item + " (want a number)");
    }
    p.value = *n;
  } else {
    Fail(s, line, "unknown item \"" + p.item + "\"");
  }
  s.points.push_back(std::move(p));
}

}  // namespace

Scenario& Scenario::state(Moment when, std::string name) {
  points.push_back({when, "state", {}, std::move(name), 0, 0});
  return *this;
}

Scenario ParseScenario(std::string_view text, const std::string& fileName) {
  Scenario s;
  s.source = fileName;
  int line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t nl = text.find('\n');
    std::string_view rest = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    rest = Trim(rest);
    if (rest.empty() || rest[0] == '#') continue;
    const std::string_view key = Word(rest);
    if (key == "at") {
      ParsePoint(s, rest, line);
      continue;
    }
    const std::string_view v = Word(rest);
    if (v.empty() || !Trim(rest).empty()) {
      Fail(s, line, std::string(key) + " wants one value");
    }
    if (key == "device") {
      if (v == "gas") {
        s.device = Device::Gas;
      } else if (v == "opa") {
        s.device = Device::Opacimeter;
      } else if (v == "rpm") {
        s.device = Device::EngineSpeed;
      } else {
        Fail(s, line, "unknown device \"" + std::string(v) + "\" (gas, opa or rpm)");
      }
    } else if (key == "protocol") {
      if (v != "mctc" && v != "binary") {
        Fail(s, line, "unknown protocol \"" + std::string(v) + "\" (mctc or binary)");
      }
      s.protocol = v == "mctc" ? Protocol::Mctc : Protocol::Binary;
    } else if (key == "model") {
      const auto n = Number(v);
      if (!n || *n < 0 || *n > 9 || *n != static_cast<int>(*n)) {
        Fail(s, line, "bad model \"" + std::string(v) + "\"");
      }
      s.model = static_cast<int>(*n);
    } else if (key == "version") {
      s.version = std::string(v);
    } else {
      Fail(s, line, "unknown line \"" + std::string(key) + "\"");
    }
  }
  if (s.device) {
    CheckScenario(s, *s.device, s.protocol.value_or(Protocol::Mctc));
  }
  return s;
}

Scenario LoadScenario(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScenarioError(path + ": cannot be read");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return ParseScenario(text, path);
}

void CheckScenario(const Scenario& s, Device device, Protocol protocol) {
  const auto names = ReadingNames(device);
  std::map<std::string, const ScenarioPoint*> last;  // per item and command
  for (const ScenarioPoint& p : s.points) {
    const bool mctcOnly = p.item == "param" || p.item == "leak";
    if (mctcOnly && protocol != Protocol::Mctc) Fail(s, p.line, p.item + " is for MCTC-NET");
    if ((p.item == "leak" && device != Device::Gas) ||
        (p.item == "param" && device == Device::EngineSpeed)) {
      Fail(s, p.line, "this instrument has no " + p.item);
    }
    if (!mctcOnly && p.item != "state" &&
        std::find(names.begin(), names.end(), p.item) == names.end()) {
      Fail(s, p.line, "this instrument has no reading \"" + p.item + "\"");
    }
    const ScenarioPoint*& before = last[p.item + " " + p.command];
    if (before != nullptr) {
      if (before->when.kind != p.when.kind) {
        Fail(s, p.line, p.item + " mixes times and request numbers");
      }
      if (p.when.at < before->when.at) Fail(s, p.line, p.item + " goes back in time");
    }
    before = &p;
  }
}

}  // namespace vs::sim
