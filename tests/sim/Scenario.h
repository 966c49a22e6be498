#pragma once
// What a simulated instrument does over a run: points "from this moment, this item has this
// value". A moment is a time since the first request after play() or a number of requests
// received (the first is 1). A reading moves in a straight line between its points; any
// other item is set when its point is reached and holds until a command moves it on. Before
// an item's first point the instrument keeps its own value. Text, one line each:
//
//   # comment                      blank lines are ignored too
//   device gas                     gas | opa | rpm
//   protocol mctc                  mctc | binary
//   model 5
//   at 1.5s rpm 2500               a reading ("." as decimal point) from 1.5 s on
//   at #12 k 1.25                  from the 12th request on
//   at 0ms state warmup            Instrument::setState
//   at 0ms param 020 00032         MCTC-NET "@LU" value
//
// Readings: gas co cocorr co2 hc o2 lambda oiltemp rpm; opacimeter k n rpm oiltemp
// smoketemp celltemp; engine-speed counter rpm oiltemp. The points of one item use one kind
// of moment, in time order.
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
  enum class Kind { Millis, Request };
  Kind kind = Kind::Millis;
  double at = 0;

  static Moment Request(int n) { return {Kind::Request, static_cast<double>(n)}; }
};

struct ScenarioPoint {
  Moment when;
  std::string item;  // a reading, "state" or "param NNN"
  std::string text;  // state: the name; param: the value
  double value = 0;  // readings
  int line = 0;      // in the file; 0 for points made in code
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
Scenario LoadScenario(const std::string& path);
[[noreturn]] void ScenarioFail(const Scenario& s, int line, const std::string& why);

}  // namespace vs::sim
