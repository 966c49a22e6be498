#pragma once
// Scenarios: what a simulated instrument does over a run. A scenario is a list of points,
// each saying "from this moment, this item has this value": a reading, a state, a
// parameter or the leak check. A moment is
// either a time since the instrument's first request or the number of requests it has
// received (the first request is number 1). Between two points of the same reading the
// value moves in a straight line (an engine revved from idle to 2500 rpm over a second);
// every other item is set when its point is reached, and what a command does to it
// afterwards ("AZ", "SB", 'E' ...) holds until the item's next point. Before an item's first
// point the instrument keeps its own value; after the last point the last value stays.
//
// The same model is built in code (Scenario::state) or read from a text file:
//
//   # a comment line; blank lines are ignored
//   device gas                       gas | opa | rpm (the instrument it is written for)
//   protocol mctc                    mctc | binary
//   model 5                          the instrument model
//   at 1.5s rpm 2500                 a reading (names below), "." as decimal point
//   at #12 k 1.25                    from the 12th request on
//   at 0ms state warmup              a named state (Instrument::setState), any protocol
//   at 0ms param 020 00032           MCTC-NET "@LU" value of a parameter
//   at 0ms leak I 30012026 1435      the gas analyser's leak check ("ET"): E, R or I, and
//                                    when it was made (left out: at the request)
//   version 1.4                      the firmware version it reports
//
// Readings: gas co, cocorr, co2, hc, o2, lambda, oiltemp, rpm, nox, hcraw (binary, the
// extended-range HC channel), pressure (the leak test's, mbar); opacimeter k, n, rpm,
// oiltemp, smoketemp, celltemp, supply (mV); engine-speed counter rpm, oiltemp. The points
// of one item use one kind of moment and come in time order. A file that breaks a rule is
// refused with a message naming the file and the line.
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

  static Moment Ms(double ms) { return {Kind::Millis, ms}; }
  static Moment Request(int n) { return {Kind::Request, static_cast<double>(n)}; }
};

struct ScenarioPoint {
  Moment when;
  std::string item;     // a reading name, or one of the items above
  std::string command;  // param: the number
  std::string text;     // state: the name; param: the value; leak: flag, date and time
  double value = 0;     // readings
  int line = 0;         // the line of the file; 0 for points made in code
};

struct Scenario {
  std::string source = "scenario";  // the file name, for messages
  std::optional<Device> device;
  std::optional<Protocol> protocol;
  std::optional<int> model;
  std::optional<std::string> version;
  std::vector<ScenarioPoint> points;

  Scenario& state(Moment when, std::string name);
};

// Reads a scenario; a bad line throws ScenarioError "<file>:<line>: <reason>".
Scenario ParseScenario(std::string_view text, const std::string& fileName);
Scenario LoadScenario(const std::string& path);

// Throws ScenarioError naming the first point that does not fit the instrument: an item it
// does not have, moments of two kinds or out of order within one item. (Instrument::play
// also checks the state names against the model.)
void CheckScenario(const Scenario& scenario, Device device, Protocol protocol);

}  // namespace vs::sim
