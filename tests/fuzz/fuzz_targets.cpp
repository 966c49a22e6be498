// The libFuzzer targets: one row per step that takes bytes from outside (a reply, a frame, a
// file); CMake builds a program <row>_fuzz for each row. The first two bytes of an input set
// the header lengths and the switches the parsers read; the records carry over from one input
// to the next, as between replies. A crash, a sanitizer report or a failed Check is a finding.
// The form rows drive a form of the station (FuzzStation.h) through its port and its buttons
// on the manual clock; an error or a box left open that escapes them is a finding too.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "fuzz/FuzzStation.h"
#include "gas/GasSetUp.h"
#include "gas/GasState.h"
#include "gas/McnGasExchange.h"
#include "gas/OwnGasExchange.h"
#include "link/LinkState.h"
#include "link/MctcNetFrame.h"
#include "link/OwnProtocolExchange.h"
#include "link/SmokeRpmReplies.h"
#include "platform/forms/UserInput.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/text/Cp1252.h"
#include "rpm/RpmPoll.h"
#include "shell/ShellState.h"
#include "smoke/McnSmokeLink.h"
#include "smoke/OpaSetUp.h"
#include "smoke/OwnSmokeLink.h"
#include "smoke/PhaseMachine.h"
#include "smoke/SmokeCycle.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeReadings.h"
#include "smoke/SmokeState.h"

namespace vs::fuzz {
namespace {

// A whole binary reply: address, ACK, the command, N + 6 bytes, ETX.
void CheckOwnFrame(std::string_view f, int address, int command) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(f[i]); };
  Check(f.size() >= 8 && byte(1) == address && f[2] == kAck && byte(3) == command &&
        f.size() == byte(5) + 6u && f.back() == kEtx);
}

// The header expected in the next MCTC-NET reply.
void Expect(LinkState& l, std::string_view address, int unitLen, std::string_view command) {
  l.McnAddress = address;
  l.McnDevNumberLen = unitLen;
  l.McnCommand = command;
  l.McnCommandLen = static_cast<std::int16_t>(command.size());
}

// The input, taken from the front; what is not there reads 0 or "".
struct In {
  std::string_view rest;
  int c = 0, u = 0;  // the lengths of the command and of the unit in a reply header, 0 to 3
  std::string_view Take(std::size_t n) {
    const std::string_view s = rest.substr(0, n);
    rest.remove_prefix(s.size());
    return s;
  }
  std::uint8_t Byte() { return rest.empty() ? 0 : static_cast<std::uint8_t>(Take(1)[0]); }
  double Double() {
    double v = 0;
    if (rest.size() >= sizeof v) std::memcpy(&v, Take(sizeof v).data(), sizeof v);
    return v;
  }
  std::string_view Rest() { return Take(rest.size()); }
};

struct P {
  ShellState shell;
  LinkState link;
  GasState gas;
  GasTestVars vars;
  OwnProtocolExchangeCore own;
  RpmPoll poll;
  SmokeState smoke;
  SmokeFormFields fields;
  plat::test::TempFolder logs{ScratchFolder("vs-fuzz-logs")};  // smoke_cycle's "smoke.log"
};

// --- The forms ---

// The station of the form rows, made when the first of them runs.
FuzzStation& Station() {
  static FuzzStation station;
  return station;
}

// The station for one input: the language and the counter's switches of the input's second
// byte, the numbers Italian when `italian`, the keys of "Conf.ini" as given; the reading
// logs of the last input deleted, as at every start.
FuzzStation& StationFor(const P& p, bool italian, std::initializer_list<ConfKey> keys) {
  FuzzStation& st = Station();
  st.Prepare(keys, p.shell.LanguageCode, italian, p.shell.ExternRpm != 0,
             p.shell.ExternOilTemp != 0);
  std::error_code ec;
  for (const char* log : {"gas.log", "smoke.log"})
    std::filesystem::remove(st.p.rt.programFolder / log, ec);
  return st;
}

constexpr std::string_view kSmokeEchoes[] = {"ST", "@ST", "@RS", "@LU", "@RD", "@VA",
                                             "ID", "AZ",  "SB",  "@SB", "XX"};
constexpr std::string_view kRpmEchoes[] = {"VA", "VE", "TP", "CI", "TE", "ID", "XX"};
constexpr const char* kCylinderCounts[] = {"1", "2", "3", "4", "5", "6", "8", "10", "12"};

// An MCTC-NET reply of `address`, unit "1" (or "2"), echoing `sent` or (one in four) a
// command of `others`, with up to 15 data fields of up to 31 bytes each.
std::string McnReply(In& in, std::string_view address, std::string_view sent,
                     std::span<const std::string_view> others) {
  const std::uint8_t b = in.Byte();
  const std::string_view echo = (b & 3) != 0 ? sent : others[in.Byte() % others.size()];
  std::string data;
  for (int n = b >> 4; n > 0; --n) {
    data += in.Take(in.Byte() % 32);
    if (n > 1) data += kEtb;
  }
  return BuildMctcNetFrame(address, echo, (b & 4) ? "2" : "1", data);
}

// A binary reply of `address` echoing `sent` or (one in four) a command byte of the input,
// with up to 253 data bytes and a checksum byte of the input (replies' are not examined).
std::string OwnReply(In& in, int address, int sent) {
  const std::uint8_t b = in.Byte();
  const int command = (b & 3) != 0 ? sent : in.Byte();
  const std::string_view data = in.Take(in.Byte() % 254);
  std::string f = {kStx, static_cast<char>(address), kAck, static_cast<char>(command)};
  f += static_cast<char>(in.Byte());
  f += static_cast<char>(data.size() + 2);
  f += data;
  f += static_cast<char>(in.Byte());
  f += kEtx;
  return f;
}

