// The smoke test form: load, exchange cycle, START, its buttons and unload; each protocol's
// conversation with a simulated opacimeter from F3 to measuring; and whole series.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "shell/ProgramMessages.h"
#include "sim/Instrument.h"
#include "smoke/SmokeCycle.h"
#include "smoke/smoke_form_fixture.h"
#include "support/LineEvents.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

using test::SmokeFormTest;
using namespace std::string_literals;

// The exchange: sent, given up at T+41, repeated at T+42; a reply that loses its last byte
// waits until the time-out drops it, so that the reply to the repeat is judged alone.
TEST_F(SmokeFormTest, LoadSetsUpEachModelAndItsCycleTimesOutRepeatsAndRecoversFromALostByte) {
  // Model, speed code, unit; the port's settings, the device address and serial afterwards.
  using Row = std::tuple<int, std::int16_t, const char*, const char*, std::int16_t, const char*>;
  const Row rows[] = {
      {0, 1, "0", "1200,n,8,1", 81, "AM"},  {1, 2, "1", "9600,n,8,1", 65, "AQ"},
      {2, 3, "2", "19200,n,8,1", 65, "AN"}, {3, 4, "0", "38400,n,8,1", 65, "AP"},
      {4, 0, "0", "9600,n,8,1", 65, "AB"},  // a speed code out of range: the design's
      {5, 3, "1", "19200,n,8,1", 7, "XY"},  // MCTC-NET: address and serial untouched
  };
  for (const auto& [model, baud, unit, settings, address, serial] : rows) {
    SCOPED_TRACE(model);
    Station(model, unit);
    p_.shell.OpaBaudIndex = baud, p_.smoke.OpaDeviceAddress = 7, p_.link.InstrSerial = "XY";
    ANFUMO& f = Open();
    const bool mcn = model == 5;
    const std::string u = *unit == '1' ? "HSU" : "%";
    // MCTC-NET adds the chart mode to the list.
    EXPECT_EQ(std::tuple(f.Label17.Caption() + " " + f.Label44.Caption(), f.Label4.Caption(),
                         f.Label56.Caption(), f.Combo1.ListCount(), f.Combo1.ListIndex(),
                         f.Command6.Enabled(), f.Label29.Visible(), f.Command1.Enabled()),
              std::tuple("OPA-735 AQ4711", u, u, mcn ? 7 : 6, 0, mcn, mcn, false));
    EXPECT_EQ(std::tuple(p_.link.ActiveComMode, p_.smoke.OpaDeviceAddress, p_.link.InstrSerial,
                         p_.shell.SmokeRpmMax, f.MSComm1.PortOpen(), f.MSComm1.CommPort(),
                         f.MSComm1.Settings()),
              std::tuple(mcn ? 2 : 1, address, serial, 4500.0f, true, kPort, settings));
    const std::string request = mcn ? McnId() : OwnFirst(address);
    sim::Instrument opa(sim::Device::Opacimeter, mcn ? sim::Protocol::Mctc : sim::Protocol::Binary,
                        model);
    const std::string reply = opa.replyTo({mcn ? "ID" : "1", ""});
    ASSERT_EQ(Ticks(), request);
    ASSERT_EQ(Ticks(40), "");  // a time-out before T+41 would repeat the request
    ASSERT_NE(f.Label2.Caption(), kSmokeComError);
    EXPECT_EQ(Ticks() + f.Label2.Caption(), kSmokeComError);
    EXPECT_EQ(Ticks(), request);
    device_->send(reply.substr(0, reply.size() - 1));
    EXPECT_EQ(Ticks() + f.ReplyBuffer, reply.substr(0, reply.size() - 1));
    EXPECT_EQ(Ticks(40) + f.ReplyBuffer, "");
    EXPECT_EQ(Ticks(), request);
    device_->send(reply.substr(0, 4));  // in two pieces
    EXPECT_EQ(Ticks(), "");
    device_->send(reply.substr(4));
    EXPECT_NE(Ticks(), "");  // handled: the next request goes out on the next tick
    ui_.click(f.CmdOut);
    EXPECT_FALSE(f.IsLoaded());
  }
  // A port that does not open is told, and the form runs on into the time-out. A station
  // without the serial number shows none, not the model's text.
  WriteConf("[COMOPA]\r\nModello=OPA-735\r\n[MODOPA]\r\nModello=5\r\nUnitOpa=1\r\n");
  p_.shell.OpaComPort = 9;
  ui_.answerBox();
  Open();
  Ticks(42);  // the request tick and 41 more
  EXPECT_EQ(std::tuple(ui_.lastBox().text.starts_with("COM9 cannot be opened\r\n"),
                       ui_.lastBox().icon, f_.Label2.Caption()),
            std::tuple(true, plat::MsgBoxIcon::Critical, "ERRORE COM"));
  EXPECT_EQ(std::tuple(f_.Label17.Caption(), f_.Label44.Caption(), p_.shell.OpaUnitIndex),
            std::tuple("OPA-735", "", 1));
}

