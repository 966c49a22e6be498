// The link layer: frames of both protocols byte by byte, replies collected from the bytes as
// they arrive, the exchange of one port (time-out, re-send and miss count), the senders that
// write frames to the forms' ports, and the reply parsers.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "link/FrameCollector.h"
#include "link/LinkState.h"
#include "link/MctcNetExchange.h"
#include "link/MctcNetFrame.h"
#include "link/OwnProtocolExchange.h"
#include "link/Senders.h"
#include "link/SmokeRpmReplies.h"
#include "platform/core/Error.h"
#include "platform/serial/SerialPort.h"
#include "state/ProgramState.h"

namespace vs {
namespace {

// Frames written as text: '<' stands for STX, '|' for ETB and '>' for ETX.
std::string Ctl(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = c == '<' ? kStx : c == '|' ? kEtb : c == '>' ? kEtx : c;
  return s;
}

using Status = McnCollected::Status;

std::string Bytes(std::initializer_list<int> v) { return std::string(v.begin(), v.end()); }

TEST(FramesTest, RequestsAreByteExact) {
  for (auto [address, command, data, frame] : {
           std::array<const char*, 4>{"GAS", "ID", "", "<GAS|1|IDC7>"},
           {"GAS", "@LA", "", "<GAS|1|@LA07>"},   // a high checksum digit 0
           {"RPM", "CI", "4", "<RPM|1|CI|425>"},  // one ETB before the data
           {"GAS", "@SA", "BENZINA|NO CAT|04|4|1.730|0.000",
            "<GAS|1|@SA|BENZINA|NO CAT|04|4|1.730|0.000B3>"},
       }) {
    EXPECT_EQ(BuildMctcNetFrame(address, command, "1", Ctl(data)), Ctl(frame)) << frame;
  }
  // Only what follows STX counts, a high byte by its unsigned value; the sum wraps.
  EXPECT_EQ(ComputeMctcNetChecksum(std::string("\x02\xFF\xFF", 3)), "FE\x03");

  EXPECT_EQ(GasChannelList(0, false), Bytes({8, 10, 13, 14, 12, 7, 6, 5, 2}));
  EXPECT_EQ(GasChannelList(2, true), Bytes({8, 3, 9, 11, 8, 7, 6, 5, 2}));
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(256, 'P', ""));
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(49, -1, ""));
  EXPECT_ANY_THROW(BuildOwnProtocolFrame(49, 'P', std::string(254, 'x')));
  EXPECT_EQ(BuildOwnProtocolFrame(49, 'P', std::string(253, 'x')).size(), 261u);
}

// The MCTC-NET collectors of the forms: the test forms' (address GAS, unit 1, echo "@VA"),
// the set-ups' (any echo) and the engine-speed forms' (address RPM, command of 2); and the
// frame check alone with lengths out of range.
enum class Who { TestForm, Setup, Rpm, Check };