// Input bytes in place of some of a reply's (not its STX, checksum or ETX), its frame
// refitted: an MCTC-NET reply gets its checksum again, a binary one its length byte.
std::string Spliced(In& in, std::string frame, bool mctcNet) {
  if (frame.size() < 4) return frame;
  const std::size_t at = 1 + in.Byte() % (frame.size() - 3);
  const std::size_t cut = std::min<std::size_t>(in.Byte() % 16, frame.size() - 3 - at);
  frame.replace(at, cut, in.Take(in.Byte() % 32));
  const std::size_t body = frame.size() - 3;
  if (mctcNet)
    frame.replace(body, 3, ComputeMctcNetChecksum(std::string_view(frame).substr(0, body)));
  if (!mctcNet && frame.size() >= 8)
    frame[5] = static_cast<char>(std::min<std::size_t>(body - 3, 255));
  return frame;
}

// One of the simulated instrument's readings (any device's) takes the value `v`.
void SetReading(sim::Instrument& i, std::uint8_t which, double v) {
  sim::GasReadings& g = i.gas;
  sim::OpaReadings& o = i.opa;
  std::vector<double*> readings{&g.co, &g.coCorr, &g.co2, &g.hc, &g.o2, &g.lambda, &g.oilTemp};
  readings.insert(readings.end(), {&g.rpm, &g.nox, &g.hcRaw, &g.pressure, &o.k, &o.n, &o.rpm});
  readings.insert(readings.end(), {&o.oilTemp, &o.smokeTemp, &o.cellTemp, &o.field7});
  readings.insert(readings.end(), {&o.supplyMillivolts, &i.rpm.rpm, &i.rpm.oilTemp});
  *readings[which % readings.size()] = v;
}

constexpr const char* kSimStates[] = {"warmup", "standby",     "autozero", "measuring",
                                      "ready",  "calibration", "error"};

// A form's conversation with the simulated instrument on its line, read from the input, one
// step a byte and its operands:
//   0 to 4  a tick of the form's timer, then the instrument's replies to it as they are,
//           each whole or (bit 4) in two pieces;
//   5, 6    the same, input bytes spliced into one of them;
//   7, 8    a tick, then a reply made of the input in place of the instrument's;
//   9       up to 15 bytes of anything;
//   10      1 to 16 ticks, the instrument answering each;
//   11      a second with the instrument silent (the form's time-out);
//   12, 13  the operator acts (the first `maxActs` times);
//   14      the instrument changes state (warm-up, stand-by, auto-zero, ...);
//   15      one of its readings takes any value.
// After every step the form's own checks run. At most 128 steps: the hours of a station's
// day are no more likely to fault than its minutes.
struct FormScript {
  FuzzStation& st;
  plat::Millis tick;
  std::function<void()> ask;  // before a tick that the instrument's replies follow
  std::function<std::string(In&)> reply;
  std::function<void(std::uint8_t)> act;
  std::function<void()> check;
  // The operator's actions heard in one opening: a set-up form's Apply rewrites the
  // settings file, the slowest step there is, and a few of them cover what many would.
  int maxActs = 128;

  void Run(In& in) const {
    sim::Instrument& instrument = *st.instrument;
    const bool mctcNet = instrument.protocol() == sim::Protocol::Mctc;
    std::vector<std::string>& replies = st.replies;
    // What the form writes while the replies arrive is answered on the next step.
    const auto deliver = [&](bool split) {
      std::vector<std::string> now;
      now.swap(replies);
      for (const std::string& r : now) {
        const std::size_t cut = split ? in.Byte() % (r.size() + 1) : r.size();
        st.Send(std::string_view(r).substr(0, cut));
        if (cut < r.size()) st.Send(std::string_view(r).substr(cut));
      }
    };
    int acts = 0;
    for (int step = 0; step < 128 && !in.rest.empty(); ++step) {
      const std::uint8_t op = in.Byte();
      switch (op % 16) {
        case 9:
          st.Send(in.Take(op >> 4));
          break;
        case 10:
          for (int t = 0; t <= op >> 4; ++t) {
            st.Advance(tick);
            deliver(false);
          }
          break;
        case 11:
          st.Advance(1000 + tick);
          replies.clear();
          break;
        case 12:
        case 13:
          if (const std::uint8_t what = in.Byte(); acts++ < maxActs) act(what);
          break;
        case 14:
          instrument.setState(kSimStates[in.Byte() % std::size(kSimStates)]);
          break;
        case 15: {
          const std::uint8_t which = in.Byte();
          SetReading(instrument, which, in.Double());
          break;
        }
        default:
          if (ask) ask();
          st.Advance(tick);
          if (op % 16 >= 7) replies = {reply(in)};
          if (op % 16 >= 5 && op % 16 <= 6 && !replies.empty()) {
            std::string& r = replies[in.Byte() % replies.size()];
            r = Spliced(in, r, mctcNet);
          }
          deliver((op & 0x10) != 0);
      }
      check();
      CheckLinkState(st.p.link, st.p.gas);
    }
    // What the last handler posted runs before the operator can close the form.
    st.p.rt.loop.processPending();
    check();
  }
};

