#include "sim/Instrument.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <tuple>
#include <utility>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "platform/core/EventLoop.h"
#include "platform/serial/MemoryDevice.h"

namespace vs::sim {
namespace {

std::string Join(std::initializer_list<std::string> fields) {
  std::string s;
  for (const std::string& f : fields) s += f + kEtb;
  return s.substr(0, s.size() - 1);
}

// A number as the instruments write it: "." and no more digits than needed.
std::string Num(double v) {
  char buf[32];
  return {buf, std::to_chars(buf, buf + sizeof buf, v).ptr};
}

std::string Padded(std::string s, std::size_t n) { return s.append(n, ' ').substr(0, n); }

}  // namespace

// A state's MCTC-NET status character, the binary gas analyser's status byte 7, the binary
// opacimeter's byte 7 for model 0, and bytes 7 and 8 for the others (-1: it has no such).
struct Instrument::State {
  std::string_view name;
  int mctc, gas, opa0, opa, opaError;
};

std::string MctcReply(std::string_view address, std::string_view command, std::string_view data,
                      std::string_view unit) {
  return BuildMctcNetFrame(address, command, unit, data);
}

std::string BinaryReply(int address, int command, std::string_view data) {
  std::string f = BuildOwnProtocolFrame(address, command, data);
  f[2] = kAck;
  f[f.size() - 2] = static_cast<char>(f[f.size() - 2] - kAck);
  return f;
}

Instrument::Instrument(Device device, Protocol protocol, int model)
    : device_(device), protocol_(protocol), model_(model) {
  setState(protocol == Protocol::Mctc ? "measuring" : "ready");
  if (device == Device::Gas && protocol == Protocol::Binary) identity.version = "5.4";
  if (device == Device::Gas) params["047"] = "0.512";
  if (device == Device::Opacimeter) params = {{"020", "00016"}, {"021", "00002"}};  // slide open
  fuelSettings = Join({"BENZINA", "CAT", "04", "4", "1.730", "0.000"});
}

const Instrument::State* Instrument::stateNamed(std::string_view name) const {
  static constexpr State kStates[] = {
      {"warmup", 'A', 2, 0x00, 0x10, 64},   {"standby", 'B', -1, -1, -1, 0},
      {"autozero", 'D', -1, 0x48, 0x40, 0}, {"measuring", 'H', 129, -1, -1, 0},
      {"calibration", -1, 65, -1, -1, 0},   {"ready", -1, 128, 0x80, 0x10, 0},
      {"error", -1, 32, 0xF0, 0x10, 16}};
  const bool mctc = protocol_ == Protocol::Mctc, isGas = device_ == Device::Gas;
  for (const State& s : kStates) {
    const int v = mctc ? s.mctc : isGas ? s.gas : model_ == 0 ? s.opa0 : s.opa;
    if (s.name == name && v >= 0) return &s;
  }
  return nullptr;
}

bool Instrument::setState(std::string_view name) {
  const State* s = stateNamed(name);
  if (s == nullptr) return false;
  state_ = s;
  zeroLeft_ = 0;
  return true;
}

void Instrument::zero(std::string_view during, std::string_view then) {
  setState(during);
  then_ = stateNamed(then);
  zeroLeft_ = std::max(1, autoZeroPolls);  // status replies
}

// A status request: the status before it; it may end an auto-zero.
std::string Instrument::poll() {
  const State& s = *state_;
  if (zeroLeft_ > 0 && --zeroLeft_ == 0) state_ = then_;
  if (protocol_ == Protocol::Mctc) return std::string(1, static_cast<char>(s.mctc));
  if (device_ == Device::Gas) return {static_cast<char>(s.gas), fuel_, 0, 0, 0};
  return {static_cast<char>(model_ == 0 ? s.opa0 : s.opa),
          static_cast<char>(model_ == 0 ? 0 : s.opaError), 16, 0, static_cast<char>(200)};
}

double* Instrument::reading(std::string_view name) {
  GasReadings& g = gas;
  OpaReadings& o = opa;
  std::map<std::string_view, double*> names{{"rpm", &rpm.rpm}, {"oiltemp", &rpm.oilTemp}};
  if (device_ == Device::Gas)
    names = {{"co", &g.co}, {"cocorr", &g.coCorr}, {"co2", &g.co2},         {"hc", &g.hc},
             {"o2", &g.o2}, {"lambda", &g.lambda}, {"oiltemp", &g.oilTemp}, {"rpm", &g.rpm}};
  if (device_ == Device::Opacimeter)
    names = {{"k", &o.k}, {"n", &o.n}, {"rpm", &o.rpm}, {"celltemp", &o.cellTemp}};
  return names.contains(name) ? names.at(name) : nullptr;
}

void Instrument::play(const Scenario& scenario) {
  tracks_.clear();
  passed_.clear();
  for (const ScenarioPoint& p : scenario.points) {
    const bool has = p.item == "state" ? stateNamed(p.text) != nullptr
                     : p.item.starts_with("param")
                         ? protocol_ == Protocol::Mctc && device_ != Device::EngineSpeed
                         : reading(p.item) != nullptr;
    const std::string what = "\"" + p.item + (p.item == "state" ? " " + p.text : "") + "\"";
    if (!has) ScenarioFail(scenario, p.line, "this instrument has no " + what);
    std::vector<ScenarioPoint>& track = tracks_[p.item];
    if (!track.empty() &&
        (track.back().when.kind != p.when.kind || p.when.at < track.back().when.at)) {
      ScenarioFail(scenario, p.line, what + " mixes kinds of moment or goes back in time");
    }
    track.push_back(p);
  }
  startMs_.reset();
}

void Instrument::applyScenario() {
  const std::int64_t now = clockMs ? clockMs() : 0;
  if (!startMs_) startMs_ = now;
  for (const auto& [item, points] : tracks_) {
    const double at = points.front().when.kind == Moment::Kind::Millis
                          ? static_cast<double>(now - *startMs_)
                          : static_cast<double>(requests.size());
    // The last point at or before the moment; before the first one the item is left alone.
    std::size_t i = 0;
    while (i < points.size() && points[i].when.at <= at) ++i;
    if (i == 0) continue;
    const ScenarioPoint& p = points[i - 1];
    if (double* value = reading(item)) {
      *value = p.value;
      if (i < points.size()) {  // on the way to the next point
        const ScenarioPoint& next = points[i];
        *value += (next.value - p.value) * (at - p.when.at) / (next.when.at - p.when.at);
      }
    } else if (std::exchange(passed_[item], i) != i) {
      // Any other item changes only when its point is reached, so that the commands the
      // instrument gets in between can move it on.
      if (item == "state") setState(p.text);
      if (item != "state") params[item.substr(6)] = p.text;  // "param NNN"
    }
  }
}

// MCTC-NET: "GAS", "OPA" or "RPM"; binary: the address byte in decimal.
std::string Instrument::address() const {
  const int byte = device_ == Device::Gas ? (model_ == 2 ? 33 : 49) : (model_ == 0 ? 81 : 65);
  return protocol_ == Protocol::Mctc ? std::array{"GAS", "OPA", "RPM"}[static_cast<int>(device_)]
                                     : std::to_string(byte);
}

void Instrument::take(const std::string& to, const Request& r) {
  if (onRequest) onRequest(to, r);
  if (to != address()) return;
  requests.push_back(r);
  applyScenario();
  if (silent || !send) return;
  const std::string out = replyTo(r);
  const std::size_t step = (out.size() + std::max(1, splitInto) - 1) / std::max(1, splitInto);
  for (std::size_t at = 0; at < out.size(); at += step) send(out.substr(at, step));
}

void Instrument::received(std::string_view bytes) {
  inbox_ += bytes;
  for (;;) {
    inbox_.erase(0, std::min(inbox_.find(kStx), inbox_.size()));
    const bool mctc = protocol_ == Protocol::Mctc;
    // MCTC-NET: STX address ETB unit ETB command [ETB data] checksum ETX. Binary: STX
    // address 0 command 0 LEN data checksum ETX.
    std::size_t total = mctc                ? inbox_.find(kEtx) + 1
                        : inbox_.size() < 6 ? 0
                                            : static_cast<unsigned char>(inbox_[5]) + 6u;
    if (total == 0 || inbox_.size() < total) return;
    const std::string frame = inbox_.substr(0, total);
    int sum = 0;
    for (std::size_t i = 0; i + 1 < total; ++i) sum += static_cast<unsigned char>(frame[i]);
    const std::size_t a = frame.find(kEtb), u = frame.find(kEtb, a + 1),
                      d = frame.find(kEtb, u + 1);
    const bool whole =
        mctc ? total >= 9 && u != std::string::npos &&
                   ComputeMctcNetChecksum(frame.substr(0, total - 3)) == frame.substr(total - 3)
             : total >= 8 && frame.back() == kEtx && sum % 256 == 0;
    inbox_.erase(0, whole || mctc ? total : 1);  // else: look for the next STX
    if (whole && mctc) {
      take(frame.substr(1, a - 1), {frame.substr(u + 1, std::min(d, total - 3) - u - 1),
                                    d < total - 3 ? frame.substr(d + 1, total - 4 - d) : ""});
    } else if (whole) {
      take(std::to_string(static_cast<unsigned char>(frame[1])),
           {std::string(1, frame[3]), frame.substr(6, total - 8)});
    }
  }
}

std::string Instrument::replyTo(const Request& request) {
  if (protocol_ == Protocol::Mctc) return MctcReply(address(), request.command, mctcData(request));
  return BinaryReply(std::stoi(address()), static_cast<unsigned char>(request.command.at(0)),
                     binaryData(request));
}

std::string Instrument::mctcData(const Request& request) {
  const std::string& c = request.command;
  const char leak = leakLeft_ > 0 ? 'E' : 'R';  // a leak test's last "ET" still sees it running
  // The clock "@SD" set (DDMMYYYY ETB HHMMSS) as DDMMYYYYHHMM.
  const std::string now = Padded(
      clockSet.substr(0, 8) + clockSet.substr(std::min<std::size_t>(9, clockSet.size()), 4), 12);
  // Commands move the instrument on whether or not a fixed reply stands for them.
  if (c == "AZ") zero("autozero", "measuring");
  if (c == "SB") setState(state_->name == "standby" ? "measuring" : "standby");
  if (c == "TT") leakLeft_ = 3;
  if (c == "HC") hcLeft_ = 2;
  if (c == "@SD") clockSet = request.data;
  if (c == "@SA") fuelSettings = request.data;
  const bool hcRunning = c == "EH" && hcLeft_ > 0 && hcLeft_-- > 0;
  const std::string status = c == "ST" || c == "@ST" ? poll() : "";
  if (c == "ET" && leakLeft_ > 0 && --leakLeft_ == 0) {  // the record is made now
    leakDate = now.substr(0, 8);
    leakTime = now.substr(8);
  }

  if (const auto it = fixed_.find(c); it != fixed_.end()) return it->second;
  const Identity& i = identity;
  const GasReadings& g = gas;
  const OpaReadings& o = opa;
  const std::string lu =
      std::string(3 - std::min<std::size_t>(3, request.data.size()), '0') + request.data;
  if (!status.empty()) return status;
  if (c == "ID") {
    return Join({i.make, i.model, i.homologation, i.serial, i.expiry, i.version, i.field7});
  }
  if (c == "@RS") return {static_cast<char>(0x80 | (rsCode1 & 0x7F)), kEtb, '\x80'};
  if (c == "@LU") return Join({params.contains(lu) ? params[lu] : "00000", lu});
  if (c == "@VA" && device_ == Device::Gas) {
    return Join({Num(g.co), Num(g.coCorr), Num(g.co2), Num(g.hc), Num(g.o2), Num(g.lambda),
                 Num(g.oilTemp), Num(g.rpm), Num(g.nox)});
  }
  if (c == "@VA") {
    return Join({Num(o.k), Num(o.n), Num(o.rpm), Num(o.oilTemp), Num(o.smokeTemp), Num(o.cellTemp),
                 Num(o.field7)});
  }
  if (c == "@LA") return fuelSettings;
  if (c == "@LI") return params["047"];
  if (c == "@LS") return Num(g.pressure);
  if (c == "EH") return hcRunning ? "E" : "R";
  if (c == "ET") {
    return Join({std::string(1, leak), leakDate.empty() ? now.substr(0, 8) : leakDate,
                 leakTime.empty() ? now.substr(8) : leakTime});
  }
  if (c == "@RD") return Join({"0", "0", "0", "0", "0", Num(o.supplyMillivolts)});
  if (c == "VA" || c == "TP") return Num(c == "VA" ? rpm.rpm : rpm.oilTemp);
  if (c == "VE") return Join({Num(rpm.rpm), Num(rpm.oilTemp)});
  return {};  // an acknowledgement: the echo without data
}

// A binary record: channel, 0, then the value in 24 bits (16 bits: the high byte 0); out
// of range: the high byte 255 (16 bits), bit 18 (24 bits).
std::string Instrument::record(int channel) const {
  using Row = std::tuple<Device, int, double, double, bool>;  // channel, value, scale, 24 bits
  const GasReadings& g = gas;
  const OpaReadings& o = opa;
  const bool m2 = model_ == 2;  // its own channel numbers
  const int oil = m2 ? 3 : 10, raw = m2 ? 9 : 18, hc = m2 ? -1 : 13, la = m2 ? 11 : 14;
  const int rp = m2 ? 8 : 12;
  constexpr Device G = Device::Gas, O = Device::Opacimeter;
  const Row rows[] = {
      {G, oil, g.oilTemp, 1000, true}, {G, raw, g.hcRaw, 1, true}, {G, hc, g.hc, 1, true},
      {G, la, g.lambda, 1000, false},  {G, rp, g.rpm, 1, false},   {G, 7, g.co, 1000, false},
      {G, 6, g.co2, 1000, false},      {G, 5, g.hc, 1, false},     {G, 2, g.o2, 1000, false},
      {O, 0, o.smokeTemp, 1, false},   {O, 1, o.n, 10, false},     {O, 5, o.cellTemp, 1, false},
      {O, 6, o.oilTemp, 1, false},     {O, 7, o.k, 100, false},    {O, 8, o.rpm, 1, false}};
  double value = 0, scale = 1;
  bool wide = false;
  for (const auto& [d, ch, v, s, w] : rows) {
    if (d == device_ && ch == channel) std::tie(value, scale, wide) = std::tie(v, s, w);
  }
  const long n = value < 0 ? (wide ? 0x040000 : 0xFF00)
                           : std::min(std::lround(value * scale), wide ? 0xFFFFFFL : 0xFFFFL);
  return {static_cast<char>(channel), 0, static_cast<char>(n >> 16), static_cast<char>(n >> 8),
          static_cast<char>(n)};
}

std::string Instrument::binaryData(const Request& request) {
  const char c = request.command.at(0);
  const bool gasDevice = device_ == Device::Gas;
  const Identity& i = identity;
  if (c == '#') channelList = request.data;
  if (c == '&' && gasDevice && !request.data.empty()) fuel_ = request.data[0];
  // Gas analyser: calibration, then measuring; opacimeter: auto-zero, then ready.
  if (c == 'E') zero(gasDevice ? "calibration" : "autozero", gasDevice ? "measuring" : "ready");
  if (c == '$' && gasDevice) setState("ready");
  if (c == '?') return poll();
  std::string d;
  if (c == 'P') {
    // The channels of the last list, in its order; the model's list before any.
    const bool extendedHc = i.version.size() >= 3 && i.version[0] >= '5' && i.version[2] >= '4';
    const std::string list = channelList.size() > 1 ? channelList
                             : gasDevice            ? GasChannelList(model_, extendedHc)
                                                    : OpaChannelList();
    for (const char ch : list.substr(1)) d += record(static_cast<unsigned char>(ch));
    return d;
  }
  // Gas: bytes 8-15 the serial, 17-18 the P.E.F., 22-23 the version's digits; opacimeter:
  // bytes 8-13 six characters of the serial.
  const std::string v = i.version + "000";
  if (c == '1' && gasDevice) {
    return " " + Padded(i.serial, 8) + " " + static_cast<char>(i.pef >> 8) +
           static_cast<char>(i.pef & 0xFF) + std::string(3, '\0') + v[0] + v[2];
  }
  if (c == '1') return " " + Padded(i.serial.substr(std::min<std::size_t>(2, i.serial.size())), 6);
  // The expiry DDMMYY: gas bytes 13-18 one digit value per byte; opacimeter 7-12 digits.
  const std::string& e = i.expiry;
  const std::string ddmmyy =
      Padded(e.substr(0, 4) + e.substr(std::min<std::size_t>(6, e.size())), 6);
  if (c == '.' && gasDevice) {
    for (const char ch : ddmmyy) d += ch >= '0' && ch <= '9' ? ch - '0' : 0;
    return std::string(6, '\0') + d;
  }
  if (c == 'a' && !gasDevice) return ddmmyy;
  return {};
}

void Attach(Instrument& instrument, const std::shared_ptr<plat::MemoryDevice>& device,
            plat::EventLoop* loop) {
  std::weak_ptr<plat::MemoryDevice> weak = device;
  instrument.send = [&instrument, weak, loop](std::string_view bytes) {
    const auto send = [weak, data = std::string(bytes)] {
      if (const auto d = weak.lock()) d->send(data);
    };
    if (loop == nullptr || instrument.replyDelayMs <= 0) return send();
    auto id = std::make_shared<plat::EventLoop::TimerId>();
    *id = loop->startTimer(instrument.replyDelayMs, [loop, id, send] {
      loop->stopTimer(*id);
      send();
    });
  };
  if (loop != nullptr && !instrument.clockMs)
    instrument.clockMs = [loop] { return static_cast<std::int64_t>(loop->now()); };
  device->onWrite = [&instrument](std::string_view bytes) { instrument.received(bytes); };
}

}  // namespace vs::sim
