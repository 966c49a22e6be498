#pragma once
// Simulated instruments: gas analyser and opacimeter (MCTC-NET, or binary: gas models 0 to
// 2, opacimeter 0 to 4), engine-speed counter (MCTC-NET). One answers the requests addressed
// to it as the instrument would, the bytes coming in any pieces; commands move it on, and so
// does a Scenario. In a form test, Attach it to the port's device; else see vantoscope-sim.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Scenario.h"

namespace plat {
class EventLoop;
class MemoryDevice;
}  // namespace plat

namespace vs::sim {

enum class Device { Gas, Opacimeter, EngineSpeed };
enum class Protocol { Mctc, Binary };

struct Identity {
  std::string make = "KARVESTON", model = "TOPAZ", homologation = "OM-4711", serial = "AQ123456";
  std::string expiry = "31122030", version = "1.5", field7 = "0";  // DDMMYYYY; digit.digit
  int pef = 512;                                                   // binary gas analyser
};

// -1 stands for a value the instrument flags as out of range.
struct GasReadings {
  double co = 0.12, coCorr = 0.10, co2 = 14.5, hc = 120, o2 = 0.8, lambda = 1.002;
  double oilTemp = 85, rpm = 850, nox = 40;
  double hcRaw = 0x3FFFFF, pressure = 0;  // binary extended-range HC (24 bits); "@LS" mbar
};

struct OpaReadings {
  double k = 0.35, n = 14.1, rpm = 800, oilTemp = 80, smokeTemp = 95, cellTemp = 75;
  double field7 = 0, supplyMillivolts = 12600;  // "@VA" field 7, "@RD" field 6
};

struct RpmReadings {
  double rpm = 850, oilTemp = 80;
};

struct Request {
  std::string command, data;  // binary: the command byte as one character, the data bytes
};

class Instrument {
 public:
  Instrument(Device device, Protocol protocol, int model = 0);
  Protocol protocol() const { return protocol_; }

  std::function<void(std::string_view bytes)> send;  // where replies go
  void received(std::string_view bytes);

  Identity identity;
  GasReadings gas;
  OpaReadings opa;
  RpmReadings rpm;
  // MCTC-NET warmup, standby, autozero, measuring; binary gas analyser warmup, calibration,
  // ready, measuring, error; binary opacimeter warmup, autozero, ready, error; else false.
  bool setState(std::string_view name);
  int autoZeroPolls = 2, rsCode1 = 0;  // status replies in auto-zero after "AZ" or 'E'; "@RS"
  std::map<std::string, std::string> params;  // "@LU" values by three-digit number
  // The last leak check ("ET"; empty: the clock set). "TT": "E" for three "ET", then "R".
  std::string leakDate, leakTime;  // DDMMYYYY, HHMM
  // What the program sent: "@SD" (the clock), "@SA" (the fuel, also "@LA"), the binary '#'.
  std::string clockSet, fuelSettings, channelList;

  // A fixed MCTC-NET data text (fields joined by ETB) for a command.
  void setReply(std::string_view command, std::string data) { fixed_[std::string(command)] = data; }

  void play(const Scenario& scenario);    // throws ScenarioError for a point that does not fit
  std::function<std::int64_t()> clockMs;  // scenario times; Attach with a loop uses its clock

  bool silent = false;                  // answers nothing
  int splitInto = 1, replyDelayMs = 0;  // writes a reply takes; with a loop, ms it comes later

  // Every well-formed request on the line (address: text, or the binary byte in decimal)...
  std::function<void(std::string_view address, const Request& request)> onRequest;
  std::vector<Request> requests;  // ... and those addressed to it.

  std::string replyTo(const Request& request);  // the reply (empty: none); commands act

 private:
  struct State;
  const State* stateNamed(std::string_view name) const;
  void zero(std::string_view during, std::string_view then);
  std::string poll();
  double* reading(std::string_view name);
  std::string address() const;
  void take(const std::string& to, const Request& r);
  void applyScenario();
  std::string mctcData(const Request& request);
  std::string binaryData(const Request& request);
  std::string record(int channel) const;

  Device device_;
  Protocol protocol_;
  int model_;
  std::string inbox_;
  std::map<std::string, std::string> fixed_;
  const State *state_ = nullptr, *then_ = nullptr;
  int zeroLeft_ = 0, leakLeft_ = 0, hcLeft_ = 0;
  char fuel_ = 3;
  std::map<std::string, std::vector<ScenarioPoint>> tracks_;  // the points of each item
  std::map<std::string, std::size_t> passed_;                 // per item: points applied
  std::optional<std::int64_t> startMs_;
};

// With a loop, replyDelayMs works. The instrument must outlive the device's use.
void Attach(Instrument& instrument, const std::shared_ptr<plat::MemoryDevice>& device,
            plat::EventLoop* loop = nullptr);

// STX, address, ETB, unit, ETB, command, [ETB data], checksum, ETX.
std::string MctcReply(std::string_view address, std::string_view command, std::string_view data,
                      std::string_view unit = "1");
// STX, address, ACK, command, 0, N, data, checksum, ETX.
std::string BinaryReply(int address, int command, std::string_view data);

}  // namespace vs::sim