TEST(FramesTest, McnRepliesCollectedAgainstTheHeader) {
  // The input as in Ctl, '/' between arrivals; after the last: A;echo;data, D or W;buffer,
  // then ReplyFrameCount, as in Ctl.
  const struct {
    Who who;
    const char *input, *after;
    McnExpect expect = {};
  } rows[] = {
      {Who::TestForm, "</GAS|1|@V/A|1.5|2.5/00>", "A;@VA;1.5|2.5;1"},  // judged at ETX
      {Who::TestForm, "<GAS|1|@VA00>", "A;@VA;;1"},
      {Who::TestForm, "<OPA|1|@VA|100>", "D;1"},
      {Who::TestForm, "<GASX1|@VA|100>", "D;1"},
      {Who::TestForm, "<GAS|1|@RS|A00>", "D;1"},   // the echo of an older command
      {Who::TestForm, "<GAS|12|@VA|100>", "D;1"},  // a longer unit shifts the echo
      {Who::TestForm, "<>", "D;1"},
      {Who::TestForm, "x", "W;;0"},  // a lone first byte other than STX goes
      {Who::TestForm, "xy", "W;xy;0"},
      {Who::TestForm, "xy/<GAS|1|@VA|700>", "A;@VA;7;1"},
      // The rest of a late reply joined to the next; two replies in a burst.
      {Who::TestForm, "<GAS|1|@VA|0/<GAS|1|@VA|0.12|0.1000>", "A;@VA;0.12|0.10;1"},
      {Who::TestForm, "<GAS|1|@VA|100><GAS|1|@VA|200>", "A;@VA;2;1"},
      {Who::Setup, "x", "W;x;0"},
      {Who::Setup, "x/<GAS|1|@RS|M00>", "A;@RS;M;0"},
      {Who::Rpm, "<RPM|1|VE|145000>", "A;VE;1450;0"},
      {Who::Rpm, "<GAS|1|VA|100>", "D;0"},
      {Who::Check, "<GAS|1|@VA|100>", "D;0", {"GAS", -5, 3}},
      {Who::Check, "<GAS|1|@VA|100>", "A;;;0", {"GAS", 1000, 1000}},
  };
  LinkState l;
  l.McnAddress = "GAS";
  l.RpmMcnAddress = "RPM";
  l.McnCommand = "@VA";
  l.McnDevNumberLen = l.RpmMcnDevNumberLen = 1;
  l.McnCommandLen = 3;
  l.RpmMcnCommandLen = 2;
  for (const auto& r : rows) {
    l.ReplyFrameCount = 0;
    std::string buffer, all;
    McnCollected got;
    std::istringstream arrivals(r.input);
    for (std::string in; std::getline(arrivals, in, '/');) {
      all += in = Ctl(in);
      if (r.who == Who::TestForm) AppendReceived(buffer, in, true);
      if (r.who == Who::Check) buffer = in;
      got = r.who == Who::TestForm ? CollectTestFormReply(l, buffer)
            : r.who == Who::Setup  ? CollectSetupReply(l, buffer, in)
            : r.who == Who::Rpm    ? CollectRpmReply(l, buffer, in)
                                   : CollectMctcNetFrame(buffer, r.expect);
    }
    const std::string s = got.status == Status::Waiting   ? "W;" + buffer
                          : got.status == Status::Dropped ? "D"
                                                          : "A;" + got.echo + ";" + got.data;
    EXPECT_EQ(s + ";" + std::to_string(l.ReplyFrameCount), Ctl(r.after)) << r.input;
    // An accepted frame is what arrived from its STX on.
    EXPECT_EQ(got.frame, got.status == Status::Accepted ? all.substr(all.rfind(kStx)) : "");
  }
  // Endless noise without ETX neither grows the buffer nor hides the next reply.
  std::string buffer;
  for (int i = 0; i < 100; ++i) AppendReceived(buffer, std::string(1000, 'x'), true);
  EXPECT_LE(buffer.size(), kMaxReplyBuffer);
  AppendReceived(buffer, Ctl("<GAS|1|@VA|100>"), true);
  EXPECT_EQ(CollectTestFormReply(l, buffer).data, "1");
}

// Binary replies: the first byte other than STX goes, the reply must carry the address and
// command sent, and is judged from its eighth byte; a buffer longer than its length byte
// says is dropped.
TEST(FramesTest, BinaryRepliesCollectedAgainstTheRequest) {
  const auto reply = [](int address, char command) {
    return Bytes({2, address, 6, command, 0, 4}) + "AB" + Bytes({0, 3});
  };
  const std::string ok = reply(16, '?');
  const struct {
    std::vector<std::string> arrivals;
    char last;  // the check of the last arrival: W waiting, D dropped, C complete
  } rows[] = {
      {{ok}, 'C'},
      {{ok.substr(0, 3), ok.substr(3, 4), ok.substr(7)}, 'C'},
      {{"x", ok}, 'C'},
      {{ok + "z", ok}, 'C'},
      {{reply(17, '?')}, 'D'},
      {{Bytes({2, 16, 0x15, '?', 0, 2, 0, 3})}, 'D'},  // no ACK
      {{ok.substr(0, 9) + "\x04"}, 'D'},               // no ETX at N + 6
      {{ok + "z"}, 'D'},
      {{Bytes({2, 16, 6, '?', 0, 0, 0, 3})}, 'D'},  // N too small
      {{reply(16, 'P').substr(0, 8)}, 'D'},
      {{reply(17, 'P').substr(0, 7)}, 'W'},
      {{ok.substr(0, 9)}, 'W'},
  };
  for (const auto& r : rows) {
    OwnProtocolExchangeCore x;
    x.Sent(16, '?');
    OwnCollected got;
    for (const std::string& a : r.arrivals) got = x.Receive(a);
    EXPECT_EQ("WDC"[static_cast<int>(got.status)], r.last) << ::testing::PrintToString(r.arrivals);
    EXPECT_EQ(x.ReplyReady(), r.last == 'C');
    EXPECT_EQ(got.frame, r.last == 'C' ? ok : "");
  }
  // Records of a value reply: channel and four value bytes, data bytes only.
  std::string values = Bytes({2, 49, 6, 'P', 0, 42});
  for (int k = 0; k < 8; ++k) values += Bytes({k, 0, 0, 1, k});
  values += Bytes({0x55, 3});
  EXPECT_EQ(OwnProtocolRecord(values, 0), (std::array<std::uint8_t, 5>{0, 0, 0, 1, 0}));
  EXPECT_EQ(OwnProtocolRecord(values, 7), (std::array<std::uint8_t, 5>{7, 0, 0, 1, 7}));
  EXPECT_FALSE(OwnProtocolRecord(values, 8) || OwnProtocolRecord(values, -1) ||
               OwnProtocolRecord(values.substr(0, 20), 2));
}

