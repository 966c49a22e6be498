// The gas test form against a simulated analyser of the maker's binary protocol, headless on
// the manual clock: every tick is 25 ms, and a reply arrives within the tick of its request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gas_station_fixture.h"
#include "shell/LanguageKeys.h"

namespace vs {
namespace {

using sim::Device;
using sim::Instrument;
using sim::Protocol;

// One binary request the form wrote: the tick it went out on and its command byte.
struct Sent {
  int tick;
  char command;
  friend bool operator==(const Sent&, const Sent&) = default;
};
void PrintTo(const Sent& s, std::ostream* os) {
  *os << "tick " << s.tick << " '" << s.command << "'";
}

class GasWindowTest : public test::GasFolderTest {
 protected:
  void SetUp() override {
    GasFolderTest::SetUp();
    line_ = p_.rt.serial.attachMemory(1);
    sim::Attach(gas_, line_, &p_.rt.loop);
    // Each request the analyser sees, with the form's tick at that moment.
    gas_.onRequest = [this](std::string_view, const sim::Request& r) {
      sent_.push_back({g_.GasTickCount, r.command.at(0)});
    };
    p_.menu.Show();  // loads the station's settings: ours come after
    p_.shell.GasModelIndex = 0;
    p_.shell.GasComMode = 1;
    p_.shell.GasComPort = 1;
    p_.shell.GasBaudIndex = 2;
    p_.shell.SystemEnableMask = 2;  // extended HC range allowed
  }

  // F1 of the start menu, as the operator opens the test.
  void Open() { ui_.fkey(p_.menu, 1); }
  void Ticks(int n) { ui_.advance(25 * n); }
  std::vector<char> Commands() const {
    std::vector<char> c;
    for (const Sent& s : sent_) c.push_back(s.command);
    return c;
  }
  std::string GasLog() const {
    return std::filesystem::exists(dir_ / "gas.log") ? plat::test::ReadBytes(dir_ / "gas.log") : "";
  }