// Line events while a reply is half in: a beep or nothing, as each code says; the reply
// waits on.
TEST_F(SmokeFormTest, LineEventsBeepOrPassAsTheirCodeSays) {
  Station(5);
  ANFUMO& f = Open();
  ASSERT_EQ(Ticks(), McnId());
  device_->send("\x02OP");
  ui_.settle();
  for (const auto& [code, beeps] : plat::test::kLineEventRows) {
    SCOPED_TRACE(code);
    const int before = ui_.beeps();
    device_->raiseLineEvent(code);
    ui_.settle();
    EXPECT_EQ(std::tuple(ui_.beeps() - before, f.MSComm1.CommEvent(), f.ReplyBuffer,
                         p_.smoke.OpaReplyReady, ui_.boxes().size()),
              std::tuple(beeps ? 1 : 0, code, "\x02OP", 0, std::size_t{0}));
  }
}

TEST_F(SmokeFormTest, StartAsksTheLinkForAZeroAndPresetsTheSeries) {
  // Model and mode; the phase and the link state after START, before the next tick.
  using Row = std::tuple<int, int, const char*, const char*>;
  for (const auto& [model, mode, phase, linkState] :
       {Row{5, 0, "CONTINUA", "STARTMIS"}, Row{5, 6, "AVVIOALTO", "STARTMIS"},
        Row{1, 4, "DUE", "INIZIO"}, Row{1, 5, "DUE", "INIZIO"}}) {
    SCOPED_TRACE(mode);
    p_.shell.ExclamPending = 0;
    Station(model);
    ANFUMO& f = Open();
    ui_.choose(f.Combo1, mode);
    f.Command1.setEnabled(true);
    p_.smoke.AccIndex = 3, p_.smoke.AccPeakK = 2;
    f.Label36(2).setCaption("1.5");
    ui_.click(f.Command2);
    EXPECT_EQ(std::tuple(f.TestPhase, f.LinkState, f.RequestedLinkState, f.Command1.Enabled(),
                         p_.shell.ExclamPending != 0),
              std::tuple(phase, linkState, "STARTMIS", mode != 4 && mode != 5, model == 5));
    EXPECT_EQ(std::tuple(p_.smoke.AccIndex, p_.smoke.AccPeakK, p_.smoke.AccMinRpm,
                         f.Label36(2).Caption() + f.Label37(7).Caption(), p_.smoke.AccKState[7]),
              std::tuple(0, 0.0, 10000.0, "00", 4));
    ui_.click(f.CmdOut);
  }
}