// The operator's click or choice; refused when the control is disabled or hidden, as on
// the screen.
void Click(plat::Control& c) { (void)plat::input::click(c); }
void Choose(plat::ComboBox& list, int index) {
  if (list.ListCount() > 0) (void)plat::input::choose(list, index % list.ListCount());
}

// clang-format off
struct Row { const char* name; void (*run)(P& p, In& in); };

// Every state word of the gas analyser's conversation (and "" for a fresh form).
constexpr std::string_view kGasWords[] = {
    "", "INIZIO", "IDE", "SDA", "LAL", "LI", "RSTAZE", "ETEI", "ACQ", "SBY", "AZE", "SAL", "ESHC",
    "ETER", "ACQXAZE", "RSTSB", "RSTMIS", "RSTRIS", "RSECXAZE", "RSEC", "ETEE", "STANDBY", "@SA",
    "TTE", "LSEN", "STARTMIS", "TT", "AUTOZERO", "TESTHC", "ESHCE", "HCRES"};
constexpr std::string_view kGasCommands[] = {"ID", "@SD", "@LA", "@LI", "@LU", "@SA", "SB", "AZ",
    "TT", "ET", "@LS", "@RS", "@VA", "HC", "EH", "ST", "@ST", "XY"};
bool IsGasWord(const std::string& w) { return std::ranges::count(kGasWords, w) > 0; }
// The words only the binary conversation adds.
constexpr std::string_view kOwnGasWords[] = {"CAL",    "LDCAL",  "LDF",    "RSTATT",
                                             "RSTCAL", "RSTERI", "RSTERT", "SCA"};
bool IsAnyGasWord(const std::string& w) {
  return IsGasWord(w) || std::ranges::count(kOwnGasWords, w) > 0;
}