// Runs a script on an exchange and writes one letter per tick: I idle, W waiting, R re-send,
// G give up; then the misses, and "+" when the reply is ready. Script: s request sent ("@VA"
// to "GAS"), t tick, r the reply, e a reply echoing another command, x the reply split in two
// arrivals; o "@RS" sent, h and H the halves of its reply, each written as w (waiting), d
// (dropped) or the echo taken.
std::string Play(MctcNetExchangeCore& x, std::string_view script) {
  std::string out;
  const std::string va = Ctl("<GAS|1|@VA|100>"), rs = Ctl("<GAS|1|@RS|00>");
  for (char c : script) {
    const std::size_t split = c == 'x' ? 4 : 0;
    if (c == 's' || c == 'o') x.Sent("GAS", c == 's' ? "@VA" : "@RS", 1);
    if (c == 't') out += "IWRG"[static_cast<int>(x.Tick())];
    if (c == 'e') x.Receive(Ctl("<GAS|1|ID|100>"));
    if (c == 'r' || c == 'x') x.Receive(va.substr(0, split)), x.Receive(va.substr(split));
    if (c != 'h' && c != 'H') continue;
    const McnCollected got = x.Receive(c == 'h' ? rs.substr(0, 5) : rs.substr(5));
    out += got.status == Status::Accepted ? got.echo : got.status == Status::Waiting ? "w" : "d";
  }
  return out + " " + std::to_string(x.Misses()) + (x.ReplyReady() ? "+" : "");
}

TEST(ExchangeTest, TimeOutResendAndMisses) {
  for (auto [name, script, after] : {
           std::array<const char*, 3>{"reply in time", "sttrt", "WWI 0+"},
           {"reply in two pieces", "stxt", "WI 0+"},
           {"a reply after a miss clears the count", "sttt st r", "WWRW 0+"},
           {"another command's echo is no reply", "settt", "WWR 1"},
           {"re-sent, timed out again: give up; a reply then is too late", "sttt sttt r t",
            "WWRWWGI 0"},
           {"a new request restarts the ticks, not the misses", "sttt stt stt", "WWRWWWW 1"},
       }) {
    MctcNetExchangeCore x({3, 2});
    EXPECT_EQ(Play(x, script), after) << name;
  }
  // By default: forty ticks, three misses.
  MctcNetExchangeCore x;
  const std::string send = "s" + std::string(40, 't'), wait(39, 'W');
  EXPECT_EQ(Play(x, send + send + send), wait + "R" + wait + "R" + wait + "G 0");
  // Overlapping requests (a poll that does not wait): a reply split across the next request
  // is still collected, and a late reply to an earlier command comes back with its own echo
  // and is no reply. By default each request starts afresh and other echoes drop.
  for (auto [requests, after] :
       {std::pair{McnRequests::Overlapping, "w@RSW 0+"}, {McnRequests::OneAtATime, "wdW 0+"}}) {
    MctcNetExchangeCore e({3, 2}, requests);
    EXPECT_EQ(Play(e, "ohsHtr"), after);
  }
}

