#pragma once
// What a simulated instrument does over a run: points "from this moment (a time since the
// first request after play(), or a request count from 1), this item has this value". A
// reading moves in a straight line between its points; a state or parameter is set when its
// point is reached and holds until a command moves it on. Text, one line each ('#': comment):
//   device gas                   gas | opa | rpm; protocol mctc | binary; model 5
//   at 1.5s rpm 2500             a reading: gas co cocorr co2 hc o2 lambda oiltemp rpm,
//   at #12 k 1.25                opacimeter k n rpm celltemp, counter rpm oiltemp (#12: from
//   at 0ms state warmup          the 12th request on); a state (Instrument::setState); an
//   at 0ms param 020 00032       MCTC-NET "@LU" value. One kind of moment an item, in order.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vs::sim {

enum class Device;
enum class Protocol;

class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Moment {
  enum class Kind { Millis, Request } kind = Kind::Millis;
  double at = 0;
  static Moment Request(int n) { return {Kind::Request, static_cast<double>(n)}; }
};

struct ScenarioPoint {
  Moment when;
  std::string item, text;  // a reading, "state" or "param NNN"; the state's name or the value
  double value = 0;        // readings
  int line = 0;            // in the file; 0 for points made in code
};

struct Scenario {
  std::string source = "scenario";  // the file name, for messages
  std::optional<Device> device;
  std::optional<Protocol> protocol;
  std::optional<int> model;
  std::vector<ScenarioPoint> points;

  Scenario& state(Moment when, std::string name) {
    points.push_back({when, "state", std::move(name)});
    return *this;
  }
};

// A bad line throws ScenarioError "<file>:<line>: <reason>", as ScenarioFail does.
Scenario ParseScenario(std::string_view text, const std::string& fileName);
[[noreturn]] void ScenarioFail(const Scenario& s, int line, const std::string& why);

}  // namespace vs::sim