// A second opening starts from nothing of the first (a stand-by request left behind would
// send "SB" before "ID") and adds the chart mode only once.
TEST_F(SmokeFormTest, StandByLogLimitsReportUnloadAndAFreshSecondOpening) {
  Station(5);
  p_.shell.ExternRpm = 1;
  p_.rt.serial.attachMemory(p_.shell.RpmComPort = 1);  // the counter's line
  p_.rpm.Show();
  ASSERT_TRUE(p_.rpm.IsLoaded());
  p_.menu.Timer1.setEnabled(false);
  ANFUMO& f = Open();
  using Opens = std::pair<plat::CommandButton*, plat::Form*>;
  for (const Opens& o : {Opens{&f.Command3, &p_.limiti}, Opens{&f.Command4, &p_.stampaOpaB}}) {
    plat::Form* form = o.second;
    ui_.onModal(*form, [&] {
      EXPECT_EQ(Ticks(), McnId());
      Ticks(41);
      EXPECT_EQ(f.Label2.Caption(), kSmokeComError);
      ui_.close(*form);
    });
    p_.rt.loop.setLocalTime({2026, 12, 6, 10, 30, 0});
    ui_.click(*o.first);
    f.Label2.setCaption("");
  }
  EXPECT_EQ(p_.smoke.MeasureEnd, (plat::DateTime{2026, 12, 6, 10, 30, 0}));
  ui_.click(f.Command6);
  EXPECT_EQ(f.RequestedLinkState + " " + f.LinkState, "RSTSB STANDBY");
  // "smoke.log": a line for each reply while logging and measuring; one that cannot be
  // written is lost, told after the reply, and the test goes on.
  p_.link.InstrSerial = "AQ12\xC3\xA9";  // "é"
  const auto reply = [&](double k) {
    p_.link.OpaK = k, p_.link.OpaN = 14.5, p_.link.OpaRpm = 800, p_.link.OpaOilTemp = 80;
    p_.link.OpaCellTemp = 75, p_.link.OpaSmokeTemp = 888;
    f.ShowSmokeReadings(smoke::Protocol::MctcNet);
  };
  const std::filesystem::path log = bin_ / "smoke.log";
  p_.shell.AmbientPressure = "101,3";  // not a number under "." settings: no correction
  reply(0.5);                          // logging off
  ui_.focus(f.Combo1);
  ui_.enter(f);  // the log button is the default one
  EXPECT_EQ(std::tuple(f.LogFlag, f.Command7.Caption()), std::tuple(true, "LOG ON"));
  reply(0.5);  // the status line does not show the measuring text
  EXPECT_FALSE(std::filesystem::exists(log));
  f.Label2.setCaption(p_.shell.LangText[lang::ANFUMOMisura]);
  reply(0.5);
  p_.shell.AmbientPressure = "90";  // corrected before it is shown and logged
  reply(0.2);
  EXPECT_EQ(f.Label27.Caption() + " " + f.Label26.Caption(), "0 OutRange");
  const std::string logged = plat::test::ReadBytes(log);
  EXPECT_EQ(logged,
            "0.5\t14.5\t800\t80\t75\tOutRange\t06/12/2026 10:30:01\tAQ12\xE9 \r\n"
            "0\t14.5\t800\t80\t75\tOutRange\t06/12/2026 10:30:01\tAQ12\xE9 \r\n");
  ui_.esc(f);  // and the cancel one
  EXPECT_EQ(std::tuple(f.LogFlag, f.Command7.Caption()), std::tuple(false, "LOG OFF"));
  reply(0.5);
  EXPECT_EQ(plat::test::ReadBytes(log), logged);
  std::filesystem::remove(log);
  std::filesystem::create_directory(log);  // cannot be opened as a file
  ui_.click(f.Command7);
  f.TestPhase = "DUE", p_.shell.AmbientPressure = "";
  reply(1.5);
  EXPECT_EQ(
      f.Label27.Caption() + " " + f.Label36(0).Caption() + " " + std::to_string(ui_.boxes().size()),
      "1.5 1.5 0");
  ui_.answerBox();
  ui_.settle();
  EXPECT_EQ(ui_.lastBox().text,
            MessageText(p_.shell, Msg::LogNotWritten, {log.string(), "Is a directory"}));
  f.LastStatusWord = "00048", f.ValuesInvalid = 1, f.PhaseDeadline = 999999;
  f.AutoZeroStatusCount = 3, f.ParamPollCounter = 7, f.ReplyBuffer = "\x02OPA";
  p_.shell.SmokeRpmMax = -1e9f, p_.shell.SmokeRpmMin = 1500.5f;  // beyond what is kept
  ui_.click(f.CmdOut);
  EXPECT_EQ(std::tuple(f.MSComm1.PortOpen(), p_.link.OpaFormActive, p_.rpm.IsLoaded(),
                       p_.menu.Timer1.Enabled(), Ticks(50)),
            std::tuple(false, 0, false, true, ""));
  EXPECT_NE(ReadConf().find("RN=1500\r\nMX=-32768\r\n"), std::string::npos) << ReadConf();

  Open();
  EXPECT_EQ(Ticks(), McnId());
  EXPECT_EQ(
      std::tuple(f.LinkState + f.RequestedLinkState + f.LastStatusWord + f.TestPhase,
                 f.ValuesInvalid + f.PhaseDeadline + f.AutoZeroStatusCount + f.ParamPollCounter,
                 f.SmokeTickCount, f.Command7.Caption(), f.Combo1.ListCount()),
      std::tuple("INIZIO", 0, 1, "LOG OFF", 7));
}