constexpr Row kRows[] = {
  {"id_reply", [](P& p, In& in) { ParseIdReply(p.link, in.Rest(), in.c, in.u); }},
  {"rs_reply", [](P& p, In& in) { ParseRsReply(p.link, in.Rest(), in.c, in.u); }},
  {"gas_eh_reply", [](P& p, In& in) { ParseGasEhReply(p.link, in.Rest(), in.c, in.u); }},
  {"gas_et_reply", [](P& p, In& in) { ParseGasEtReply(p.link, in.Rest(), in.c, in.u); }},
  {"gas_la_reply", [](P& p, In& in) { ParseGasLaReply(p.link, in.Rest(), in.c, in.u); }},
  {"gas_li_reply", [](P& p, In& in) { ParseGasLiReply(p.link, in.Rest(), in.c, in.u); }},
  {"gas_ls_reply", [](P& p, In& in) { ParseGasLsReply(p.link, in.Rest(), in.c, in.u); }},
  {"gas_va_reply",
   [](P& p, In& in) { (void)ParseGasVaReply(p.link, p.shell, in.Rest(), in.c, in.u); }},
  {"opa_error_code", [](P& p, In& in) { (void)ShowOpaErrorCode(p.link, p.shell, in.Rest()); }},
  {"opa_measure_reply",
   [](P& p, In& in) { (void)ParseOpaMeasureReply(p.link, p.shell, in.Rest()); }},
  {"opa_rd_reply", [](P& p, In& in) { (void)ParseOpaRdReply(p.link, p.shell, in.Rest()); }},
  {"rpm_tp_reply", [](P& p, In& in) { ParseRpmTpReply(p.link, in.Rest(), in.c, in.u); }},
  {"rpm_va_reply", [](P& p, In& in) { ParseRpmVaReply(p.link, in.Rest(), in.c, in.u); }},
  {"rpm_ve_reply", [](P& p, In& in) { ParseRpmVeReply(p.link, in.Rest(), in.c, in.u); }},
  // The opacimeter set-up's identification step.
  {"opa_setup_id", [](P& p, In& in) {
    const std::optional<int> model = TakeOpaIdentity(p.link, in.Rest(), in.c, in.u);
    Check(!model || (*model >= 0 && *model <= kMcnOpaModel));
    Check(p.link.InstrModel.empty() || p.link.InstrModel.back() != ' ');
  }},
  // The reply collectors of every port owner (MCTC-NET and binary), the input in pieces.
  {"collector", [](P& p, In& in) {
    LinkState& l = p.link;
    const std::uint8_t b = in.Byte();
    const int address = in.Byte(), pending = in.Byte();
    Expect(l, "GAS", (b >> 1) & 3, (b & 1) ? "@VA" : "ID");
    l.RpmMcnAddress = "RPM";
    l.RpmMcnCommandLen = 2;
    l.RpmMcnDevNumberLen = 1;
    // A Waiting buffer does not end in ETX, any other is empty; an accepted frame carries
    // the address after its first byte (which is not checked) and ETB, and ends in ETX.
    const auto check = [](const McnCollected& got, const std::string& buffer, std::string_view a) {
      using enum McnCollected::Status;
      const std::string& f = got.frame;
      Check(got.status == Waiting ? buffer.empty() || buffer.back() != kEtx : buffer.empty());
      Check(got.status != Accepted ||
            (f.size() >= 5 && f.compare(1, 3, a) == 0 && f[4] == kEtb && f.back() == kEtx));
    };
    std::string testForm, setup, rpm, binary;
    MctcNetExchangeCore exchange;
    exchange.Sent(l.McnAddress, l.McnCommand, l.McnDevNumberLen);
    for (int n = 0; !in.rest.empty(); ++n) {
      const std::string_view piece = in.Take((b >> 3) % 9 + 1);
      AppendReceived(testForm, piece, true);
      check(CollectTestFormReply(l, testForm), testForm, l.McnAddress);
      check(CollectSetupReply(l, setup, piece), setup, l.McnAddress);
      check(CollectRpmReply(l, rpm, piece), rpm, l.RpmMcnAddress);
      const McnCollected got = exchange.Receive(piece);
      Check(got.status != McnCollected::Status::Accepted || got.echo == l.McnCommand);
      if (n % 7 == 0 && exchange.Tick() == TickOutcome::Resend) {
        exchange.Sent(l.McnAddress, l.McnCommand, l.McnDevNumberLen);
      }
      AppendReceived(binary, piece, true);
      const OwnReplyCheck own = CheckOwnProtocolReply(binary, address, pending);
      Check(own != OwnReplyCheck::Dropped || binary.empty());
      if (own != OwnReplyCheck::Complete) continue;
      CheckOwnFrame(binary, address, pending);
      for (int k = 0; k < 60; ++k) (void)OwnProtocolRecord(binary, k);
      binary.clear();
    }
  }},
  // The gas test's MCTC-NET reply step for any echoed command, any state words before it
  // and any data, then the request that follows: the words stay words of the conversation,
  // the codes in their ranges, and "@SA" carries six fields.
  {"gas_mcn_reply", [](P& p, In& in) {
    LinkState& l = p.link;
    Expect(l, "GAS", 1, kGasCommands[in.Byte() % std::size(kGasCommands)]);
    std::string stato(kGasWords[in.Byte() % std::size(kGasWords)]);
    std::string prev(kGasWords[in.Byte() % std::size(kGasWords)]), requested, phase;
    const std::uint8_t b = in.Byte();
    std::int16_t autoZero = b & 3, standbyAfterEt = (b >> 2) & 1, fuel = 1, strokes = 0;
    const std::int16_t mode = (b >> 3) & 1;
    p.shell.SystemEnableMask = static_cast<std::uint8_t>((b & 0x70) >> 2);
    std::string buffer = BuildMctcNetFrame("GAS", l.McnCommand, "1", in.Rest());
    const McnCollected got = CollectTestFormReply(l, buffer);
    if (got.status != McnCollected::Status::Accepted) return;
    McnGasWords w{stato, requested, prev, phase, autoZero, standbyAfterEt, fuel, strokes, mode};
    const McnGasScreen out =
        DecideMcnGasReply(w, l, p.gas, p.shell, got, plat::DateTime{2026, 12, 7, 14, 35, 0});
    Check(IsGasWord(stato) && IsGasWord(prev) && IsGasWord(requested) && out.boxes.size() <= 1);
    Check(autoZero >= 0 && autoZero <= 3 && p.gas.GasMcnStatus >= 0 && p.gas.GasMcnStatus <= 31);
    Check(l.McnRsStatus1 >= 0 && l.McnRsStatus1 <= 127);
    CheckUtf8(out.pef.value_or(""));
    const auto next = NextMcnGasRequest(w, l, plat::DateTime{});
    Check(!next || next->command != "@SA" || std::ranges::count(next->data, kEtb) >= 5);
  }},
  // The gas test's binary reply step, once on the bytes as they come (it guards its own
  // frame), once through the exchange's collector; for model 0 to 3, the extended HC
  // option, a firmware digit pair, a K factor or none.
  {"own_gas_reply", [](P& p, In& in) {
    const std::uint8_t a = in.Byte(), b = in.Byte();
    p.shell.GasModelIndex = static_cast<std::int16_t>(a >> 4 & 3);
    p.shell.SystemEnableMask = static_cast<std::uint8_t>(a >> 6 & 2);
    p.gas.GasFirmwareVersion = {static_cast<char>('3' + (b >> 4 & 7)), '.',
                                static_cast<char>('2' + (b >> 5 & 7))};
    p.vars.KFactor = (b & 0x80) ? std::nullopt : std::optional<int>(12 + (b & 3));
    p.vars.GasTickCount += a;
    const std::string_view reply = in.Rest();
    const ProgressView bar{(reply.size() & 1) != 0, 0, 800, static_cast<float>(reply.size() % 801)};
    (void)HandleOwnGasFrame(p.vars, p.gas, p.link, p.shell, {}, bar, reply);
    p.own.Sent(49, static_cast<unsigned char>(reply.size() > 3 ? reply[3] : '?'));
    const OwnCollected got = p.own.Receive(reply);
    if (got.status == OwnReplyCheck::Complete) {
      (void)HandleOwnGasFrame(p.vars, p.gas, p.link, p.shell, {}, bar, got.frame);
    }
    (void)NextOwnGasRequest(p.vars, p.shell, p.gas);
  }},
  // The engine-speed form's receive step after the next request or one chosen by the input.
  {"rpm_poll_input", [](P& p, In& in) {
    static constexpr const char* kCommands[] = {"CI", "TE", "VA", "VE", "TP", "ID", "", "VAX"};
    p.shell.RpmPollSelect = static_cast<std::int16_t>(in.c);
    p.shell.RpmCylinders = static_cast<std::int16_t>(in.u * 4);
    const RpmRequest next = NextRpmRequest(p.poll, p.shell);
    const std::uint8_t b = in.Byte();
    NoteRpmRequest(p.poll.exchange, p.link, (b & 8) ? kCommands[b & 7] : next.command.c_str());
    TakeRpmInput(p.poll, p.link, in.Rest());
  }},
  // The smoke test's exchange cycle and reading step: input in pieces of varying size
  // between ticks, in either protocol, and readings of any values in any row; with the log
  // on, the reading's line goes whole into "smoke.log" (a serial number of any characters).
  {"smoke_cycle", [](P& p, In& in) {
    LinkState& l = p.link;
    SmokeState& s = p.smoke;
    SmokeFormFields f;
    const std::uint8_t a = in.Byte(), b = in.Byte();
    const bool mctcNet = (a & 1) != 0;
    l.ActiveComMode = mctcNet ? 2 : 1;
    Expect(l, "OPA", 1, (a & 2) ? "@VA" : "ID");
    l.PendingCommand = (a & 2) ? 'P' : '?';
    s.OpaDeviceAddress = (a & 4) ? 81 : 65;
    s.OpaReplyReady = 1;
    f.RequestedLinkState = (a & 8) ? "STARTMIS" : "";
    f.TestPhase = (a & 16) ? "DUE" : "";
    f.TestMode = static_cast<std::int16_t>(b % 8);
    f.LogFlag = (b & 8) != 0;
    s.AccIndex = static_cast<std::int8_t>(in.Byte());
    for (double* v : {&l.OpaK, &l.OpaN, &l.OpaRpm, &l.OpaCellTemp}) *v = in.Double();
    if (f.LogFlag) l.InstrSerial = plat::Cp1252ToUtf8(in.Take(in.Byte() % 16));
    const SmokeReadingsOutcome out = TakeSmokeReadings(f, s, l, p.shell,
        {mctcNet ? smoke::Protocol::MctcNet : smoke::Protocol::Binary, true,
         {2026, 12, 7, 14, 35, 0}, (a & 32) ? plat::RegionalSettings::Italian()
                                            : plat::RegionalSettings::English()});
    Check(!out.row || (s.AccIndex >= 0 && s.AccIndex <= kLastRowLabel));
    Check(out.logLine.has_value() == (f.LogFlag && out.shown.has_value()));
    if (out.logLine) {
      const std::filesystem::path log = p.logs / kSmokeLogName;
      CheckUtf8(*out.logLine);
      Check(std::ranges::count(*out.logLine, '\t') - std::ranges::count(l.InstrSerial, '\t') ==
                7 &&
            static_cast<bool>(AppendSmokeLog(p.logs.path().string(), *out.logLine)) &&
            plat::test::ReadBytes(log) ==
                plat::Utf8ToCp1252(plat::OneLine(*out.logLine)) + "\r\n");
      std::filesystem::remove(log);
    }
    while (!in.rest.empty()) {
      const SmokeTick tick = SmokeTickStep(f, s, l);
      Check(tick != SmokeTick::TimedOut || f.ReplyBuffer.empty());
      const SmokeFrame got = CollectSmokeReply(f, l, s, in.Take(1 + (b >> 4)));
      if (got.kind == SmokeFrame::Kind::Own) {
        CheckOwnFrame(got.own, s.OpaDeviceAddress, l.PendingCommand);
      }
      Check(got.kind != SmokeFrame::Kind::MctcNet || got.mcn.echo == l.McnCommand);
      if (got.kind != SmokeFrame::Kind::None) EndSmokeFrame(f, s);
      Check(f.ReplyBuffer.size() <= kMaxReplyBuffer);
    }
  }},
  // The MCTC-NET smoke link's reply step on any accepted frame; the echo picks the handling.
  {"smoke_mcn_status", [](P& p, In& in) {
    const char* const kEchoes[] = {"ST", "@ST", "@RS", "@LU", "@RD", "@VA", "ID", "AZ", "SB", "XX"};
    const std::string echo = kEchoes[in.Byte() % std::size(kEchoes)];
    smoke::LinkView view;
    view.testMode = static_cast<std::int16_t>(in.Byte() % 8);
    const std::uint8_t b = in.Byte();
    view.accIndex = b % 11;
    view.label30Back = (b & 0x80) ? 0xFFu : 0xFFFFFFu;
    p.link.McnCommand = echo;
    p.link.McnCommandLen = static_cast<std::int16_t>(echo.size());
    // The data text as the collector cuts it: after the header, up to the checksum.
    const std::string_view frame = in.Rest();
    const std::size_t header = 7 + static_cast<std::size_t>(in.u) + echo.size();
    const std::string_view data =
        frame.size() > header + 3 ? frame.substr(header, frame.size() - header - 3) : "";
    const auto out = smoke::HandleMcnSmokeFrame(p.fields, p.link, p.smoke, p.shell, view, frame,
                                                echo, data);
    Check(p.smoke.OpaMcnStatus >= 0 && p.smoke.OpaMcnStatus <= 31);
    Check(p.fields.AutoZeroStatusCount <= 3);  // counted up to four, then back to 0
    CheckUtf8(out.display.label29.caption.value_or(""));
  }},
  // The binary smoke link's reply step on any frame that passed the frame check, for every
  // model (5 and 6 are not binary ones); then the request step, so that every state word
  // it leaves is asked.
  {"smoke_own_reply", [](P& p, In& in) {
    static constexpr char kCommands[] = {'1', 'a', '#', '?', 'P', 'E', 'x'};
    const auto model = static_cast<std::int16_t>(in.Byte() % 7);
    const char command = kCommands[in.Byte() % std::size(kCommands)];
    smoke::LinkView view;
    view.testMode = static_cast<std::int16_t>(in.Byte() % 8);
    const std::string_view body = in.Take(250);
    std::string frame = {kStx, 'Q', kAck, command, '\0', static_cast<char>(body.size() + 2)};
    frame += std::string(body) + '\0' + kEtx;
    std::string check = frame;
    Check(CheckOwnProtocolReply(check, 'Q', static_cast<unsigned char>(command)) ==
          OwnReplyCheck::Complete);
    auto out = smoke::HandleOwnSmokeFrame(p.fields, p.link, p.smoke, p.shell, model, view, frame);
    for (const double v : p.fields.ChannelValues) Check(v >= -1 && v <= 32767);
    Check(out.use != smoke::OwnReplyUse::Dropped || !out.valueReply);
    Check(smoke::NextOwnSmokeRequests(p.fields, p.link, model).requests.size() <= 2);
  }},
  // A free-acceleration series driven by any sequence of value replies, manual captures,
  // STARTs and row cells of any text: the series index stays within its values, the chart
  // within its rows.
  {"smoke_series", [](P&, In& in) {
    using namespace smoke;
    static const LangTexts* texts = new LangTexts();
    static const auto* regional = new plat::RegionalSettings(plat::RegionalSettings::English());
    const double speed = in.Double(), k = in.Double();
    const SeriesSettings settings{*texts, *regional, 1000, 4000, speed, k,
                                  static_cast<std::int16_t>(in.Byte() % 3)};
    PhaseFields fields;
    AccelerationTable table;
    ChartRecord chart;
    PhaseMachine phases(fields, table, chart);
    RowCells cells;
    std::int16_t exclamPending = -1;
    ValueReply r;
    static constexpr const char* kLockStates[] = {"00000", "00001", "00002", "00016", "00032", ""};
    while (!in.rest.empty()) {
      const std::uint8_t op = in.Byte();
      if (op % 4 == 0) {  // a value reply
        r.protocol = (op & 4) ? Protocol::MctcNet : Protocol::Binary;
        r.testMode = static_cast<std::int16_t>((op >> 3) % 8);
        r.tick += in.Byte();
        for (double* v : {&r.rpm, &r.k, &r.cellTemp}) *v = in.Double();
        const std::uint8_t status = in.Byte();
        r.valuesInvalid = (status & 1) != 0;
        r.mcnStatus = static_cast<std::int16_t>((status >> 1) & 1);
        r.luStatus1 = kLockStates[(status >> 2) % 6];
        r.luStatus2 = kLockStates[(status >> 5) % 6];
        r.modelIndex = static_cast<std::int16_t>(in.Byte() % 7);
        r.status0 = in.Byte();
        r.status1 = in.Byte();
        (void)phases.OnValueReply(r, cells, settings, exclamPending);
      } else if (op % 4 == 1) {  // the capture button
        ManualCapture(table, cells, static_cast<std::int16_t>(op / 4 % 8), in.Double(), settings);
      } else if (op % 4 == 2) {  // a row cell as the readings or anything else wrote it
        cells.k[(op >> 2) % kAccelerationRows] = std::string(in.Take(in.Byte() % 8));
        cells.rpm[(op >> 5) % kAccelerationRows] = std::string(in.Take(in.Byte() % 8));
      } else {
        phases.Start(static_cast<std::int16_t>((op >> 2) % 8));
        exclamPending = -1;
      }
      Check(table.AccIndex >= 0 && table.AccIndex <= kSeriesClosedByHand && table.AccIndex != 9);
      Check(chart.ChartRow >= 0 && chart.ChartRow <= 40);
    }
  }},
  // The gas-analyser set-up's identification step, on any reply.
  {"gas_setup_id", [](P& p, In& in) {
    const IdentifiedModel found = TakeGasIdentity(p.link, in.Rest(), in.c, in.u);
    Check(IsGasModel(found.modelIndex) &&
          (found.comMode == 1) == (found.modelIndex != kMcnGasModel) &&
          (found.comMode == 1 || found.comMode == 2));
    Check(found.parsed || found.modelIndex == kMcnGasModel);
    Check(p.link.InstrModel.empty() || p.link.InstrModel.back() != ' ');
  }},
  // The gas-analyser set-up form: searches, the analyser's identity as it comes, changed or
  // made up, and the identity applied; any stored model, or none. The model list shows a
  // model, the protocol is one of the two, and applying keeps the port and the speed.
  {"ansu_search", [](P& p, In& in) {
    static constexpr const char* kModels[] = {"KYMRAGAS-410", "KYMRAGAS-420", "KYMRAGAS-530",
                                              "TOPAZ"};
    const std::uint8_t a = in.Byte();
    FuzzStation& st = StationFor(p, a & 0x80, {{"MODKYMRA", "Modello", std::to_string(a % 5)}});
    ANSU& f = st.p.ansu;
    st.Plug(*st.gasLine, sim::Device::Gas, sim::Protocol::Mctc, 0).identity.model =
        kModels[a >> 5 & 3];
    f.Show();
    const FormScript script{st, 25,
        [&] {
          if (f.identify.step == AnsuStep::Idle) Click(f.Command2);
        },
        [&](In& i) { return McnReply(i, "GAS", "ID", kGasCommands); },
        [&](std::uint8_t op) { Click(op % 2 ? f.CmdApl : f.Command2); },
        [&] {
          Check(f.Combo1.ListIndex() >= -1 && f.Combo1.ListIndex() <= kMcnGasModel);
          Check(st.p.shell.GasComMode == 1 || st.p.shell.GasComMode == 2);
        },
        8};
    script.Run(in);
    f.Unload();
    st.Unplug();
    const std::string conf = st.Conf();
    Check(st.Quiet() && st.OtherSettingsKept({"COMKYMRA", "MODKYMRA"}));
    Check(plat::ProfileValueIn(conf, "COMKYMRA", "TCOM") == "1" &&
          plat::ProfileValueIn(conf, "COMKYMRA", "TBRate") == "2");
  }},
  // The engine-speed counter's set-up form: searches ("ID") and applies ("CI", then "TE"),
  // the counter's replies as they come, changed or made up. The settings the operator did
  // not touch stay as they were.
  {"rpmsu_replies", [](P& p, In& in) {
    const std::uint8_t a = in.Byte();
    const std::string strokes = (a & 0x40) ? "2" : "4", select = std::to_string(a >> 4 & 3);
    FuzzStation& st = StationFor(p, a & 0x80,
                                 {{"RPM", "NCilindriRPM", kCylinderCounts[a % 9]},
                                  {"RPM", "NTempiRPM", strokes}, {"RPM", "SelrpmT", select}});
    RPMSU& f = st.p.rpmsu;
    st.Plug(*st.rpmLine, sim::Device::EngineSpeed, sim::Protocol::Mctc, 0);
    f.Show();
    const FormScript script{st, 25, {},
        [&](In& i) { return McnReply(i, "RPM", st.p.link.RpmMcnCommand, kRpmEchoes); },
        [&](std::uint8_t op) { Click(op % 2 ? f.CmdApl : f.Command1); },
        [] {}, 8};
    script.Run(in);
    f.Unload();
    st.Unplug();
    const std::string conf = st.Conf();
    Check(st.Quiet() && st.OtherSettingsKept({"RPM"}));
    Check(plat::ProfileValueIn(conf, "RPM", "NCilindriRPM") == kCylinderCounts[a % 9] &&
          plat::ProfileValueIn(conf, "RPM", "NTempiRPM") == strokes &&
          plat::ProfileValueIn(conf, "RPM", "SelrpmT") == select &&
          plat::ProfileValueIn(conf, "RPM", "TCOMrpm") == "3");
  }},
  // The engine-speed form: its polls and the counter's replies as they come, changed or
  // made up, the operator changing cylinders and strokes meanwhile.
  {"rpm_form", [](P& p, In& in) {
    const std::uint8_t a = in.Byte();
    FuzzStation& st = StationFor(p, a & 0x80,
        {{"RPM", "NCilindriRPM", kCylinderCounts[a % 9]}, {"RPM", "NTempiRPM", (a & 0x40) ? "2" : "4"},
         {"RPM", "SelrpmT", std::to_string(a >> 4 & 3)}});
    RPM& f = st.p.rpm;
    st.Plug(*st.rpmLine, sim::Device::EngineSpeed, sim::Protocol::Mctc, 0);
    f.Show();
    const FormScript script{st, 300, {},
        [&](In& i) { return McnReply(i, "RPM", st.p.link.RpmMcnCommand, kRpmEchoes); },
        [&](std::uint8_t op) {
          plat::Control* const controls[] = {&f.Command2, &f.Command3, &f.Option6, &f.Option7};
          Click(*controls[op % 4]);
        },
        [] {}, 8};
    script.Run(in);
    f.Unload();
    st.Unplug();
    Check(st.Quiet() && st.OtherSettingsKept({"RPM"}));
  }},
  // The gas test form on either protocol (the model picks it; 4: none, the last one's
  // stays), the analyser's replies as they come, changed or made up, the operator's
  // choices, Start, stand-by, leak test and log meanwhile. The state words stay words of
  // the conversation.
  {"angas_receive", [](P& p, In& in) {
    const std::uint8_t a = in.Byte();
    FuzzStation& st = StationFor(p, a & 0x80, {{"MODKYMRA", "Modello", std::to_string(a % 5)}});
    ANGAS& f = st.p.angas;
    LinkState& l = st.p.link;
    l.GasFormActive = 1;
    f.Show();
    const int model = st.p.shell.GasModelIndex;
    st.Plug(*st.gasLine, sim::Device::Gas,
            f.OpenedComMode == 1 ? sim::Protocol::Binary : sim::Protocol::Mctc,
            model >= 0 && model <= 2 ? model : 0)
        .setState(kSimStates[a >> 5 & 3]);
    const FormScript script{st, 25, {},
        [&](In& i) {
          return f.OpenedComMode == 1
                     ? OwnReply(i, st.p.gas.GasDeviceAddress, l.PendingCommand)
                     : McnReply(i, "GAS", l.McnCommand, kGasCommands);
        },
        [&](std::uint8_t op) {
          st.answer = (op & 0x80) ? plat::MsgBoxResult::Cancel : plat::MsgBoxResult::OK;
          switch (op % 8) {
            case 0: Click(f.Command1); break;
            case 1: Choose(f.Combo1, op >> 3); break;
            case 2: Choose(f.Combo3, op >> 3); break;
            case 3: Choose(f.Combo4, op >> 3); break;
            case 4: Click(f.Command4); break;
            case 5: Click(f.Command6); break;
            default: Click(f.Command7); break;
          }
        },
        [&] {
          Check(IsAnyGasWord(f.Stato) && IsAnyGasWord(f.StatoRichiesto) &&
                IsAnyGasWord(f.PrevState));
          Check(st.p.gas.GasReplyReady >= 0 && st.p.gas.GasReplyReady <= 2);
        }};
    script.Run(in);
    f.Unload();
    st.Unplug();
    Check(st.Quiet() && st.OtherSettingsKept({"IA"}));
  }},
  // The smoke test form on either protocol (the model picks it; 6: none, the last one's
  // stays), in either unit, the opacimeter's replies as they come, changed or made up, the
  // operator's START, test modes, captures, stand-by and log meanwhile.
  {"anfumo_receive", [](P& p, In& in) {
    const std::uint8_t a = in.Byte();
    FuzzStation& st = StationFor(p, a & 0x80, {{"MODOPA", "Modello", std::to_string(a % 7)},
                                               {"MODOPA", "UnitOpa", (a & 0x40) ? "1" : "0"}});
    ANFUMO& f = st.p.anfumo;
    LinkState& l = st.p.link;
    l.OpaFormActive = 1;
    st.p.shell.ExclamStampaPending = 1;
    f.Show();
    const int model = st.p.shell.OpaModelIndex;
    st.Plug(*st.smokeLine, sim::Device::Opacimeter,
            l.ActiveComMode == 2 ? sim::Protocol::Mctc : sim::Protocol::Binary,
            model >= 0 && model <= 4 ? model : 0)
        .setState(kSimStates[a >> 4 & 3]);
    const FormScript script{st, kSmokeTickMs, {},
        [&](In& i) {
          return l.ActiveComMode == 2
                     ? McnReply(i, "OPA", l.McnCommand, kSmokeEchoes)
                     : OwnReply(i, st.p.smoke.OpaDeviceAddress, l.PendingCommand);
        },
        [&](std::uint8_t op) {
          switch (op % 8) {
            case 0: Click(f.Command2); break;
            case 1: Choose(f.Combo1, op >> 3); break;
            case 2: Click(f.Command1); break;
            case 3: Click(f.Command6); break;
            default: Click(f.Command7); break;
          }
        },
        [&] {
          Check(f.ReplyBuffer.size() <= kMaxReplyBuffer);
          Check(st.p.smoke.AccIndex >= 0 && st.p.smoke.AccIndex <= kLastRowLabel);
        }};
    script.Run(in);
    f.Unload();
    st.Unplug();
    Check(st.Quiet() && st.OtherSettingsKept({"LO"}));
  }},
  // An INI file of any bytes, then one key written into it: the write reads back and leaves
  // another section's value alone. The bytes up to the first NUL (at most 40) are the value.
  {"ini_read", [](P&, In& in) {
    const std::string_view input = in.Rest();
    const std::size_t cut = input.substr(0, 40).find('\0');
    const std::string_view value1252 = cut == std::string_view::npos ? "" : input.substr(0, cut);
    const std::string_view file = cut == std::string_view::npos ? input : input.substr(cut + 1);
    const auto names = plat::SectionNamesIn(file);
    if (!names.empty()) (void)plat::ProfileValueIn(file, names.back(), "Kquad");
    const auto before = plat::ProfileValueIn(file, "IMPOSTAZIONI", "AbiM");
    Check(!before || before->size() <= 4 * plat::kProfileValueMax);
    const std::string value = plat::Cp1252ToUtf8(value1252);
    const std::string written = plat::WithProfileValue(file, "S", "k", value);
    // A value reads back as written unless it is empty or too long, holds a line break,
    // blanks at its ends or one pair of enclosing quotes. Windows-1252 bytes that happen to
    // make the whole file valid UTF-8 read differently.
    const std::string_view v = value1252;
    const bool same = !v.empty() && v.size() <= plat::kProfileValueMax &&
        v.find_first_of("\r\n") == std::string_view::npos &&
        v.front() != ' ' && v.front() != '\t' && v.back() != ' ' && v.back() != '\t' &&
        !(v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front());
    if (plat::IsUtf8Profile(written) == plat::IsUtf8Profile(file)) {
      Check(!same || plat::ProfileValueIn(written, "s", "K") == value);
      Check(plat::ProfileValueIn(written, "IMPOSTAZIONI", "AbiM") == before);
    }
    Check(plat::Utf8ToCp1252(plat::Cp1252ToUtf8(file)) == file);
  }},
};
// clang-format on

}  // namespace
}  // namespace vs::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const vs::fuzz::Row* row = [] {
    const std::string self = program_invocation_short_name;
    for (const vs::fuzz::Row& r : vs::fuzz::kRows) {
      if (self == std::string(r.name) + "_fuzz") return &r;
    }
    std::fprintf(stderr, "%s: not the name of a fuzz target (<row>_fuzz)\n", self.c_str());
    std::abort();
  }();
  static vs::fuzz::P records;  // its folder goes at the end of the run
  vs::fuzz::P* const p = &records;
  vs::fuzz::In in{{reinterpret_cast<const char*>(data), size}};
  const std::uint8_t lengths = in.Byte(), switches = in.Byte();
  in.c = lengths & 3;
  in.u = (lengths >> 2) & 3;
  p->link.McnCommandLen = static_cast<std::int16_t>(in.c);
  p->link.McnDevNumberLen = in.u;
  p->shell.ExternRpm = switches & 1;
  p->shell.ExternOilTemp = (switches >> 1) & 1;
  p->link.ShowParseWarning = (switches & 4) ? -1 : 0;
  p->shell.LanguageCode = static_cast<std::int16_t>((switches >> 3) & 3);
  row->run(*p, in);
  vs::fuzz::CheckLinkState(p->link, p->gas);
  return 0;
}
