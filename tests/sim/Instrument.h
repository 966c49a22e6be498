#pragma once
// Simulated instruments: a gas analyser and an opacimeter, each in MCTC-NET or in the
// maker's binary protocol, and an engine-speed counter in MCTC-NET. An instrument takes
// the bytes the program writes (in any pieces), recognises whole requests addressed to
// it, and answers them as the instrument would: identity, status, readings, and the
// commands that move it on (auto-zero, stand-by, start and stop of a measurement, the
// leak and HC residue tests, the clock and the fuel settings it is sent). It can stay
// silent, split a reply over several writes, or answer late.
//
// A scenario (Scenario.h) makes it move: states, parameters and readings that change over
// time or per request. A command the program sends changes the state at once; the
// scenario's next point changes it again.
//
// In a form test, in-process: make the instrument the form expects, Attach it to the
// in-memory serial device of the form's port with the program's event loop (its manual
// clock then drives scenario times and replyDelayMs), optionally play() a Scenario built
// in code or loaded with LoadScenario, and advance the clock:
//   gas test form, MCTC-NET     Instrument(Device::Gas, Protocol::Mctc)
//   gas test form, binary       Instrument(Device::Gas, Protocol::Binary, model 0 to 2)
//   smoke test form, MCTC-NET   Instrument(Device::Opacimeter, Protocol::Mctc, 5)
//   smoke test form, binary     Instrument(Device::Opacimeter, Protocol::Binary, model 0 to 4)
//   engine-speed form           Instrument(Device::EngineSpeed, Protocol::Mctc)
// setState() or the public fields script it directly; `requests`, `clockSet`,
// `fuelSettings`, `cylinders`, `strokes` and `channelList` show what the form sent.
//
// On a pseudo-terminal (e2e tests, or by hand), the same five:
//   vantoscope-sim --device gas|opa|rpm --protocol mctc|binary --model N
//                  --scenario tests/sim/scenarios/<file>.scn --pty --link <station>/COM<n>
// prints "pty <slave>", points the station's COM<n> at it and prints each request it
// sees; a scenario file may name device, protocol, model and version itself
// (sim_main.cpp has the other options).
#include <array>
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
  std::string make = "KARVESTON";
  std::string model = "TOPAZ";
  std::string homologation = "OM-4711";
  std::string serial = "AQ123456";
  std::string expiry = "31122030";  // DDMMYYYY
  std::string version = "1.5";      // binary gas analyser: digit "." digit
  std::string field7 = "0";
  int pef = 512;  // binary gas analyser
};

// -1 stands for a value the instrument flags as out of range.
struct GasReadings {
  double co = 0.12, coCorr = 0.10, co2 = 14.5, hc = 120, o2 = 0.8, lambda = 1.002;
  double oilTemp = 85, rpm = 850, nox = 40;
  double hcRaw = 0x3FFFFF;  // binary: the extended-range HC channel, 24 bits
  double pressure = 0;      // MCTC-NET "@LS": the leak test's pressure in mbar
};

struct OpaReadings {
  double k = 0.35, n = 14.1, rpm = 800, oilTemp = 80, smokeTemp = 95, cellTemp = 75;
  double field7 = 0;
  double supplyMillivolts = 12600;  // "@RD" field 6
};

struct RpmReadings {
  double rpm = 850, oilTemp = 80;
};

// One request as the instrument understood it.
struct Request {
  std::string command;  // MCTC-NET command, or the binary command byte as one character
  std::string data;     // data text (ETB-separated fields) or data bytes
};

class Instrument {
 public:
  Instrument(Device device, Protocol protocol, int model = 0);

  Device device() const { return device_; }
  Protocol protocol() const { return protocol_; }
  int model() const { return model_; }
  std::string address() const;  // "GAS", "OPA" or "RPM"
  int addressByte() const;      // binary: 49 or 33 (gas), 81 or 65 (opacimeter)

  // The line: where replies go, and the bytes the program wrote.
  std::function<void(std::string_view bytes)> send;
  void received(std::string_view bytes);

