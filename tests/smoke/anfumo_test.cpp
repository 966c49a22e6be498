// The smoke test form: its load in every model, the exchange cycle tick by tick against a
// scripted opacimeter in both protocols, START, the log switch and the unload.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim/Instrument.h"
#include "smoke/SmokeCycle.h"
#include "smoke/smoke_form_fixture.h"
#include "support/TempFolder.h"

namespace vs {
namespace {

using test::SmokeFormTest;

TEST_F(SmokeFormTest, LoadSetsUpEachModelItsPortAndItsFirstRequest) {
  struct Case {
    int model;
    std::int16_t baud;
    const char* unit;
    const char* settings;  // of the port after the load
    int modes;             // items of the mode list
    std::int16_t comMode, address;
    const char* serial;
    const char* unitCaption;
  };
  const Case cases[] = {
      {0, 1, "0", "1200,n,8,1", 6, 1, 81, "AM", "%"},
      {1, 2, "1", "9600,n,8,1", 6, 1, 65, "AQ", "HSU"},
      {2, 3, "2", "19200,n,8,1", 6, 1, 65, "AN", "%"},
      {3, 4, "0", "38400,n,8,1", 6, 1, 65, "AP", "%"},
      {4, 0, "0", "9600,n,8,1", 6, 1, 65, "AB", "%"},    // a speed code out of range: design
      {5, 3, "1", "19200,n,8,1", 7, 2, 7, "XY", "HSU"},  // address and serial untouched
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    Station(c.model, c.unit);
    p_.shell.OpaBaudIndex = c.baud;
    p_.smoke.OpaDeviceAddress = 7;
    p_.link.InstrSerial = "XY";
    ANFUMO& f = Open();
    EXPECT_EQ(f.Label17.Caption(), "OPA-735");
    EXPECT_EQ(f.Label44.Caption(), "AQ4711");
    EXPECT_EQ(f.Label4.Caption(), c.unitCaption);
    EXPECT_EQ(f.Label56.Caption(), c.unitCaption);
    EXPECT_EQ(f.Combo1.ListCount(), c.modes);
    EXPECT_EQ(f.Combo1.ListIndex(), 0);
    EXPECT_EQ(f.Command6.Enabled(), c.model == 5);
    EXPECT_EQ(f.Label29.Visible(), c.model == 5);
    EXPECT_FALSE(f.Command1.Enabled());
    EXPECT_EQ(f.Label27.Caption(), "- - -");
    EXPECT_EQ(p_.link.ActiveComMode, c.comMode);
    EXPECT_EQ(p_.smoke.OpaDeviceAddress, c.address);
    EXPECT_EQ(p_.link.InstrSerial, c.serial);
    EXPECT_EQ(p_.shell.SmokeRpmMax, 4500.0f);
    EXPECT_TRUE(f.MSComm1.PortOpen());
    EXPECT_EQ(f.MSComm1.CommPort(), kPort);
    EXPECT_EQ(f.MSComm1.Settings(), c.settings);
    EXPECT_EQ(Tick(), c.model == 5 ? McnId() : OwnFirst(c.address));
    ui_.click(f.CmdOut);
    EXPECT_FALSE(f.IsLoaded());
  }
}

TEST_F(SmokeFormTest, APortThatDoesNotOpenIsToldAndTheFormRunsOnIntoTheTimeOut) {
  Station(5);
  p_.shell.OpaComPort = 9;  // nothing there
  ui_.answerBox();
  ANFUMO& f = Open();
  EXPECT_EQ(ui_.lastBox().text.rfind("COM9 cannot be opened\r\n", 0), 0u);
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
  Ticks(42);  // the request tick and 41 more
  EXPECT_EQ(f.Label2.Caption(), "ERRORE COM");
  EXPECT_TRUE(f.Timer1.running());
}

// The cycle, tick by tick, in one protocol: `request` is what the first tick sends,
// `reply` the opacimeter's answer to it.
void RunCycle(ANFUMO& f, const std::string& request, const std::string& reply,
              const std::function<std::string()>& tick,
              const std::function<void(const std::string&)>& answer) {
  ASSERT_EQ(tick(), request);  // tick 0 of the exchange: sent
  for (int i = 1; i <= 40; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(tick(), "");
    ASSERT_NE(f.Label2.Caption(), kSmokeComError);
  }
  EXPECT_EQ(tick(), "");  // T+41: given up
  EXPECT_EQ(f.Label2.Caption(), kSmokeComError);
  EXPECT_EQ(tick(), request);  // T+42: the same request again

  // A reply that loses its last byte waits; the time-out drops it, so that the reply to
  // the repeated request is judged alone and handled.
  answer(reply.substr(0, reply.size() - 1));
  EXPECT_EQ(tick(), "");
  EXPECT_FALSE(f.ReplyBuffer.empty());
  for (int i = 0; i < 40; ++i) ASSERT_EQ(tick(), "");
  EXPECT_EQ(f.Label2.Caption(), kSmokeComError);
  EXPECT_TRUE(f.ReplyBuffer.empty());
  EXPECT_EQ(tick(), request);
  answer(reply.substr(0, 4));  // in two pieces
  EXPECT_EQ(tick(), "");
  answer(reply.substr(4));
  EXPECT_NE(tick(), "");  // handled: the next request goes out on the next tick
}

TEST_F(SmokeFormTest, CycleSendsWaitsTimesOutRepeatsAndRecoversFromALostByteInBothProtocols) {
  std::string identity;
  for (const char* field : {"KARVESTON", "TOPAZ", "OM-4711", "AQ1", "31122030", "1.5"})
    identity += std::string(field) + kEtb;
  for (const int model : {5, 1}) {
    SCOPED_TRACE(model);
    Station(model);
    ANFUMO& f = Open();
    RunCycle(
        f, model == 5 ? McnId() : OwnFirst(65),
        model == 5 ? sim::MctcReply("OPA", "ID", identity + "0")
                   : sim::BinaryReply(65, '1', "123456"),
        [&] { return Tick(); }, [&](const std::string& b) { device_->send(b); });
    ui_.click(f.CmdOut);
  }
}

TEST_F(SmokeFormTest, StartAsksTheLinkForAZeroAndPresetsTheSeries) {
  struct Case {
    int model;
    int mode;
    const char* phase;
    const char* linkState;  // after START, before the next tick
  };
  for (const Case c : {Case{5, 0, "CONTINUA", "STARTMIS"}, Case{5, 6, "AVVIOALTO", "STARTMIS"},
                       Case{1, 4, "DUE", "INIZIO"}, Case{1, 5, "DUE", "INIZIO"}}) {
    SCOPED_TRACE(c.mode);
    p_.shell.ExclamPending = 0;
    Station(c.model);
    ANFUMO& f = Open();
    ui_.choose(f.Combo1, c.mode);
    f.Command1.setEnabled(true);
    p_.smoke.AccIndex = 3;
    p_.smoke.AccPeakK = 2;
    f.Label36(2).setCaption("1.5");
    ui_.click(f.Command2);
    EXPECT_EQ(f.TestPhase, c.phase);
    EXPECT_EQ(f.LinkState, c.linkState);
    EXPECT_EQ(f.RequestedLinkState, "STARTMIS");
    EXPECT_EQ(f.Command1.Enabled(), c.mode != 4 && c.mode != 5);
    EXPECT_EQ(p_.shell.ExclamPending != 0, c.model == 5);
    EXPECT_EQ(p_.smoke.AccIndex, 0);
    EXPECT_EQ(p_.smoke.AccPeakK, 0);
    EXPECT_EQ(p_.smoke.AccMinRpm, 10000.0);
    EXPECT_EQ(f.Label36(2).Caption(), "0");
    EXPECT_EQ(f.Label37(7).Caption(), "0");
    EXPECT_EQ(p_.smoke.AccKState[7], 4);
    ui_.click(f.CmdOut);
  }
}

TEST_F(SmokeFormTest, StandByAndTheLogSwitch) {
  Station(5);
  ANFUMO& f = Open();
  ui_.click(f.Command6);
  EXPECT_EQ(f.RequestedLinkState, "RSTSB");
  EXPECT_EQ(f.LinkState, "STANDBY");
  ui_.focus(f.Combo1);
  ui_.enter(f);  // the log button is the default one
  EXPECT_TRUE(f.LogFlag);
  EXPECT_EQ(f.Command7.Caption(), "LOG ON");
  ui_.esc(f);  // and the cancel one
  EXPECT_FALSE(f.LogFlag);
  EXPECT_EQ(f.Command7.Caption(), "LOG OFF");
  EXPECT_TRUE(f.IsLoaded());
}

TEST_F(SmokeFormTest, TheExchangeGoesOnBehindTheLimitsAndTheReport) {
  Station(5);
  ANFUMO& f = Open();
  for (auto [button, opened] :
       {std::pair<plat::CommandButton*, plat::Form*>{&f.Command3, &p_.limiti},
        std::pair<plat::CommandButton*, plat::Form*>{&f.Command4, &p_.stampaOpaB}}) {
    plat::Form* form = opened;
    ui_.onModal(*form, [&] {
      EXPECT_EQ(Tick(), McnId());
      Ticks(41);
      EXPECT_EQ(f.Label2.Caption(), kSmokeComError);
      ui_.close(*form);
    });
    p_.rt.loop.setLocalTime({2026, 12, 6, 10, 30, 0});
    ui_.click(*button);
    f.Label2.setCaption("");
  }
  EXPECT_EQ(p_.smoke.MeasureEnd, (plat::DateTime{2026, 12, 6, 10, 30, 0}));
}

// A second opening starts from nothing of the first: a START request left behind would
// send "AZ" before "ID".
TEST_F(SmokeFormTest, EveryOpeningStartsWithTheFormsVariablesCleared) {
  Station(5);
  ANFUMO& f = Open();
  ui_.click(f.Command2);
  f.LastStatusWord = "00048";
  f.ValuesInvalid = 1;
  f.PhaseDeadline = 999999;
  f.AutoZeroStatusCount = 3;
  f.ParamPollCounter = 7;
  f.ReplyBuffer = "\x02OPA";
  ui_.click(f.CmdOut);

  Open();
  EXPECT_EQ(Tick(), McnId());
  EXPECT_EQ(f.LinkState, "INIZIO");
  EXPECT_TRUE(f.RequestedLinkState.empty());
  EXPECT_TRUE(f.LastStatusWord.empty());
  EXPECT_EQ(f.ValuesInvalid, 0);
  EXPECT_EQ(f.PhaseDeadline, 0);
  EXPECT_EQ(f.AutoZeroStatusCount, 0);
  EXPECT_EQ(f.ParamPollCounter, 0);
  EXPECT_EQ(f.SmokeTickCount, 1);
  EXPECT_TRUE(f.TestPhase.empty());
  EXPECT_EQ(f.Command7.Caption(), "LOG OFF");
  EXPECT_EQ(f.Combo1.ListCount(), 7);  // the chart mode added once, to the design's six
}

TEST_F(SmokeFormTest, UnloadSavesTheLimitsClosesThePortAndClearsTheFlagWhateverTheLimits) {
  for (const float rpmMax : {4500.4f, 1e6f, -1e9f}) {
    SCOPED_TRACE(rpmMax);
    Station(5);
    p_.shell.ExternRpm = 1;
    p_.rt.serial.attachMemory(3);  // the engine-speed counter's port in the station's settings
    RPM& rpm = p_.rpm;
    rpm.Show();
    ASSERT_TRUE(rpm.IsLoaded());
    p_.menu.Timer1.setEnabled(false);
    ANFUMO& f = Open();
    p_.shell.SmokeRpmMax = rpmMax;
    p_.shell.SmokeRpmMin = 1500.5f;
    ui_.click(f.CmdOut);
    EXPECT_FALSE(f.MSComm1.PortOpen());
    EXPECT_EQ(p_.link.OpaFormActive, 0);
    EXPECT_FALSE(rpm.IsLoaded());
    EXPECT_TRUE(p_.menu.Timer1.Enabled());
    const std::string conf = ReadConf();
    EXPECT_NE(conf.find("RN=1500\r\n"), std::string::npos);
    const char* mx = rpmMax > 40000 ? "MX=32767" : rpmMax < 0 ? "MX=-32768" : "MX=4500";
    EXPECT_NE(conf.find(mx), std::string::npos) << conf;
    Ticks(50);
    EXPECT_EQ(device_->takeWritten(), "");
  }
}

}  // namespace
}  // namespace vs