// F3 from the start menu; the requests the simulated opacimeter receives, one a tick.
class SmokeConversationTest : public SmokeFormTest {
 protected:
  void Listen(sim::Instrument& opa, int model) {
    Station(model);
    sim::Attach(opa, device_, &p_.rt.loop);
    opa.onRequest = [this](std::string_view, const sim::Request& r) {
      if (first_ < 0) first_ = p_.rt.loop.now();
      EXPECT_EQ((p_.rt.loop.now() - first_) / kTickMs, count_++) << r.command;
      asked_ += (asked_.empty() ? "" : ",") + r.command + (r.data.empty() ? "" : " ");
      for (const char c : r.data)
        asked_ += c >= 32 && c < 127 ? std::string(1, c) : std::to_string(c);
    };
    p_.menu.Show();
  }
  std::string asked_;
  plat::Millis first_ = -1;
  int count_ = 0;
};

TEST_F(SmokeConversationTest, BinaryModel0FromItsStartNoticeToMeasuring) {
  sim::Instrument opa(sim::Device::Opacimeter, sim::Protocol::Binary, 0);
  opa.identity.serial = "AM654321", opa.identity.expiry = "30062031";
  opa.opa = {.k = 0.42, .n = 16.3, .rpm = 780, .cellTemp = 76};
  opa.play(sim::Scenario{}
               .state(sim::Moment::Request(1), "warmup")
               .state(sim::Moment::Request(7), "ready"));
  Listen(opa, 0);
  bool timerOffBehindNotice = false;
  ui_.onModal(p_.exclamStampa, [&] {
    timerOffBehindNotice = !f_.Timer1.Enabled();
    ui_.advance(5000);  // the operator reads for five seconds
    ui_.click(p_.exclamStampa.Command1);
  });
  ui_.fkey(p_.menu, 3);
  ui_.advance(kTickMs);  // the first tick shows the notice; the first request follows its closing
  ui_.advance(11 * kTickMs);
  // The channel list (count 8, channels 3 5 6 0 2 8 1 7) again after each warm-up status.
  EXPECT_EQ(asked_, "1,a,# 835602817,?,# 835602817,?,# 835602817,?,P,?,P,?");
  EXPECT_EQ(std::tuple(timerOffBehindNotice, p_.shell.ExclamStampaMessage,
                       p_.link.InstrSerial + " " + p_.link.InstrExpiry, f_.Label2.Caption(),
                       f_.CmdOut.Enabled()),
            std::tuple(true, t_[lang::ANFUMOExclStamp2], "AM654321 30/06/2031",
                       t_[lang::ANFUMOAttivo], true));
  EXPECT_EQ(std::vector({p_.link.OpaK, p_.link.OpaN, p_.link.OpaRpm, p_.link.OpaCellTemp}),
            std::vector({0.42, 16.3, 780.0, 76.0}));
}

