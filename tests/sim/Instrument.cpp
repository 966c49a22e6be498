#include "sim/Instrument.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <utility>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "platform/core/EventLoop.h"
#include "platform/serial/MemoryDevice.h"

namespace vs::sim {
namespace {

std::string Join(std::initializer_list<std::string> fields) {
  std::string s;
  bool first = true;
  for (const std::string& f : fields) {
    if (!first) s += kEtb;
    s += f;
    first = false;
  }
  return s;
}

// Big-endian value bytes; a negative value is the out-of-range mark (high byte 255).
void Put16(std::string& s, double v) {
  if (v < 0) {
    s += '\xFF';
    s += '\0';
    return;
  }
  const auto n = static_cast<std::uint32_t>(std::min(std::lround(v), 65535L));
  s += static_cast<char>(n >> 8);
  s += static_cast<char>(n & 0xFF);
}

void Put24(std::string& s, std::uint32_t n) {
  s += static_cast<char>((n >> 16) & 0xFF);
  s += static_cast<char>((n >> 8) & 0xFF);
  s += static_cast<char>(n & 0xFF);
}

std::uint32_t Scaled(double v, double scale) {
  return static_cast<std::uint32_t>(std::max(0L, std::lround(v * scale)));
}

// A 16-bit record: channel, two unused bytes, high, low.
std::string Record16(int channel, double v) {
  std::string r{static_cast<char>(channel), 0, 0};
  Put16(r, v);
  return r;
}

std::string Record24(int channel, std::uint32_t v) {
  std::string r{static_cast<char>(channel), 0};
  Put24(r, v);
  return r;
}

std::string Padded(std::string s, std::size_t n) {
  s.resize(n, ' ');
  return s;
}

// Numbers as the instruments write them: "." and no more digits than needed.
std::string FormatField(double v) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

}  // namespace

std::string MctcReply(std::string_view address, std::string_view command, std::string_view data,
                      std::string_view unit) {
  return BuildMctcNetFrame(address, command, unit, data);
}

std::string BinaryReply(int address, int command, std::string_view data) {
  std::string f{kStx, static_cast<char>(address),        kAck, static_cast<char>(command),
                0,    static_cast<char>(data.size() + 2)};
  f += data;
  int sum = 0;
  for (const char c : f) sum += static_cast<unsigned char>(c);
  f += static_cast<char>((256 - sum % 256) % 256);
  f += kEtx;
  return f;
}

Instrument::Instrument(Device device, Protocol protocol, int model)
    : device_(device), protocol_(protocol), model_(model) {
  if (device == Device::Gas) {
    binaryStatus = {128, 3, 0, 0, 0};  // ready, petrol with catalyst
  } else {
    binaryStatus = model == 0 ? std::array<std::uint8_t, 5>{0x80, 0, 16, 0, 200}
                              : std::array<std::uint8_t, 5>{0x10, 0, 16, 0, 200};
  }
  if (device == Device::Gas && protocol == Protocol::Binary) identity.version = "5.4";
  if (device == Device::Gas) {
    params["047"] = "0.512";
    fuelSettings = Join({"BENZINA", "CAT", "04", "4", "1.730", "0.000"});
  }
  if (device == Device::Opacimeter) {
    params["020"] = "00016";  // slide open
    params["021"] = "00002";
  }
}

bool Instrument::setState(std::string_view name) {
  if (protocol_ == Protocol::Mctc) {
    if (device_ == Device::EngineSpeed) return false;
    static constexpr std::pair<std::string_view, char> kStates[] = {
        {"warmup", 'A'}, {"standby", 'B'}, {"autozero", 'D'}, {"measuring", 'H'}};
    for (const auto& [n, c] : kStates) {
      if (n == name) {
        mctcStatus = c;
        autoZeroLeft_ = 0;
        return true;
      }
    }
    return false;
  }
  if (device_ == Device::Gas) {
    static constexpr std::pair<std::string_view, std::uint8_t> kStates[] = {
        {"warmup", 2}, {"calibration", 65}, {"ready", 128}, {"measuring", 129}, {"error", 32}};
    for (const auto& [n, b] : kStates) {
      if (n == name) {
        binaryStatus[0] = b;
        autoZeroLeft_ = 0;
        return true;
      }
    }
    return false;
  }
  // Opacimeter: S7 state, S8 error bits, S9 options (16: ready for 'E'), S10, S11.
  using Bytes = std::array<std::uint8_t, 5>;
  std::optional<Bytes> b;
  if (model_ == 0) {
    if (name == "warmup") b = Bytes{0x00, 0, 16, 0, 200};
    if (name == "autozero") b = Bytes{0x48, 0, 16, 0, 200};
    if (name == "ready") b = Bytes{0x80, 0, 16, 0, 200};
    if (name == "error") b = Bytes{0xF0, 0, 16, 0, 200};
  } else {
    if (name == "warmup") b = Bytes{0x10, 64, 16, 0, 200};  // ready, warming up
    if (name == "autozero") b = Bytes{0x40, 0, 16, 0, 200};
    if (name == "ready") b = Bytes{0x10, 0, 16, 0, 200};
    if (name == "error") b = Bytes{0x10, 16, 16, 0, 200};  // the error of bit 16
  }
  if (!b) return false;
  binaryStatus = *b;
  autoZeroLeft_ = 0;
  return true;
}

std::string Instrument::address() const {
  switch (device_) {
    case Device::Gas:
      return "GAS";
    case Device::Opacimeter:
      return "OPA";
    case Device::EngineSpeed:
      return "RPM";
  }
  return {};
}

int Instrument::addressByte() const {
  if (device_ == Device::Gas) return model_ == 2 ? 33 : 49;
  return model_ == 0 ? 81 : 65;
}

void Instrument::setReply(std::string_view command, std::string data) {
  mctcReplies_[std::string(command)] = std::move(data);
}

void Instrument::clearReplies() { mctcReplies_.clear(); }

void Instrument::play(const Scenario& scenario) {
  CheckScenario(scenario, device_, protocol_);
  for (const ScenarioPoint& p : scenario.points) {
    if (p.item != "state") continue;
    Instrument probe(device_, protocol_, model_);
    if (!probe.setState(p.text)) {
      throw ScenarioError(scenario.source + (p.line > 0 ? ":" + std::to_string(p.line) : "") +
                          ": this instrument has no state \"" + p.text + "\"");
    }
  }
  if (scenario.version) identity.version = *scenario.version;
  tracks_.clear();
  std::map<std::string, std::size_t> index;
  for (const ScenarioPoint& p : scenario.points) {
    const auto [it, added] = index.emplace(p.item + " " + p.command, tracks_.size());
    if (added) tracks_.emplace_back();
    tracks_[it->second].push_back(p);
  }
  applied_.assign(tracks_.size(), 0);
  startMs_.reset();
}

double* Instrument::reading(const std::string& name) {
  switch (device_) {
    case Device::Gas: {
      GasReadings& g = gas;
      const std::map<std::string, double*> m{
          {"co", &g.co},   {"cocorr", &g.coCorr}, {"co2", &g.co2},          {"hc", &g.hc},
          {"o2", &g.o2},   {"lambda", &g.lambda}, {"oiltemp", &g.oilTemp},  {"rpm", &g.rpm},
          {"nox", &g.nox}, {"hcraw", &g.hcRaw},   {"pressure", &g.pressure}};
      const auto it = m.find(name);
      return it == m.end() ? nullptr : it->second;
    }
    case Device::Opacimeter: {
      OpaReadings& o = opa;
      const std::map<std::string, double*> m{{"k", &o.k},
                                             {"n", &o.n},
                                             {"rpm", &o.rpm},
                                             {"oiltemp", &o.oilTemp},
                                             {"smoketemp", &o.smokeTemp},
                                             {"celltemp", &o.cellTemp},
                                             {"supply", &o.supplyMillivolts}};
      const auto it = m.find(name);
      return it == m.end() ? nullptr : it->second;
    }
    case Device::EngineSpeed:
      if (name == "rpm") return &rpm.rpm;
      if (name == "oiltemp") return &rpm.oilTemp;
      return nullptr;
  }
  return nullptr;
}

void Instrument::applyScenario() {
  if (tracks_.empty()) return;
  const std::int64_t now = clockMs ? clockMs() : 0;
  if (!startMs_) startMs_ = now;
  const double elapsed = static_cast<double>(now - *startMs_);
  const double count = static_cast<double>(requests.size());
  for (std::size_t t = 0; t < tracks_.size(); ++t) {
    const std::vector<ScenarioPoint>& track = tracks_[t];
    const double at = track.front().when.kind == Moment::Kind::Millis ? elapsed : count;
    // The last point at or before the moment; before the first one the item is left alone.
    std::size_t i = 0;
    while (i < track.size() && track[i].when.at <= at) ++i;
    if (i == 0) continue;
    const ScenarioPoint& p = track[i - 1];
    if (double* value = reading(p.item)) {
      *value = p.value;
      if (i < track.size()) {  // on the way to the next point
        const ScenarioPoint& next = track[i];
        *value += (next.value - p.value) * (at - p.when.at) / (next.when.at - p.when.at);
      }
      continue;
    }
    // Any other item changes only when its point is reached, so that the commands the
    // instrument gets in between can move it on.
    if (applied_[t] == i) continue;
    applied_[t] = i;
    applyPoint(p);
  }
}

void Instrument::applyPoint(const ScenarioPoint& p) {
  if (p.item == "state") {
    setState(p.text);
  } else if (p.item == "param") {
    params[p.command] = p.text;
  } else if (p.item == "leak") {
    leakFlag = p.text.at(0);
    leakDate = p.text.size() >= 13 ? p.text.substr(1, 8) : "";
    leakTime = p.text.size() >= 13 ? p.text.substr(9, 4) : "";
    leakLeft_ = 0;
  }
}

void Instrument::received(std::string_view bytes) {
  inbox_ += bytes;
  if (protocol_ == Protocol::Mctc) {
    handleMctc();
  } else {
    handleBinary();
  }
}

// Requests: STX address ETB unit ETB command [ETB data] checksum ETX.
void Instrument::handleMctc() {
  for (;;) {
    const std::size_t start = inbox_.find(kStx);
    if (start == std::string::npos) {
      inbox_.clear();
      return;
    }
    const std::size_t end = inbox_.find(kEtx, start);
    if (end == std::string::npos) {
      inbox_.erase(0, start);
      return;
    }
    const std::string frame = inbox_.substr(start, end - start + 1);
    inbox_.erase(0, end + 1);
    if (frame.size() < 9 || ComputeMctcNetChecksum(frame.substr(0, frame.size() - 3)) !=
                                frame.substr(frame.size() - 3)) {
      continue;
    }
    const std::string body = frame.substr(1, frame.size() - 4);
    std::vector<std::string> parts;
    std::size_t pos = 0;
    for (;;) {
      const std::size_t etb = body.find(kEtb, pos);
      if (etb == std::string::npos || parts.size() == 3) {
        parts.push_back(body.substr(pos));
        break;
      }
      parts.push_back(body.substr(pos, etb - pos));
      pos = etb + 1;
    }
    if (parts.size() < 3) continue;
    Request r{parts[2], parts.size() > 3 ? parts[3] : std::string()};
    if (onRequest) onRequest(parts[0], r);
    if (parts[0] != address()) continue;  // another device's request
    requests.push_back(r);
    applyScenario();
    answer(r);
  }
}

// Requests: STX address 0 command 0 LEN data checksum ETX.
void Instrument::handleBinary() {
  for (;;) {
    const std::size_t start = inbox_.find(kStx);
    if (start == std::string::npos) {
      inbox_.clear();
      return;
    }
    inbox_.erase(0, start);
    if (inbox_.size() < 6) return;
    const std::size_t total = static_cast<unsigned char>(inbox_[5]) + std::size_t{6};
    if (inbox_.size() < total) return;
    const std::string frame = inbox_.substr(0, total);
    int sum = 0;
    for (std::size_t i = 0; i + 1 < total; ++i) sum += static_cast<unsigned char>(frame[i]);
    if (total < 8 || frame.back() != kEtx || sum % 256 != 0) {
      inbox_.erase(0, 1);  // look for the next STX
      continue;
    }
    inbox_.erase(0, total);
    const int to = static_cast<unsigned char>(frame[1]);
    Request r{std::string(1, frame[3]), frame.substr(6, total - 8)};
    if (onRequest) onRequest(std::to_string(to), r);
    if (to != addressByte()) continue;
    requests.push_back(r);
    applyScenario();
    answer(r);
  }
}

void Instrument::answer(const Request& request) {
  if (silent) return;
  const std::string out = replyTo(request);
  if (out.empty() || !send) return;
  const std::size_t pieces = static_cast<std::size_t>(std::max(1, splitInto));
  const std::size_t step = std::max<std::size_t>(1, (out.size() + pieces - 1) / pieces);
  for (std::size_t at = 0; at < out.size(); at += step) send(out.substr(at, step));
}

std::string Instrument::replyTo(const Request& request) {
  if (protocol_ == Protocol::Mctc) {
    return MctcReply(address(), request.command, mctcData(request));
  }
  const int command = static_cast<unsigned char>(request.command.at(0));
  return BinaryReply(addressByte(), command, binaryData(request));
}

std::string Instrument::clockNow() const {
  using namespace std::chrono;
  const std::int64_t nowMs = clockMs ? clockMs() : 0;
  sys_seconds t = floor<seconds>(system_clock::now());
  if (clockSetAtMs_) {
    // The clock "@SD" set, moved on by the time since.
    const auto digits = [&](std::size_t at, std::size_t n) {
      int v = 0;
      for (std::size_t k = at; k < at + n && k < clockSet.size(); ++k) {
        if (clockSet[k] >= '0' && clockSet[k] <= '9') v = v * 10 + (clockSet[k] - '0');
      }
      return v;
    };
    const year_month_day ymd{year{digits(4, 4)}, month{static_cast<unsigned>(digits(2, 2))},
                             day{static_cast<unsigned>(digits(0, 2))}};
    t = sys_days{ymd} + hours{digits(9, 2)} + minutes{digits(11, 2)} + seconds{digits(13, 2)} +
        floor<seconds>(milliseconds{nowMs - *clockSetAtMs_});
  }
  const auto dayStart = floor<days>(t);
  const year_month_day ymd{dayStart};
  const hh_mm_ss hms{t - dayStart};
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02u%02u%04d%02d%02d", static_cast<unsigned>(ymd.day()),
                static_cast<unsigned>(ymd.month()), static_cast<int>(ymd.year()),
                static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()));
  return buf;
}