// The frame senders: the test forms' ports, the engine-speed set-up's and form's.
TEST(SendersTest, RouteByTheActiveFlagsLoseWhatCannotBeWrittenAndWatchTheEngineSpeed) {
  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
  // Ports on in-memory devices; each write that reaches a device is logged as its number,
  // a blank and the bytes.
  std::vector<std::string> written;
  plat::SerialPort smoke{p.rt.serial}, gas{p.rt.serial}, rpmsu{p.rt.serial};
  std::shared_ptr<plat::MemoryDevice> devices[6];
  for (auto [port, n] : {std::pair{&smoke, 1}, {&gas, 2}, {&rpmsu, 5}}) {
    devices[n] = p.rt.serial.attachMemory(n);
    devices[n]->onWrite = [&written, n](std::string_view b) {
      written.push_back(std::to_string(n) + " " + std::string(b));
    };
    port->setCommPort(n);
    port->setPortOpen(n < 3);
  }
  TestFormPorts tests{&smoke, &gas};
  SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", "");  // no form in use
  l.GasFormActive = 1;
  SendMctcNetFrameToTestForms(l, tests, "GAS", "ID", "1", "");
  l.OpaFormActive = 1;  // both in use: the smoke form's port first
  SendOwnProtocolFrame(l, tests, 49, 'P', "");
  const std::string own = BuildOwnProtocolFrame(49, 'P', "");
  EXPECT_EQ(written,
            (std::vector<std::string>{"2 " + Ctl("<GAS|1|IDC7>"), "1 " + own, "2 " + own}));

  // A closed port, a form that is not loaded and a write that fails lose the frame.
  gas.setPortOpen(false);
  tests.AnfumoMSComm1 = nullptr;
  SendOwnProtocolFrame(l, tests, 49, 'P', "");
  tests.AnfumoMSComm1 = &smoke;
  devices[1]->onWrite = [](std::string_view) {
    throw plat::RuntimeError(plat::kErrPortIoFailed, "device gone");
  };
  EXPECT_NO_THROW(SendOwnProtocolFrame(l, tests, 49, 'P', ""));
  EXPECT_EQ(written.size(), 3u);

  // The engine-speed set-up opens its port first; one that cannot be opened ends the send.
  SendMctcNetFrameToRpmSetup(rpmsu, "RPM", "ID", "1", "");
  EXPECT_TRUE(rpmsu.PortOpen());
  rpmsu.setPortOpen(false);
  devices[5]->setAvailable(false);
  EXPECT_NO_THROW(SendMctcNetFrameToRpmSetup(rpmsu, "RPM", "ID", "1", ""));
  EXPECT_EQ(written.size(), 4u);

  // The engine-speed form's watchdog (the engine-speed tests play it through the form): a
  // send while the form is not loaded counts a miss and blanks nothing.
  EXPECT_FALSE(SendMctcNetFrameToRpmForm(l, nullptr, "RPM", "VA", "1", ""));
  EXPECT_EQ(l.RpmMissCount, 1);
}

// The reply parsers on malformed and boundary replies: one table whose rows run in order on
// one link state, so that a row shows what a failed parse keeps of the rows before it. A row:
// "<address|unit|command|data" (a checksum and ETX are added) or an opacimeter error code;
// what the parser of that address and command writes, ';' between the fields; for "@VA",
// "@RD" and the codes, ShowParseWarning, then "!", the first word and the instrument of the
// port hint if one came. Options: counter readings switched in, the port hint switched on,
// language code 2 or 3.
enum Opt { kExtern = 1, kWarn = 2, kLang2 = 4, kLang3 = 8 };
struct Row {
  const char *reply, *after;
  int opts = 0, commandLen = 0, unitLen = 1;  // commandLen 0: that of the command
};

template <class... T>
std::string J(const T&... fields) {
  std::ostringstream s;
  ((s << ';' << fields), ...);
  return s.str().substr(1);
}