TEST_F(SmokeConversationTest, McnFromOpeningToMeasuring) {
  sim::Instrument opa(sim::Device::Opacimeter, sim::Protocol::Mctc, 5);
  opa.identity.version = "4.5";  // "@ST" from version 4.005 on
  opa.opa.cellTemp = 60;
  opa.params = {{"020", "00016"}, {"021", "00002"}};
  opa.play(sim::Scenario{}
               .state(sim::Moment::Request(1), "warmup")
               .state(sim::Moment::Request(6), "autozero")
               .state(sim::Moment::Request(20), "measuring"));
  Listen(opa, 5);
  // The supply voltage of the first five "@RD" replies (mV): the warning blinks from the first
  // low one. Its colour is taken at the request after each reply.
  const double millivolts[] = {10690, 10690, 10690, 10700, 10690};
  std::vector<plat::Color> shown;
  std::string visible;
  std::size_t told = 0;
  opa.onRequest = [&, listen = opa.onRequest](std::string_view to, const sim::Request& r) {
    listen(to, r);
    if (told > shown.size() && shown.size() < std::size(millivolts)) {
      shown.push_back(f_.Label30.BackColor());
      visible += f_.Label30.Visible() ? '1' : '0';
    }
    if (r.command == "@RD" && told < std::size(millivolts))
      opa.opa.supplyMillivolts = millivolts[told++];
  };
  ui_.fkey(p_.menu, 3);
  ui_.advance(40 * kTickMs);
  // Identified, lock "021", warm-up; values in warm-up too, until the fourth brings the
  // lock parameter; auto-zero: parameter and status, the fourth status "@RS" in place of
  // the parameter; measuring.
  const std::string expected =
      "ID,@LU 21,@ST,@RS,@VA,@RS,@VA,@RS,@VA,@RS,@VA,@LU 20,@ST,"
      "@LU 21,@ST,@LU 20,@ST,@LU 21,@ST,@RS,@ST,"
      "@RS,@VA,@RS,@VA,@RS,@VA,@RS,@VA,@LU 20,@ST";
  EXPECT_EQ(asked_.substr(0, expected.size()), expected);
  EXPECT_EQ(
      std::tuple(p_.link.InstrSerial, f_.Label2.Caption(), f_.Label29.Caption(), p_.link.OpaK),
      std::tuple("AQ123456", t_[lang::ANFUMOMisura], t_[lang::ANFUMOSlAperta], 0.35));

  ui_.advance(160 * kTickMs);
  using namespace plat::colors;
  EXPECT_EQ(std::tuple(shown, visible),
            std::tuple(std::vector<plat::Color>({kRed, kCyan, kRed, kWhite, kRed}), "11101"));
}

// A "smoke.log" line that cannot be written is told once per opening, after the reply, in
// the operator's language; the opacimeter is asked on a request a tick meanwhile, and the
// lines come back when the file takes them again.
TEST_F(SmokeConversationTest, ALogLineNotWrittenIsToldOncePerOpeningAndLoggingResumes) {
  sim::Instrument opa(sim::Device::Opacimeter, sim::Protocol::Mctc, 5);
  opa.setState("measuring");
  opa.params = {{"020", "00016"}, {"021", "00001"}};
  Listen(opa, 5);
  p_.shell.LanguageCode = 3;
  const std::filesystem::path log = bin_ / "smoke.log";
  std::filesystem::create_symlink("/dev/full", log);  // after the start deleted the logs
  const auto measure = [&] {
    ui_.fkey(p_.menu, 3);
    ui_.advance(40 * kTickMs);
    ASSERT_EQ(f_.Label2.Caption(), t_[lang::ANFUMOMisura]);
    ui_.click(f_.Command7);
  };
  const auto values = [&] {
    return std::ranges::count(opa.requests, "@VA", &sim::Request::command);
  };
  measure();
  ui_.answerBox(plat::MsgBoxResult::OK, 1000);  // open for a second
  const auto before = values();
  ui_.advance(kTickMs);
  ui_.advance(40 * kTickMs);
  EXPECT_GE(values() - before, 30);  // asked on under the box and after it, none told again
  const std::string told =
      MessageText(3, Msg::LogNotWritten, {log.string(), "No space left on device"});
  EXPECT_EQ(std::tuple(ui_.boxes().size(), ui_.lastBox().text, ui_.lastBox().icon),
            std::tuple(1u, told, plat::MsgBoxIcon::Exclamation));

  std::filesystem::remove(log);
  ui_.advance(20 * kTickMs);
  std::istringstream lines(plat::test::ReadBytes(log));
  int whole = 0, torn = 0;
  for (std::string line; std::getline(lines, line, '\n');)
    ++(line.ends_with(" \r") && std::ranges::count(line, '\t') == 7 ? whole : torn);
  EXPECT_EQ(std::tuple(whole >= 5, torn), std::tuple(true, 0)) << whole;
  std::filesystem::remove(log);
  std::filesystem::create_directory(log);
  ui_.advance(10 * kTickMs);
  EXPECT_EQ(ui_.boxes().size(), 1u);  // not again in the same opening

  ui_.click(f_.CmdOut);
  ui_.answerBox();
  measure();
  ui_.advance(2 * kTickMs);
  EXPECT_EQ(std::tuple(ui_.boxes().size(), ui_.lastBox().text),
            std::tuple(2u, MessageText(3, Msg::LogNotWritten, {log.string(), "Is a directory"})));
}