  // What it answers.
  Identity identity;
  GasReadings gas;
  OpaReadings opa;
  RpmReadings rpm;
  char mctcStatus = 'H';                       // "ST"/"@ST": 0x40 + 1 warm-up, 2 stand-by,
                                               // 4 auto-zero, 8 measuring
  std::array<std::uint8_t, 5> binaryStatus{};  // "?" reply, bytes 7 to 11
  // Sets a named state: MCTC-NET warmup, standby, autozero, measuring; binary gas
  // analyser warmup (2), calibration (65), ready (128), measuring (129), error (32); binary
  // opacimeter warmup, autozero, ready, error. False, and nothing changes, for a name this
  // instrument does not have.
  bool setState(std::string_view name);
  // Status replies that report auto-zero after "AZ" or 'E' (the gas analyser's
  // calibration), before measuring or ready.
  int autoZeroPolls = 2;
  // MCTC-NET: "@RS" codes (sent with the top bit set, so that no code is a control
  // byte), and the "@LU" values by parameter number.
  int rsCode1 = 0, rsCode2 = 0;
  std::map<std::string, std::string> params;
  // The gas analyser's leak check for "ET": flag and when it was made (DDMMYYYY, HHMM;
  // empty: the instrument's clock at the request). "TT" runs a test: "E" for three "ET"
  // requests, then "R" made at that moment. "HC" runs the HC residue test: "EH" answers
  // "E" twice, then "R".
  char leakFlag = 'R';
  std::string leakDate, leakTime;
  // What the program told it: "@SD" data (the clock: DDMMYYYY ETB HHMMSS), "@SA" data
  // (also what "@LA" answers), "CI" and "TE" data, the last '#' channel list (count first).
  std::string clockSet;
  std::string fuelSettings;
  std::string cylinders, strokes;
  std::string channelList;

  // A fixed MCTC-NET data text (fields joined by ETB) for a command, replacing what the
  // instrument would compute.
  void setReply(std::string_view command, std::string data);
  void clearReplies();

  // Plays a scenario from now on: before each request addressed to it is answered, every
  // item of the scenario takes its value for that moment (times count from the first
  // request after this call). Throws ScenarioError when the scenario does not fit.
  void play(const Scenario& scenario);
  // The clock of scenario times in milliseconds; Attach with a loop uses the loop's.
  std::function<std::int64_t()> clockMs;

  // Misbehaviour, applied to every reply from now on.
  bool silent = false;   // answers nothing
  int splitInto = 1;     // a reply goes out in this many writes
  int replyDelayMs = 0;  // on a device attached with a loop: answer this much later

  // What it saw: every well-formed request on the line, also those to other devices
  // (address: the text, or the binary address byte in decimal) ...
  std::function<void(std::string_view address, const Request& request)> onRequest;
  // ... and the requests addressed to it.
  std::vector<Request> requests;

  // The reply it would send to a request (empty when it has none); a command that moves
  // the instrument on takes effect.
  std::string replyTo(const Request& request);

 private:
  void applyScenario();
  void applyPoint(const ScenarioPoint& p);
  double* reading(const std::string& name);
  void handleMctc();
  void handleBinary();
  void answer(const Request& request);
  std::string mctcData(const Request& request);
  std::string binaryData(const Request& request);
  std::string gasRecord(int channel) const;
  std::string opaRecord(int channel) const;
  std::string clockNow() const;  // DDMMYYYY HHMM
  bool extendedHcFirmware() const;

  Device device_;
  Protocol protocol_;
  int model_;
  std::string inbox_;
  std::map<std::string, std::string> mctcReplies_;
  std::vector<std::vector<ScenarioPoint>> tracks_;  // the points of each item, in order
  std::vector<std::size_t> applied_;                // per track: points passed so far
  std::optional<std::int64_t> startMs_;
  int autoZeroLeft_ = 0, leakLeft_ = 0, hcLeft_ = 0;
  std::optional<std::int64_t> clockSetAtMs_;
};

// Puts the instrument on an in-memory serial device: what the program writes reaches it,
// its replies reach the program through the event loop. With a loop, replyDelayMs works.
// The instrument must outlive the device's use.
void Attach(Instrument& instrument, const std::shared_ptr<plat::MemoryDevice>& device,
            plat::EventLoop* loop = nullptr);

// MCTC-NET reply frame: STX, address, ETB, unit, ETB, command, [ETB, data], checksum, ETX.
std::string MctcReply(std::string_view address, std::string_view command, std::string_view data,
                      std::string_view unit = "1");
// Binary reply frame: STX, address, ACK, command, 0, N, data, checksum, ETX.
std::string BinaryReply(int address, int command, std::string_view data);

}  // namespace vs::sim