class ParsersTest : public ::testing::Test {
 protected:
  std::string Run(const Row& r) {
    p.shell.ExternRpm = p.shell.ExternOilTemp = (r.opts & kExtern) ? 1 : 0;
    p.shell.LanguageCode = (r.opts & kLang2) ? 2 : (r.opts & kLang3) ? 3 : 1;
    if (r.opts & kWarn) l.ShowParseWarning = -1;
    const std::string_view text = r.reply;
    if (text[0] != '<') {
      const auto alarm = ShowOpaErrorCode(l, p.shell, text);
      return (alarm ? alarm->caption + ";" + alarm->text : "-") + ";" +
             std::to_string(l.ShowParseWarning);
    }
    const std::string cmd(text.substr(7, text.find('|', 7) - 7));
    const int c = r.commandLen != 0 ? r.commandLen : static_cast<int>(cmd.size()), u = r.unitLen;
    l.McnCommandLen = static_cast<std::int16_t>(c);
    l.McnDevNumberLen = u;
    const std::string f = Ctl(text) + "00>";
    PortHint hint;
    const std::string key = std::string(text.substr(1, 3)) + cmd;
    std::string out =
        key == "GASID" ? (ParseIdReply(l, f, c, u),
                          J(l.InstrMake, l.InstrModel, l.InstrHomologation, l.InstrSerial,
                            l.InstrExpiry, l.InstrVersion, l.McnIdField7, l.InstrVersionX1000,
                            l.GasSerialNumber, l.GasCheckExpiry))
        : key == "GAS@LA"
            ? (ParseGasLaReply(l, f, c, u),
               J(l.McnFuelText, l.McnSaField3, l.McnStrokes, l.McnHcRatio, l.McnOcRatio))
        : key == "GAS@LI" ? (ParseGasLiReply(l, f, c, u), l.McnLiField1)
        : key == "GASEH"  ? (ParseGasEhReply(l, f, c, u), l.McnEhField1)
        : key == "GASET"  ? (ParseGasEtReply(l, f, c, u), J(l.McnEtFlag, l.McnEtDate, l.McnEtTime))
        : key == "GAS@LS" ? (ParseGasLsReply(l, f, c, u), J(l.McnLsValue))
        : key == "GAS@RS" ? (ParseRsReply(l, f, c, u), J(l.McnRsStatus1, l.McnRsStatus2))
        : key == "GAS@VA" ? (hint = ParseGasVaReply(l, p.shell, f, c, u),
                             J(l.GasCO, l.GasCOcorr, l.GasCO2, l.GasHC, l.GasO2, l.GasLambda,
                               l.GasOilTemp, l.GasRpm, l.GasNOx))
        : key == "OPA@VA"
            ? (hint = ParseOpaMeasureReply(l, p.shell, f),
               J(l.OpaK, l.OpaN, l.OpaRpm, l.OpaOilTemp, l.OpaSmokeTemp, l.OpaCellTemp,
                 l.OpaValueField7, l.OpaValueText5, l.OpaValueText6, l.OpaValueText7))
        : key == "OPA@RD"
            ? (hint = ParseOpaRdReply(l, p.shell, f), J(l.OpaSupplyVoltage))
            : ((cmd == "VE"   ? ParseRpmVeReply
                : cmd == "VA" ? ParseRpmVaReply
                              : ParseRpmTpReply)(l, f, c, u),
               J(l.RpmReplyText1, l.RpmReplyText2, l.RpmCounterRpm, l.RpmCounterOilTemp));
    if (cmd == "@VA" || cmd == "@RD") out += ";" + std::to_string(l.ShowParseWarning);
    const bool gas = hint && hint->find("GAS") != std::string::npos;
    if (hint) out += "!" + hint->substr(0, hint->find(' ')) + (gas ? " gas" : " smoke");
    return out;
  }

  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
};