  std::shared_ptr<plat::MemoryDevice> line_;
  Instrument gas_{Device::Gas, Protocol::Binary, 0};
  ANGAS& g_ = p_.angas;
  std::vector<Sent> sent_;
};

// Opening, warm-up with the channel list sent once more, ready, then a measurement started
// and logged: one request per tick, each answered within it.
TEST_F(GasWindowTest, BinaryConversationTickByTick) {
  p_.shell.GasComMode = 2;  // a stale protocol setting: the model decides both directions
  gas_.setState("warmup");
  Open();
  EXPECT_EQ(g_.Stato, "INIZIO");
  Ticks(6);
  EXPECT_EQ(sent_, (std::vector<Sent>{{1, '1'}, {2, '.'}, {3, '#'}, {4, '?'}, {5, '#'}, {6, '?'}}));
  EXPECT_EQ(g_.Label25.Caption(), "5.4");
  EXPECT_EQ(g_.Label7.Caption(), "512");
  EXPECT_EQ(g_.Label4.Caption(), "31/12/30");
  EXPECT_EQ(gas_.channelList, std::string({8, 10, 18, 14, 12, 7, 6, 5, 2}));  // HC channel 18
  EXPECT_EQ(g_.Label5.Caption(), Text(lang::ANFUMORiscal));
  EXPECT_FALSE(g_.Combo1.Enabled());
  EXPECT_EQ(g_.Label8.Caption(), "- - -");
  EXPECT_EQ(g_.Label14.Caption(), "RSTRIS");

  gas_.setState("ready");
  Ticks(4);  // '?' (ready), 'P', '?', 'P'
  EXPECT_EQ(Commands(), (std::vector<char>{'1', '.', '#', '?', '#', '?', '?', 'P', '?', 'P'}));
  EXPECT_EQ(g_.Label5.Caption(), Text(lang::ANGASAtt));
  EXPECT_EQ(g_.Label8.Caption(), "0.12");
  EXPECT_EQ(g_.Label9.Caption(), "0.1");  // CO + CO2 above K 15 (petrol with catalyst)
  EXPECT_TRUE(GasLog().empty());          // ready, not measuring: nothing logged

  ui_.click(g_.Command7);
  EXPECT_EQ(g_.Command7.Caption(), "LOG ON");
  p_.link.InstrSerial = "AQ\u00b01";  // the log is Windows-1252
  sent_.clear();
  ui_.click(g_.Command1);  // Start: 'E', calibration for two polls, then measuring
  EXPECT_EQ(g_.Command1.Caption(), "S&top");
  Ticks(7);
  const int t = sent_.front().tick;
  EXPECT_EQ(sent_, (std::vector<Sent>{{t, 'E'},
                                      {t + 1, '?'},
                                      {t + 2, '?'},
                                      {t + 3, '?'},
                                      {t + 4, 'P'},
                                      {t + 5, '?'},
                                      {t + 6, 'P'}}));
  EXPECT_EQ(g_.GasPhase, "MINIMO");
  EXPECT_EQ(g_.Label5.Caption(), Text(lang::ANFUMOMisura));
  EXPECT_FALSE(g_.PBar1.Visible());  // the calibration's bar goes when measuring begins
  const std::string line = "0.12\t14.5\t120\t0.8\t- - -\t0.1\t1\t850\t85\t";
  const std::string log = GasLog();
  ASSERT_EQ(log.size() % 2, 0u);
  EXPECT_EQ(log.substr(0, line.size()), line);
  EXPECT_EQ(log.substr(log.size() / 2 - 28, 28),
            "\t15/01/2026 09:00:00\tAQ\xB0"
            "1 \r\n");
  EXPECT_EQ(log.substr(log.size() / 2, line.size()), line);  // one line per 'P'
}

// The analyser falls silent after its identification: "ERRORE COM" at the 41st tick after
// the request, the same request again at the 42nd; a reply that lost a byte is dropped and
// the link recovers with the next request.
TEST_F(GasWindowTest, TimeOutResendsAndALostByteDoesNotLockTheLink) {
  Open();
  Ticks(1);
  gas_.silent = true;
  Ticks(1);  // '.' at tick 2, no answer
  ASSERT_EQ(sent_.back(), (Sent{2, '.'}));
  Ticks(40);
  EXPECT_NE(g_.Label5.Caption(), "ERRORE COM");
  Ticks(1);
  EXPECT_EQ(g_.Label5.Caption(), "ERRORE COM");
  EXPECT_EQ(sent_.size(), 2u);
  gas_.silent = false;
  // The next reply loses its last byte on the way.
  auto whole = gas_.send;
  bool lose = true;
  gas_.send = [&](std::string_view bytes) {
    whole(lose ? bytes.substr(0, bytes.size() - 1) : bytes);
    lose = false;
  };
  Ticks(1);
  EXPECT_EQ(sent_.back(), (Sent{44, '.'}));
  EXPECT_EQ(g_.Stato, "LDF");  // the broken reply was not taken
  Ticks(42);
  EXPECT_EQ(sent_.back(), (Sent{86, '.'}));
  Ticks(1);
  EXPECT_EQ(sent_.back(), (Sent{87, '#'}));
  EXPECT_EQ(g_.Label4.Caption(), "31/12/30");
}

// A form opened again after a test starts clean: whatever the last opening's analyser said,
// the list handlers of the load step ask nothing, and identification goes first.
TEST_F(GasWindowTest, ReopenedFormAsksForIdentificationFirst) {
  Open();
  Ticks(8);  // into ready: the fuel list now takes choices
  ASSERT_EQ(p_.gas.GasInstrumentState, 128);
  ui_.click(g_.CmdOut1);
  sent_.clear();
  Open();
  EXPECT_TRUE(g_.StatoRichiesto.empty());
  Ticks(1);
  EXPECT_EQ(sent_, (std::vector<Sent>{{g_.GasTickCount, '1'}}));

  ui_.click(g_.CmdOut1);
  p_.shell.GasModelIndex = 3;  // the MCTC-NET analyser now
  p_.gas.GasMcnStatus = 2;     // as an earlier MCTC-NET test left it: stand-by
  Open();
  EXPECT_TRUE(g_.StatoRichiesto.empty());  // no "@SA" from the load's fuel choice
  EXPECT_EQ(g_.OpenedComMode, 2);
}

// A stored port that does not exist: the "COM n" message, and the form runs on with its
// port closed; the time-out shows "ERRORE COM". Closing saves the limits, the raised-idle
// rpm limit kept to 16 bits.
TEST_F(GasWindowTest, InvalidStoredPortIsReportedAndTheFormStays) {
  p_.shell.GasComPort = 17;
  ui_.answerBox();
  Open();
  ASSERT_FALSE(ui_.boxes().empty());
  EXPECT_EQ(ui_.lastBox().text.substr(0, 6), "COM17 ");
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
  EXPECT_TRUE(g_.IsLoaded());
  EXPECT_FALSE(ui_.ended());
  Ticks(42);
  EXPECT_EQ(g_.Label5.Caption(), "ERRORE COM");
  p_.shell.GasLimitRpmRaisedHigh = 40000;  // typed beyond what the settings keep
  ui_.esc(g_);
  EXPECT_FALSE(g_.IsLoaded());
  EXPECT_NE(plat::test::ReadBytes(dir_ / "Conf.ini").find("GV=32767\r\n"), std::string::npos);
}

// The fuel and engine-cycle choices send the fuel code at once, only in a status that takes
// them; the Stop button sends '$' at once.
TEST_F(GasWindowTest, FuelChoicesAndStopSendAtOnce) {
  gas_.setState("error");
  Open();
  Ticks(5);
  ASSERT_EQ(g_.Stato, "RSTERT");
  ui_.choose(g_.Combo1, 2);  // status 32 takes no choice: nothing sent, FuelIndex kept
  EXPECT_EQ(g_.FuelIndex, 1);
  gas_.setState("ready");
  Ticks(2);
  ASSERT_EQ(p_.gas.GasInstrumentState, 128);
  ui_.choose(g_.Combo1, 4);  // LPG
  ui_.choose(g_.Combo3, 1);  // two-stroke
  ui_.click(g_.Command1);    // Start
  ui_.click(g_.Command1);    // Stop
  ui_.settle();
  std::vector<std::string> direct;
  for (const sim::Request& r : gas_.requests)
    if (r.command == "&" || r.command == "$") direct.push_back(r.command + r.data);
  EXPECT_EQ(direct, (std::vector<std::string>{"&\x01", "&A", "$"}));  // LPG 1, + 64
  EXPECT_EQ(g_.KFactor, 14);
  EXPECT_EQ(g_.Command1.Caption(), Text(lang::ANFUMOStart));
}

// The vehicle-data button opens the vehicle form and, pressed again, saves what it shows;
// closed meanwhile by its own button, the form opens again and nothing is saved.
TEST_F(GasWindowTest, VehicleDataButtonTogglesTheVehicleForm) {
  Open();
  DVeicoli& d = p_.dveicoli;
  ui_.click(g_.Command3);
  ASSERT_TRUE(d.IsLoaded() && d.Visible());
  ui_.type(d.Text2, "AB123CD");
  ui_.click(g_.Command3);
  EXPECT_FALSE(d.IsLoaded());
  EXPECT_EQ(p_.shell.VehiclePlate, "AB123CD");

  ui_.click(g_.Command3);
  ui_.close(d);
  ui_.click(g_.Command3);
  EXPECT_TRUE(d.IsLoaded());
  EXPECT_EQ(d.Text2.Text(), "AB123CD");
  EXPECT_EQ(p_.shell.VehiclePlate, "AB123CD");
}

}  // namespace
}  // namespace vs