// A whole series: F3, a mode and START; an operator follows the instruction line (by hand:
// his own rhythm and the capture button) while the opacimeter measures the engine he drives.
// The instruction line as it changed, a letter a text with its colour: N neutral, Z auto-zero,
// C cold cell, A accelerate, H hold at full speed (3 s, 120 ticks), R release, I idle,
// E complete; after a letter, the ticks the phase before lasted (the change comes on the
// first value reply after them).
std::string ExpectedLine(int mode, bool mcn) {
  // Continuous: nothing but the cell; by hand only the warm-up; over MCTC-NET the neutral text.
  if (mode == 0) return mcn ? "N Z N" : "N Z C N";
  if (mode >= 4) return mcn ? "N Z C N E" : "N Z C E";
  // Modes 1 to 3 decide at the fifth acceleration, shown on the reply of the capture.
  // MCTC-NET shows the cold cell; a timed cycle starts at idle. The lengths: idle at start,
  // first acceleration, acceleration, release, idle (0: none); speed and k time only the idle.
  std::array<int, 5> n = {0, 0, 0, 0, 200};
  if (mode == 3) n = mcn ? std::array{250, 50, 50, 50, 200} : std::array{200, 54, 50, 50, 120};
  const auto len = [](int ticks) { return ticks ? std::to_string(ticks) : ""; };
  std::string s = std::string(mcn ? "N Z C" : "N Z") + (mode == 3 ? " I" : "") + " A" + len(n[0]);
  for (int i = 0; i < 4; ++i)
    s += " H" + len(n[i ? 2 : 1]) + " R120 I" + len(n[3]) + " A" + len(n[4]);
  return s + " H" + len(n[2]) + " E120";
}