TEST_F(ParsersTest, MalformedAndBoundaryReplies) {
  p.shell.LangText[lang::CRITICTcam] = "CELLA";
  l.RpmCounterRpm = 1450;
  l.RpmCounterOilTemp = 92.25;
  const Row rows[] = {
      // Six fields: the seventh reads "" from the two ETBs put after the data.
      {"<GAS|1|ID|A|B|C|D|01012024|4.005", "A;B;C;D;01/01/2024;4.005;;4005;D;01/01/2024"},
      // Five: the version reads "", the seventh is missing; the gas copies were made.
      {"<GAS|1|ID|M|N|O|NEWSN|02032026", " ; ; ; ; ; ; ;4005;NEWSN;02/03/2026"},
      {"<GAS|1|ID|A", " ; ; ; ; ; ; ;4005;NEWSN;02/03/2026", 0, -5},  // lengths out of range
      {"<GAS|1|ID|A", " ; ; ; ; ; ; ;4005;NEWSN;02/03/2026", 0, 2, 30000},
      // Windows-1252 fields; a short date is cut as far as it goes.
      {"<GAS|1|ID|Citt\xE0|\x80|||||", "Città;€;;;//;;;0;;//"},
      {"<GAS|1|@LA|GPL|CAT|04|2|2.570", "GPLCAT;04;2;2.570;"},
      {"<GAS|1|@LA|METANO|CAT|04", " ; ; ; ; "},
      {"<GAS|1|@LI", " "},
      {"<GAS|1|EH", " "},
      {"<GAS|1|ET|R|00002024|0930", "R;01/01/2024;09:30"},
      {"<GAS|1|ET|I|15072023", "I;15/07/2023;:"},
      {"<GAS|1|ET|E", " ;01/01/2000; "},
      {"<GAS|1|@LS|3.5", "4"},  // half to even
      {"<GAS|1|@LS|-12.5mbar", "-12"},
      {"<GAS|1|@LS|99999999999", "-12"},  // beyond 32 bits: kept
      {"<GAS|1|@RS|A", "65;23"},          // byte 3 is an ETB put after the data
      {"<GAS|1|@RS|\xC1|B", "193;66"},
      {"<GAS|1|@RS|XYZ", "88;90"},
      {"<GAS|1|@RS||Q", "88;90"},  // an empty first field stores nothing
      // Eight fields: NOx reads 0, no hint. Numbers: the leading number, "." only.
      {"<GAS|1|@VA|1|1|1|1|1|1|1|900", "1;1;1;1;1;1;1;900;0;-1", kWarn},
      {"<GAS|1|@VA|-1|2,5| 3.5%|abc||1|2|3|4", "-1;2;3.5;0;0;1;2;3;4;-1"},
      // Seven: engine speed reads 0, the ninth is missing: the hint, once.
      {"<GAS|1|@VA|5|5|5|5|5|5|5", "5;5;5;5;5;5;5;0;4;0!SCEGLIERE gas"},
      {"<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0"},
      {"<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0!CHOOSE gas", kWarn | kLang2},
      {"<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0!SCEGLIERE gas", kWarn | kLang3},
      {"<GAS|1|@VA|1|1|1|1|1|1|60|800|3", "1;1;1;1;1;1;92.25;1450;3;0", kExtern},
      // With the counter's readings the eighth field is still needed.
      {"<GAS|1|@VA|1|1|1|1|1|1|60", "1;1;1;1;1;1;92.25;1450;3;0!SCEGLIERE gas", kExtern | kWarn},
      // An oil temperature beyond a single fails.
      {"<GAS|1|@VA|2|2|2|2|2|2|999999999999999999999999999999999999999|800|3",
       "2;2;2;2;2;2;92.25;1450;3;0!SCEGLIERE gas", kWarn},
      {"<OPA|1|@VA|1|2|3|4|888.0|6|7", "1;2;1450;92.25;888;6;7;888.0;6;7;0", kExtern},
      {"<OPA|1|@VA|1|2|3|4|5|6", "1;2;3;4;5;6;0;5;6;;-1", kWarn},
      {"<OPA|1|@VA|9|9|9|9|9", "9;9;9;9;9;0;0;9;;;0!SCEGLIERE smoke"},
      {"<OPA|1|@RD|a|b|c|d|e|12450", "12.45;0"},
      {"<OPA|1|@RD|1|2|3|4", "12.45;0!CHOOSE smoke", kWarn | kLang2},
      // "VA" and "TP" take the whole data text; too short: the texts blank, numbers kept.
      {"<RPM|1|VA|1450", "1450;;1450;92.25"},
      {"<RPM|1|TP|85.5|x", "1450;85.5|x;1450;85.5"},
      {"<RPM|1|VA", " ;85.5|x;1450;85.5"},
      {"<RPM|1|VE|", ";;0;0"},
      {"<RPM|1|VE|900|77", "900;77;900;77"},
      {"<RPM|1|TP", "900; ;900;77"},
      {"<RPM|1|VE", " ; ;900;77"},
      // Error codes: the alarm, English for language 2 only, the hint switched off.
      {"002", "ERROR 2;TURN OF SMOKE METER AND CLEAN OPTICAL PATH;0", kWarn | kLang2},
      {"003", "ERROR 3;SPENGERE OPACIMETRO;0", kWarn | kLang3},
      {"010", "ERROR 10;CELLA;0", kWarn | kLang2},
      {"001", "-;0", kWarn},  // known, without an alarm
      {"005", "-;0", kWarn},
      {"0020", "-;-1", kWarn},  // unknown
  };
  for (const Row& r : rows) EXPECT_EQ(Run(r), Ctl(r.after)) << r.reply;
  for (const char* code : {"004", "006", "007"}) EXPECT_TRUE(ShowOpaErrorCode(l, p.shell, code));
}

}  // namespace
}  // namespace vs
