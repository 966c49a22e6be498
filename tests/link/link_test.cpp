// The link layer: frames of both protocols, replies collected as the bytes arrive, the exchange
// of one port, the senders, the reply parsers, and the recognition form scanning the ports.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "forms/Program.h"
#include "forms/link/RiconosciMCTC.h"
#include "link/FrameCollector.h"
#include "link/LinkState.h"
#include "link/MctcNetExchange.h"
#include "link/MctcNetFrame.h"
#include "link/OwnProtocolExchange.h"
#include "link/Senders.h"
#include "link/SmokeRpmReplies.h"
#include "platform/core/Error.h"
#include "platform/serial/MemoryDevice.h"
#include "platform/serial/SerialPort.h"
#include "shell/LanguageTable.h"
#include "sim/Instrument.h"
#include "state/ProgramState.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"

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

// The MCTC-NET collectors: the test forms' (address GAS, unit 1, echo "@VA"), the set-ups' (any
// echo), the engine-speed forms' (address RPM, command of 2); the frame check alone.
TEST(FramesTest, McnRepliesCollectedAgainstTheHeader) {
  enum Who { T, S, R, C };  // test form, set-up, engine speed, the frame check
  // Input as in Ctl, '/' between arrivals; then A;echo;data, D or W;buffer, and ReplyFrameCount.
  const struct {
    Who who;
    const char *input, *after;
    McnExpect expect = {};
  } rows[] = {
      {T, "</GAS|1|@V/A|1.5|2.5/00>", "A;@VA;1.5|2.5;1"},  // judged at ETX
      {T, "<GAS|1|@VA00>", "A;@VA;;1"},
      {T, "<GASX1|@VA|100>", "D;1"},
      {T, "<GAS|1|@RS|A00>", "D;1"},   // the echo of an older command
      {T, "<GAS|12|@VA|100>", "D;1"},  // a longer unit shifts the echo
      {T, "<>", "D;1"},
      {T, "xy", "W;xy;0"},  // only a lone first byte other than STX goes
      {T, "x/<GAS|1|@VA|700>", "A;@VA;7;1"},
      // The rest of a late reply joined to the next; two replies in a burst.
      {T, "<GAS|1|@VA|0/<GAS|1|@VA|0.12|0.1000>", "A;@VA;0.12|0.10;1"},
      {T, "<GAS|1|@VA|100><GAS|1|@VA|200>", "A;@VA;2;1"},
      {S, "x", "W;x;0"},
      {S, "x/<GAS|1|@RS|M00>", "A;@RS;M;0"},
      {R, "/<RPM|1|VE|145000>", "A;VE;1450;0"},  // after an empty arrival
      {R, "<GAS|1|VA|100>", "D;0"},
      {C, "<GAS|1|@VA|100>", "D;0", {"GAS", -5, 3}},
      {C, "<GAS|1|@VA|100>", "A;;;0", {"GAS", 1000, 1000}},
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
      if (r.who == T) AppendReceived(buffer, in, true);
      if (r.who == C) buffer = in;
      got = r.who == T   ? CollectTestFormReply(l, buffer)
            : r.who == S ? CollectSetupReply(l, buffer, in)
            : r.who == R ? CollectRpmReply(l, buffer, in)
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

// Binary replies: a first byte other than STX goes, the reply must carry the address and command
// sent, is judged from its eighth byte, and dropped when longer than its length byte says.
TEST(FramesTest, BinaryRepliesCollectedAgainstTheRequest) {
  const auto reply = [](int a, char c) { return Bytes({2, a, 6, c, 0, 4}) + "AB" + Bytes({0, 3}); };
  const std::string ok = reply(16, '?');
  // The arrivals, and the check of the last: W waiting, D dropped, C complete.
  for (auto [arrivals, last] : {
           std::pair<std::vector<std::string>, char>{{ok}, 'C'},
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
       }) {
    OwnProtocolExchangeCore x;
    x.Sent(16, '?');
    OwnCollected got;
    for (const std::string& a : arrivals) got = x.Receive(a);
    EXPECT_EQ("WDC"[static_cast<int>(got.status)], last) << ::testing::PrintToString(arrivals);
    EXPECT_TRUE(x.ReplyReady() == (last == 'C') && got.frame == (last == 'C' ? ok : ""));
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

// Plays a script on an exchange: s "@VA" sent to "GAS", t tick (written I idle, W waiting, R
// re-send, G give up), r the reply, x the reply in two arrivals, e a reply echoing "ID"; o "@RS"
// sent, h and H the halves of its reply (written w waiting, d dropped or the echo taken). Then
// the misses, and "+" when the reply is ready.
std::string Play(MctcNetExchangeCore& x, std::string_view script) {
  std::string out;
  const std::string va = Ctl("<GAS|1|@VA|100>"), rs = Ctl("<GAS|1|@RS|00>");
  for (char c : script) {
    if (c == 's' || c == 'o') x.Sent("GAS", c == 's' ? "@VA" : "@RS", 1);
    if (c == 't') out += "IWRG"[static_cast<int>(x.Tick())];
    if (c == 'e') x.Receive(Ctl("<GAS|1|ID|100>"));
    if (c == 'x') x.Receive(va.substr(0, 4));
    if (c == 'r' || c == 'x') x.Receive(va.substr(c == 'x' ? 4 : 0));
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
           {"give up after a re-send; a reply then is too late", "sttt sttt r t", "WWRWWGI 0"},
           {"a new request restarts the ticks, not the misses", "sttt stt stt", "WWRWWWW 1"},
       }) {
    MctcNetExchangeCore x({3, 2});
    EXPECT_EQ(Play(x, script), after) << name;
  }
  // By default: forty ticks, three misses.
  MctcNetExchangeCore x;
  const std::string send = "s" + std::string(40, 't'), wait(39, 'W');
  EXPECT_EQ(Play(x, send + send + send), wait + "R" + wait + "R" + wait + "G 0");
  // Overlapping requests (a poll that does not wait) keep a reply split across the next request
  // and return a late reply with its own echo, as no reply; by default other echoes drop.
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
  // In-memory devices log each write as their number, a blank and the bytes.
  std::vector<std::string> written;
  plat::SerialPort smoke{p.rt.serial}, gas{p.rt.serial}, rpmsu{p.rt.serial};
  std::shared_ptr<plat::MemoryDevice> devices[6];
  for (auto [port, n] : {std::pair{&smoke, 1}, {&gas, 2}, {&rpmsu, 5}}) {
    devices[n] = p.rt.serial.attachMemory(n);
    devices[n]->onWrite = [&written, n = n](std::string_view b) {
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
  devices[1]->onWrite = [](auto) { throw plat::RuntimeError(plat::kErrPortIoFailed, "gone"); };
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
  // send while the form is not loaded counts a miss, blanks nothing and opens no port.
  l.RpmMissCount = 3;
  EXPECT_FALSE(SendMctcNetFrameToRpmForm(l, nullptr, "RPM", "VA", "1", ""));
  EXPECT_EQ(l.RpmMissCount, 4);
}

// The reply parsers on malformed and boundary replies, in order on one link state, so that a row
// shows what a failed parse keeps. A row: "<address|unit|command|data" (checksum and ETX added)
// or an opacimeter error code; the fields the parser writes; for "@VA", "@RD" and the codes,
// ShowParseWarning, then "!", the first word and the instrument of the port hint if one came.
// Options: counter readings switched in, the port hint switched on, language code 2 or 3.
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

TEST(ParsersTest, MalformedAndBoundaryReplies) {
  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
  const auto run = [&](const Row& r) {
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
  };
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
      {"<GAS|1|@LS", "-12"},
      {"<GAS|1|@RS|A", "65;23"},  // byte 3 is an ETB put after the data
      {"<GAS|1|@RS|\xC1|B", "193;66"},
      {"<GAS|1|@RS|XYZ", "88;90"},
      {"<GAS|1|@RS||Q", "88;90"},  // an empty first field stores nothing
      {"<GAS|1|@RS", "88;90"},
      // Eight fields: NOx reads 0, no hint. Numbers: the leading number, "." only.
      {"<GAS|1|@VA|1|1|1|1|1|1|1|900", "1;1;1;1;1;1;1;900;0;-1", kWarn},
      {"<GAS|1|@VA|-1|2,5| 3.5%|abc||1|2|3|4", "-1;2;3.5;0;0;1;2;3;4;-1"},
      // Seven: engine speed reads 0, the ninth is missing: the hint, once.
      {"<GAS|1|@VA|5|5|5|5|5|5|5", "5;5;5;5;5;5;5;0;4;0!SCEGLIERE gas"},
      {"<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0!CHOOSE gas", kWarn | kLang2},
      {"<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0!SCEGLIERE gas", kWarn | kLang3},
      {"<GAS|1|@VA|1|1|1|1|1|1|60|800|3", "1;1;1;1;1;1;92.25;1450;3;0", kExtern},
      // With the counter's readings the eighth field is still needed.
      {"<GAS|1|@VA|1|1|1|1|1|1|60", "1;1;1;1;1;1;92.25;1450;3;0!SCEGLIERE gas", kExtern | kWarn},
      // An oil temperature beyond a single fails.
      {"<GAS|1|@VA|2|2|2|2|2|2|1E39|800|3", "2;2;2;2;2;2;92.25;1450;3;0!SCEGLIERE gas", kWarn},
      {"<OPA|1|@VA|1|2|3|4|888.0|6|7", "1;2;1450;92.25;888;6;7;888.0;6;7;0", kExtern},
      {"<OPA|1|@VA|1|2|3|4|5|6", "1;2;3;4;5;6;0;5;6;;-1", kWarn},
      {"<OPA|1|@VA|9|9|9|9|9", "9;9;9;9;9;0;0;9;;;0!SCEGLIERE smoke"},
      {"<OPA|1|@VA", "9;9;9;9;9;0;0;9;;;0"},
      {"<OPA|1|@RD|a|b|c|d|e|12450", "12.45;0"},
      {"<OPA|1|@RD", "12.45;0"},
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
  for (const Row& r : rows) EXPECT_EQ(run(r), Ctl(r.after)) << r.reply;
  for (const char* code : {"004", "006", "007"}) EXPECT_TRUE(ShowOpaErrorCode(l, p.shell, code));
}

// The report of a scan, one letter a port: - no connect, x left out, g and r the identity
// lines of the gas analyser and of the counter, b an identity of four blanked texts.
std::string Report(std::string_view ports) {
  const std::map<char, std::string> lines = {{'-', " no connect"},
                                             {'g', "   KARVESTON   TOPAZ   AQ123456   1.5"},
                                             {'r', "   GIRITEC   RX-2   R0042   2.5"},
                                             {'b', std::string(3 + 4 + 3 * 3, ' ')}};
  std::string s;
  for (int n = 1; n <= 16; ++n)
    if (ports[n - 1] != 'x') s += "Com" + std::to_string(n) + lines.at(ports[n - 1]) + "\r\n";
  return s;
}

// Simulated instruments on some ports answering on time, late, split and malformed, silent
// lines and one that cannot be opened; then a scan stopped by Esc, one by closing the form.
TEST(RecognitionTest, ScanAsksEachPortInTurnAndReportsWhatAnswered) {
  Program p{plat::EventLoop::ClockKind::Manual};
  LoadLanguageTexts(p.shell, plat::test::DataFolder(), 1);
  plat::test::FormDriver ui{p.rt};
  RiconosciMCTC& f = p.riconosciMCTC;
  using enum sim::Device;
  using enum sim::Protocol;
  sim::Instrument gas{Gas, Mctc}, opa{Opacimeter, Mctc, 5}, rpm{EngineSpeed, Mctc}, late{Gas, Mctc};
  sim::Instrument malformed{Opacimeter, Mctc, 5};
  rpm.identity = {"GIRITEC", "RX-2", "OM-0815", "R0042", "01022031", "2.5", "7"};
  rpm.replyDelayMs = 450;  // still within its tick
  rpm.splitInto = 3;
  late.replyDelayMs = 600;                  // after the next tick: lost
  malformed.setReply("ID", "ONLY-A-MAKE");  // cannot be split: blanked, still ends the port
  const std::map<int, sim::Instrument*> on = {
      {2, &gas}, {3, &opa}, {5, &rpm}, {9, &malformed}, {11, &late}};
  // Every port is a line of its own, silent unless an instrument is on it; each frame the
  // form writes is one question: when, on which port, to which address (its first letter).
  std::shared_ptr<plat::MemoryDevice> lines[17];
  std::vector<std::string> asked;
  for (int n = 1; n <= 16; ++n) {
    lines[n] = p.rt.serial.attachMemory(n);
    if (on.contains(n)) sim::Attach(*on.at(n), lines[n], &p.rt.loop);
    lines[n]->onWrite = [&, n, before = lines[n]->onWrite](std::string_view bytes) {
      asked.push_back(std::to_string(p.rt.loop.now()) + " " + std::to_string(n) + bytes[1]);
      if (before) before(bytes);
    };
  }
  lines[7]->setAvailable(false);
  // The message and its colour, the start button when enabled, the timer when running, the
  // port box, the port scanned and the ports held open.
  const std::map<plat::Color, std::string> colours = {{plat::colors::kGreen, " green"},
                                                      {plat::colors::kYellow, " yellow"},
                                                      {plat::colors::kRed, " red"}};
  const auto shown = [&] {
    std::string s = f.Label3.Caption() + colours.at(f.Label3.BackColor()) +
                    (f.Command1.Enabled() ? " start" : "") + (f.Timer1.Enabled() ? " timer" : "") +
                    " [" + f.Text2.Text() + "] " + std::to_string(f.Port);
    for (int n = 1; n <= 16; ++n) s += lines[n]->isOpen() ? " open " + std::to_string(n) : "";
    return s;
  };
  f.Show();

  ui.enter(f);  // the start button is the default button
  EXPECT_EQ(shown(), "Ricerca in corso... green timer [] 1");
  ui.advance(500);
  EXPECT_EQ(shown(), "Ricerca in corso... green timer [Com1 GAS] 1 open 1");
  EXPECT_EQ(lines[1]->baud(), 9600);
  ui.advance(500 * 15);  // the tick that finds port 7 unopenable
  EXPECT_EQ(f.Text2.Text(), "Com7 KO");
  for (int i = 0; i < 60 && f.Port != 0; ++i) ui.advance(500);

  // One tick per question, one for the port that cannot be opened, one that ends the scan.
  std::vector<std::string> expected;
  plat::Millis t = 500;
  for (int n = 1; n <= 16; ++n, t += n == 7 ? 500 : 0) {
    for (int q = 0; q < "3123330323333333"[n - 1] - '0'; ++q, t += 500)
      expected.push_back(std::to_string(t) + " " + std::to_string(n) + "GOR"[q]);
  }
  EXPECT_EQ(asked, expected);
  EXPECT_EQ(p.rt.loop.now(), t);
  EXPECT_EQ(f.Text3.Text(), Report("-gg-r-x-b-------"));
  EXPECT_EQ(shown(), "Ricerca terminata yellow start [Com0] 0");
  // The last instrument that answered is the program's identity, as far as it parsed.
  EXPECT_EQ(p.link.InstrMake, " ");
  EXPECT_EQ(p.link.GasSerialNumber, "R0042");

  // Esc mid-scan: the next scan starts from an empty report, and ports not tried read
  // " no connect", also one that could not have been opened.
  ui.click(f.Command1);
  EXPECT_EQ(f.Text3.Text(), "");
  ui.advance(500 * 5 + 200);  // port 3 has been asked "GAS": its port is open
  ASSERT_TRUE(lines[3]->isOpen());
  ui.esc(f);
  EXPECT_EQ(shown(), "Ricerca terminata yellow start [Com0] 0");
  EXPECT_EQ(f.Text3.Text(), Report("-g--------------"));
  const auto questions = asked.size();
  ui.advance(5000);
  EXPECT_EQ(asked.size(), questions);  // the timer is off

  // A start closes a port left open so that its first port can open; closing the form mid-scan
  // closes its port and stops its timer; the next load is idle, and Esc then closes the form.
  f.MSComm3.setCommPort(9);
  f.MSComm3.setPortOpen(true);
  const plat::Millis started = p.rt.loop.now();
  ui.click(f.Command1);
  EXPECT_FALSE(lines[9]->isOpen());
  ui.advance(500);
  EXPECT_EQ(asked.back(), std::to_string(started + 500) + " 1G");
  ui.close(f);
  EXPECT_FALSE(lines[1]->isOpen());
  f.Show();
  EXPECT_EQ(shown(), "Premere Ricerca per iniziare red start [] 0");
  ui.advance(2000);
  EXPECT_EQ(asked.size(), questions + 1);
  ui.esc(f);
  EXPECT_FALSE(f.IsLoaded());
}

}  // namespace
}  // namespace vs