class SeriesFormTest : public SmokeFormTest,
                       public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(SeriesFormTest, RunsAWholeSeriesOnTheForm) {
  const auto [mode, mcn] = GetParam();
  // Peak k of the eight accelerations: the mean of the third to fifth (1.27) is the first
  // within K = 1.5, and the first three (2.0) are not 1.5 times K.
  constexpr double kPeaks[8] = {2.4, 2.0, 1.6, 1.2, 1.0, 1.0, 1.0, 1.0};
  constexpr double kIdle = 800, kFull = 4600, kRevs = 1200;  // per 100 ms
  sim::Instrument opa(sim::Device::Opacimeter, mcn ? sim::Protocol::Mctc : sim::Protocol::Binary,
                      mcn ? 5 : 1);
  opa.params = {{"020", "00016"}, {"021", "00001"}};  // the slide open
  opa.setState(mcn ? "measuring" : "ready");
  opa.opa.cellTemp = 65;
  sim::Attach(opa, device_, &p_.rt.loop);
  Station(mcn ? 5 : 1, "0", "RN=1000\r\nMX=4000\r\nON=0.5\r\nVK=1.5\r\n");
  int closingBoxes = 0;
  ui_.onEveryModal(p_.exclam, [&] {
    ++closingBoxes;
    EXPECT_EQ(p_.exclam.Label1.Caption(), t_[lang::ANFUMOExclStamp4]);
    ui_.click(p_.exclam.Command1);
  });
  ui_.onEveryModal(p_.exclamStampa, [&] { ui_.click(p_.exclamStampa.Command1); });
  p_.menu.Show();
  ui_.fkey(p_.menu, 3);
  ui_.advance(2000);  // identified and measuring
  ui_.choose(f_.Combo1, mode);
  ui_.click(f_.Command2);

  const auto letter = [&] {
    const std::pair<std::string, plat::Color> letters[] = {
        {t_[lang::ANFUMOFase], 0xFFFFFF},    {t_[lang::ANFUMOAutzer], 0xFFFFFF},
        {t_[lang::ANFUMOAttRisc], 0xFFFFFF}, {t_[lang::ANFUMOAcc], 0x80FF},
        {t_[lang::ANFUMOManMax], 0xFFFF00},  {t_[lang::ANFUMODec], 0xFF80FF},
        {t_[lang::ANFUMOManMin], 0xFF00},    {t_[lang::ANFUMOConcl], 0xFF8080}};
    const auto shown = std::pair(f_.Label39.Caption(), f_.Label39.BackColor());
    return "NZCAHRIE?"[std::find(letters, letters + 8, shown) - letters];
  };
  std::vector<std::pair<char, int>> line = {{letter(), f_.SmokeTickCount}};
  bool cellRed = false, throttle = false;
  double rpm = kIdle;
  const bool byHand = mode == 4 || mode == 5;
  for (int tick = 0; tick < 3000; ++tick) {
    if (tick % 4 == 0) {                                    // the engine, every 100 ms
      if (byHand) throttle = tick > 80 && tick % 200 < 80;  // 2 s on, 3 s off
      rpm = throttle ? std::min(kFull, rpm + kRevs) : std::max(kIdle, rpm - kRevs);
      const double peak = kPeaks[std::clamp<int>(p_.smoke.AccIndex, 0, 7)];
      opa.opa.k = 0.2 + (peak - 0.2) * (rpm - kIdle) / (kFull - kIdle);
      opa.opa.n = 100 * (1 - std::exp(-opa.opa.k * 0.43));
      opa.opa.rpm = rpm, opa.opa.cellTemp = tick <= 80 ? 65 : 75;  // warm after two seconds
    }
    ui_.advance(kTickMs);
    cellRed = cellRed || f_.Label24.BackColor() == plat::colors::kRed;
    if (letter() != line.back().first) line.emplace_back(letter(), f_.SmokeTickCount);
    // The operator follows the line, or in the manual modes captures at idle.
    const char now = line.back().first;
    if (now == 'A' || now == 'H') throttle = true;
    if (now == 'R' || now == 'I') throttle = false;
    if (byHand && tick > 200 && tick % 200 == 196 && f_.Command1.Enabled()) ui_.click(f_.Command1);
  }
  // The line as seen, each length as expected when within the first value reply after it.
  const std::string expectedLine = ExpectedLine(mode, mcn);
  std::istringstream expected(expectedLine);
  std::string seen, want;
  for (std::size_t i = 0; i < line.size(); ++i) {
    seen += (i ? " " : "") + std::string(1, line[i].first);
    if (!(expected >> want) || want.size() == 1) continue;
    const int lasted = line[i].second - line[i - 1].second, after = std::stoi(want.substr(1));
    seen += std::to_string(after < lasted && lasted <= after + 6 ? after : lasted);
  }
  // Over MCTC-NET mode 0 leaves the cell alone; a closing box once per START; the series
  // ends at the eighth acceleration by hand, else at the fifth.
  EXPECT_EQ(std::tuple(seen, cellRed, f_.Label24.BackColor(), p_.smoke.AccIndex, closingBoxes,
                       f_.TestPhase),
            std::tuple(expectedLine, !(mcn && mode == 0), plat::colors::kWhite,
                       std::array{0, 8, 8, 8, 10, 10}[mode], mcn && mode != 0 ? 1 : 0,
                       mode == 0 ? "CONTINUA" : " "));
  if (mode == 0) return;
  const bool d = mode != 5;  // direct acquisition: eight rows, no verdict
  using K = std::array<std::int16_t, 8>;
  EXPECT_EQ(
      std::tuple(f_.Label35.Caption() + " " + f_.Label55.Caption(), f_.Label33.Caption(),
                 f_.Label33.BackColor(), p_.smoke.SmokeResultText, p_.smoke.AccelsUsed,
                 p_.smoke.AccKState, f_.Label36(4).Caption()),
      std::tuple(d ? "1.27 26.2" : "0 0", t_[d ? lang::GeneralePos : lang::ANFUMOEsito],
                 d ? plat::colors::kGreen : plat::colors::kWhite,
                 t_[d ? lang::GeneralePos : lang::ANFUMOMis15], d ? "3,4,5" : "",
                 d ? K{4, 4, 3, 3, 3, 4, 4, 4} : K{3, 3, 3, 3, 3, 3, 3, 3}, p_.smoke.AccK[4]));
  if (byHand) {
    EXPECT_EQ(f_.Command1.Caption() + (f_.Command1.Enabled() ? " on" : ""), t_[lang::ANFUMOAvan]);
  }
}

std::string ModeName(const ::testing::TestParamInfo<std::tuple<int, bool>>& info) {
  const char* names[] = {"Continuous", "Speed", "Smoke", "Timed", "Manual", "Direct"};
  return names[std::get<0>(info.param)] + std::string(std::get<1>(info.param) ? "Mctc" : "Binary");
}
INSTANTIATE_TEST_SUITE_P(Modes, SeriesFormTest,
                         ::testing::Combine(::testing::Range(0, 6), ::testing::Bool()), ModeName);

}  // namespace
}  // namespace vs