std::string Instrument::mctcData(const Request& request) {
  const std::string& command = request.command;
  // Commands move the instrument on whether or not a fixed reply stands for them.
  if (command == "AZ") {
    mctcStatus = 'D';
    autoZeroLeft_ = std::max(1, autoZeroPolls);
  } else if (command == "SB") {
    mctcStatus = mctcStatus == 'B' ? 'H' : 'B';  // in stand-by it wakes up
    autoZeroLeft_ = 0;
  } else if (command == "TT" && device_ == Device::Gas) {
    leakFlag = 'E';
    leakLeft_ = 3;
  } else if (command == "HC" && device_ == Device::Gas) {
    hcLeft_ = 2;
  } else if (command == "@SD") {
    clockSet = request.data;
    clockSetAtMs_ = clockMs ? clockMs() : 0;
  } else if (command == "@SA") {
    fuelSettings = request.data;
  } else if (command == "CI") {
    cylinders = request.data;
  } else if (command == "TE") {
    strokes = request.data;
  }
  const bool status = command == "ST" || command == "@ST";
  const char statusNow = mctcStatus;
  if (status && autoZeroLeft_ > 0 && --autoZeroLeft_ == 0) mctcStatus = 'H';
  const bool leak = command == "ET";
  if (leak && leakLeft_ > 0 && --leakLeft_ == 0) {
    // This request still sees the test running; the record is made now.
    leakFlag = 'R';
    const std::string now = clockNow();
    leakDate = now.substr(0, 8);
    leakTime = now.substr(8, 4);
    return Join({"E", leakDate, leakTime});
  }
  const bool hc = command == "EH";
  const bool hcRunning = hc && hcLeft_ > 0;
  if (hcRunning) --hcLeft_;

  if (const auto it = mctcReplies_.find(command); it != mctcReplies_.end()) return it->second;
  const Identity& i = identity;
  if (command == "ID") {
    return Join({i.make, i.model, i.homologation, i.serial, i.expiry, i.version, i.field7});
  }
  if (status) return std::string(1, statusNow);
  if (command == "@RS" && device_ != Device::EngineSpeed) {
    return {static_cast<char>(0x80 | (rsCode1 & 0x7F)), kEtb,
            static_cast<char>(0x80 | (rsCode2 & 0x7F))};
  }
  if (command == "@LU" && device_ != Device::EngineSpeed) {
    std::string number = request.data;
    while (number.size() < 3) number.insert(0, "0");
    const auto it = params.find(number);
    return Join({it == params.end() ? "00000" : it->second, number});
  }
  switch (device_) {
    case Device::Gas: {
      const GasReadings& g = gas;
      if (command == "@VA") {
        return Join({FormatField(g.co), FormatField(g.coCorr), FormatField(g.co2),
                     FormatField(g.hc), FormatField(g.o2), FormatField(g.lambda),
                     FormatField(g.oilTemp), FormatField(g.rpm), FormatField(g.nox)});
      }
      if (command == "@LA") return fuelSettings;
      if (command == "@LI") return params["047"];
      if (leak) {
        const std::string now = leakDate.empty() || leakTime.empty() ? clockNow() : "";
        return Join({std::string(1, leakFlag), leakDate.empty() ? now.substr(0, 8) : leakDate,
                     leakTime.empty() ? now.substr(8, 4) : leakTime});
      }
      if (command == "@LS") return FormatField(g.pressure);
      if (hc) return hcRunning ? "E" : "R";
      break;
    }
    case Device::Opacimeter:
      if (command == "@VA") {
        const OpaReadings& o = opa;
        return Join({FormatField(o.k), FormatField(o.n), FormatField(o.rpm), FormatField(o.oilTemp),
                     FormatField(o.smokeTemp), FormatField(o.cellTemp), FormatField(o.field7)});
      }
      if (command == "@RD")
        return Join({"0", "0", "0", "0", "0", FormatField(opa.supplyMillivolts)});
      break;
    case Device::EngineSpeed:
      if (command == "VA") return FormatField(rpm.rpm);
      if (command == "TP") return FormatField(rpm.oilTemp);
      if (command == "VE") return Join({FormatField(rpm.rpm), FormatField(rpm.oilTemp)});
      break;
  }
  return {};  // an acknowledgement: the echo without data
}

bool Instrument::extendedHcFirmware() const {
  const std::string& v = identity.version;
  return v.size() >= 3 && v[0] >= '5' && v[2] >= '4';
}

// Gas analyser records: oil temperature and the extended-range HC in 24 bits, the rest in
// 16; the scale of each channel as the analyser reports it.
std::string Instrument::gasRecord(int channel) const {
  const GasReadings& g = gas;
  const bool m2 = model_ == 2;
  const auto per1000 = [](double v) { return v < 0 ? -1 : v * 1000; };
  if (channel == (m2 ? 3 : 10)) {
    return Record24(channel, g.oilTemp < 0 ? 0x040000u : Scaled(g.oilTemp, 1000));
  }
  if (channel == (m2 ? 9 : 18)) return Record24(channel, Scaled(g.hcRaw, 1));
  if (!m2 && channel == 13) return Record24(channel, Scaled(g.hc, 1));
  if (channel == (m2 ? 11 : 14)) return Record16(channel, per1000(g.lambda));
  if (channel == (m2 ? 8 : 12)) return Record16(channel, g.rpm);
  switch (channel) {
    case 7:
      return Record16(channel, per1000(g.co));
    case 6:
      return Record16(channel, per1000(g.co2));
    case 5:
      return Record16(channel, g.hc);
    case 2:
      return Record16(channel, per1000(g.o2));
    default:
      return Record16(channel, 0);
  }
}

std::string Instrument::opaRecord(int channel) const {
  const OpaReadings& o = opa;
  switch (channel) {
    case 0:
      return Record16(channel, o.smokeTemp);
    case 1:
      return Record16(channel, o.n < 0 ? -1 : o.n * 10);
    case 5:
      return Record16(channel, o.cellTemp);
    case 6:
      return Record16(channel, o.oilTemp);
    case 7:
      return Record16(channel, o.k < 0 ? -1 : o.k * 100);
    case 8:
      return Record16(channel, o.rpm);
    default:
      return Record16(channel, 0);
  }
}

std::string Instrument::binaryData(const Request& request) {
  const int command = static_cast<unsigned char>(request.command.at(0));
  const bool gasDevice = device_ == Device::Gas;
  if (command == '#') channelList = request.data;
  if (command == '&' && gasDevice && !request.data.empty()) {
    binaryStatus[1] = static_cast<std::uint8_t>(request.data[0]);
  }
  if (command == 'E') {
    // Gas analyser: calibration, then measuring; opacimeter: auto-zero, then ready.
    if (gasDevice) {
      binaryStatus[0] = 65;
    } else {
      setState("autozero");
    }
    autoZeroLeft_ = std::max(1, autoZeroPolls);
  }
  if (command == '$' && gasDevice) {
    binaryStatus[0] = 128;
    autoZeroLeft_ = 0;
  }
  std::array<std::uint8_t, 5> statusNow = binaryStatus;
  if (command == '?' && autoZeroLeft_ > 0 && --autoZeroLeft_ == 0) {
    if (gasDevice) {
      binaryStatus[0] = 129;
    } else {
      setState("ready");
    }
  }

  const Identity& i = identity;
  std::string d;
  if (command == '?') {
    for (const std::uint8_t b : statusNow) d += static_cast<char>(b);
    return d;
  }
  if (command == 'P') {
    // The channels of the last list, in its order; the model's list before any.
    std::string list = channelList.size() > 1 ? channelList.substr(1)
                       : gasDevice ? GasChannelList(model_, extendedHcFirmware()).substr(1)
                                   : OpaChannelList().substr(1);
    for (const char c : list) {
      const int channel = static_cast<unsigned char>(c);
      d += gasDevice ? gasRecord(channel) : opaRecord(channel);
    }
    return d;
  }
  const auto digits = [](std::string_view ddmmyyyy) {
    // DD, MM and the last two digits of the year.
    return std::string(ddmmyyyy.substr(0, std::min<std::size_t>(4, ddmmyyyy.size()))) +
           std::string(ddmmyyyy.size() >= 8 ? ddmmyyyy.substr(6, 2) : "");
  };
  if (gasDevice) {
    switch (command) {
      case '1': {  // bytes 8-15 serial, 17-18 P.E.F., 22 and 23 the version's digits
        d = " " + Padded(i.serial, 8) + " ";
        Put16(d, i.pef);
        d += std::string(3, '\0');
        d += i.version.size() > 0 ? i.version[0] : '0';
        d += i.version.size() > 2 ? i.version[2] : '0';
        return d;
      }
      case '.': {  // bytes 13-18: one digit value per byte, DDMMYY
        d = std::string(6, '\0');
        for (const char c : Padded(digits(i.expiry), 6)) {
          d += static_cast<char>(c >= '0' && c <= '9' ? c - '0' : 0);
        }
        return d;
      }
      default:
        return {};
    }
  }
  switch (command) {
    case '1':  // bytes 8-13: six characters of the serial number
      return " " + Padded(i.serial.substr(std::min<std::size_t>(2, i.serial.size())), 6);
    case 'a':  // bytes 7-12: DDMMYY
      return Padded(digits(i.expiry), 6);
    default:
      return {};
  }
}

void Attach(Instrument& instrument, const std::shared_ptr<plat::MemoryDevice>& device,
            plat::EventLoop* loop) {
  std::weak_ptr<plat::MemoryDevice> weak = device;
  instrument.send = [&instrument, weak, loop](std::string_view bytes) {
    const auto dev = weak.lock();
    if (!dev) return;
    if (loop == nullptr || instrument.replyDelayMs <= 0) {
      dev->send(bytes);
      return;
    }
    auto id = std::make_shared<plat::EventLoop::TimerId>();
    *id = loop->startTimer(instrument.replyDelayMs, [loop, id, weak, data = std::string(bytes)] {
      loop->stopTimer(*id);
      if (const auto d = weak.lock()) d->send(data);
    });
  };
  if (loop != nullptr && !instrument.clockMs) {
    instrument.clockMs = [loop] { return static_cast<std::int64_t>(loop->now()); };
  }
  device->onWrite = [&instrument](std::string_view bytes) { instrument.received(bytes); };
}

}  // namespace vs::sim
