// The gas test form on the manual clock against the simulated analyser: both protocols' talk
// tick by tick (a tick is 25 ms, a reply arrives within the tick of its request), whole tests
// to the printed certificate, the form's buttons, and the limits dialog.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gas_fixture.h"
#include "link/MctcNetFrame.h"
#include "platform/core/Error.h"
#include "platform/text/Numbers.h"

namespace vs::test {
namespace {

using sim::Protocol;

// Identification; a silent analyser: "ERRORE COM" at the 41st tick after the request, the
// request again at the 42nd; a reply that lost a byte dropped and the link recovered; warm-up
// with the channel list sent once more; ready; the form opened again asks for identification
// first; a measurement logged to "gas.log"; Stop and the fuel and engine-cycle choices sent at
// once, the choices only in a status that takes them; the form opened on the MCTC-NET model.
TEST_F(GasTest, BinaryConversationTickByTick) {
  sim::Instrument& a = Station(Protocol::Binary);
  a.setState("warmup");
  p_.menu.Show();
  p_.shell.GasComMode = 2;        // a stale protocol setting: the model decides both ways
  p_.shell.SystemEnableMask = 2;  // extended HC range allowed
  ANGAS& f = OpenGasTest();
  EXPECT_EQ(Said(1), "1");
  a.silent = true;
  EXPECT_EQ(Said(41), ".");
  EXPECT_NE(f.Label5.Caption(), "ERRORE COM");
  EXPECT_EQ(Said(1), "");
  EXPECT_EQ(f.Label5.Caption(), "ERRORE COM");
  a.silent = false;
  a.send = [whole = a.send, lose = true](std::string_view bytes) mutable {
    whole(lose ? bytes.substr(0, bytes.size() - 1) : bytes);  // the next reply loses a byte
    lose = false;
  };
  EXPECT_EQ(Said(1), ".");
  EXPECT_EQ(Said(42), ".");  // the broken reply was not taken: asked again
  EXPECT_EQ(Said(4), "# ? # ?");
  EXPECT_EQ(Shown(f.Label25, f.Label7, f.Label4, f.Label8, f.Label14),
            "5.4|512|31/12/30|- - -|RSTRIS|");
  EXPECT_EQ(a.channelList, std::string({8, 10, 18, 14, 12, 7, 6, 5, 2}));  // HC channel 18
  EXPECT_EQ(f.Label5.Caption(), Text(lang::ANFUMORiscal));
  EXPECT_FALSE(f.Combo1.Enabled());
  a.setState("ready");
  EXPECT_EQ(Said(4), "? P ? P");
  // The corrected CO: CO + CO2 above K 15 (petrol with catalyst).
  EXPECT_EQ(Shown(f.Label5, f.Label8, f.Label9), Text(lang::ANGASAtt) + "|0,12|0,1|");
  ui_.click(f.CmdOut1);
  OpenGasTest();
  EXPECT_TRUE(f.StatoRichiesto.empty());  // the load's list handlers ask nothing
  EXPECT_EQ(Said(6), "1 . # ? P ?");

  ui_.click(f.Command7);
  EXPECT_EQ(f.Command7.Caption(), "LOG ON");
  EXPECT_FALSE(std::filesystem::exists(bin_ / "gas.log"));  // not measuring: nothing logged
  p_.link.InstrSerial = "AQ\u00b01";                        // the log is Windows-1252
  ui_.click(f.Command1);  // Start: 'E', calibration for two polls, then measuring
  EXPECT_EQ(f.Command1.Caption(), "S&top");
  EXPECT_EQ(Said(7), "E ? ? ? P ? P");
  EXPECT_EQ(f.GasPhase, "MINIMO");
  EXPECT_EQ(f.Label5.Caption(), Text(lang::ANFUMOMisura));
  EXPECT_FALSE(f.PBar1.Visible());  // the calibration's bar goes when measuring begins
  const std::string line =
      "0,12\t14,5\t120\t0,8\t- - -\t0,1\t1\t850\t85\t14/03/2026 09:30:02\tAQ\xB0"
      "1 \r\n";
  EXPECT_EQ(plat::test::ReadBytes(bin_ / "gas.log"), line + line);  // one line per 'P'

  // The requests sent at once, each command with its data.
  auto lastSent = [&](int n) {
    std::string sent;
    for (auto r = a.requests.end() - n; r != a.requests.end(); ++r) sent += r->command + r->data;
    return sent;
  };
  ui_.click(f.Command1);  // Stop
  EXPECT_EQ(lastSent(1), "$");
  EXPECT_EQ(f.Command1.Caption(), Text(lang::ANFUMOStart));
  Said(2);
  ASSERT_EQ(p_.gas.GasInstrumentState, 128);
  ui_.choose(f.Combo1, 4);            // LPG
  ui_.choose(f.Combo3, 1);            // two-stroke
  EXPECT_EQ(lastSent(2), "&\x01&A");  // LPG 1, + 64
  EXPECT_EQ(f.KFactor, 14);
  a.setState("error");
  EXPECT_EQ(Said(2), "? ?");
  EXPECT_EQ(f.Stato, "RSTERT");
  const std::size_t sent = a.requests.size();
  ui_.choose(f.Combo1, 2);  // status 32 takes no choice
  EXPECT_EQ(a.requests.size(), sent);
  EXPECT_EQ(f.FuelIndex, 4);

  ui_.click(f.CmdOut1);
  EditConf("[MODKYMRA]\r\nModello=0", "[MODKYMRA]\r\nModello=3");  // MCTC-NET now
  p_.gas.GasMcnStatus = 2;  // as an earlier MCTC-NET test left it: stand-by
  OpenGasTest();
  EXPECT_TRUE(f.StatoRichiesto.empty());  // no "@SA" from the load's fuel choice
  EXPECT_EQ(f.OpenedComMode, 2);
}

// A newer analyser from its identity through the checks to measuring: the leak check first;
// stand-by after a valid one wakes the analyser, which then zeroes itself; every fourth
// auto-zero status fetches the codes once; the first measuring status after auto-zero asks
// for the HC residue check, whose pass starts the test. An expired leak check asked for while
// measuring is told in a box after its reply, once while the box is open.
TEST_F(GasTest, MctcNetConversationTickByTick) {
  sim::Instrument& a = Station(Protocol::Mctc);
  a.setState("warmup");
  a.params["047"] = "0.512";
  a.autoZeroPolls = 5;
  ANGAS& f = OpenGasTest();
  EXPECT_EQ(Said(3), "ID @SD @LU");  // "@LA" skipped
  EXPECT_EQ(a.clockSet, Fields({"14032026", "093000"}));
  EXPECT_EQ(a.requests.back().data, "047");
  EXPECT_EQ(f.Label7.Caption(), "0.512");
  EXPECT_EQ(Said(1), "@ST");
  EXPECT_EQ(f.Label5.Caption(), Text(lang::ANFUMORiscal));
  EXPECT_TRUE(f.Combo1.Enabled() && f.Command6.Enabled());
  EXPECT_EQ(Said(3), "@RS @VA @ST");
  EXPECT_EQ(f.Label8.Caption(), plat::FormatDouble(a.gas.co, p_.rt.regional));
  ui_.click(f.Command7);  // logging on; no line until the analyser measures
  ui_.click(f.Command1);  // Start: the leak check first
  EXPECT_EQ(Said(1), "ET");
  EXPECT_EQ(f.Stato, "ETER");
  a.setState("standby");
  EXPECT_EQ(Said(5), "@ST SB @ST AZ @ST");
  EXPECT_EQ(Shown(f.Label5, f.Label8), Text(lang::ANGASCal) + "|- - -|");
  EXPECT_TRUE(f.PBar1.Visible());
  EXPECT_EQ(Said(8), "@ST @ST @ST @RS @ST @ST HC EH");
  EXPECT_EQ(f.Label5.Caption(), "Test HC");
  EXPECT_EQ(Said(2), "EH EH");
  EXPECT_EQ(f.GasPhase, "MINIMO");
  EXPECT_FALSE(std::filesystem::exists(bin_ / "gas.log"));
  EXPECT_EQ(Said(4), "@ST @RS @VA @ST");
  EXPECT_EQ(f.Label5.Caption(), Text(lang::ANFUMOMisura));
  EXPECT_FALSE(f.Combo1.Enabled());
  EXPECT_EQ(f.Label15.Caption(), plat::FormatDouble(a.gas.rpm, p_.rt.regional));
  const std::string log = plat::test::ReadBytes(bin_ / "gas.log");
  EXPECT_EQ(log.rfind(f.Label8.Caption() + "\t" + f.Label10.Caption() + "\t", 0), 0u) << log;
  EXPECT_NE(log.find("\tAQ123456 \r\n"), std::string::npos) << log;
  EXPECT_EQ(p_.link.McnCommandLen, 3);

  a.leakDate = "12032026";
  a.leakTime = "0900";
  a.rsCode1 = 25;  // the analyser asks for the leak check on every measuring status
  ui_.answerBox(plat::MsgBoxResult::OK, 500);  // open for half a second, the talk going on
  const std::string under = Said(4);
  EXPECT_EQ(under.rfind("@RS @VA @ST ET @ST @RS @VA @ST ET @ST", 0), 0u) << under;
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(ui_.lastBox().text, Text(lang::ANGASETmsgbox));
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Exclamation);
  EXPECT_NE(f.Label5.Caption(), "ERRORE COM");
  EXPECT_EQ(p_.link.McnEtFlag, "I");

  // An older analyser: its fuel settings read with "@LA" and sent back as six fields. The
  // leak test from its button, on a station that skips the check, gives Start and stand-by
  // back.
  ui_.click(f.CmdOut1);
  a.setState("warmup");
  a.rsCode1 = 0;
  a.identity.version = "1.4";
  a.fuelSettings = Fields({"BENZINA", "NO CAT", "04", "2", "1.730", "0.000"});
  p_.shell.SystemEnableMask = 4;  // "Disable leak test request"
  OpenGasTest();
  EXPECT_EQ(Said(5), "ID @SD @LA @LI ST");
  EXPECT_EQ(f.Combo1.Text() + f.Combo3.Text(), f.Combo1.List(0) + f.Combo3.List(1));
  ui_.choose(f.Combo3, 0);           // four strokes: the fuel read goes out as two words
  EXPECT_EQ(Said(3), "@SA ST @RS");  // in the place of the status cycle's request
  EXPECT_EQ(a.fuelSettings, Fields({"BENZINA", "NO CAT", "04", "4", "1.730", "0.000"}));
  ui_.answerBox(plat::MsgBoxResult::OK);
  ui_.click(f.Command6);
  EXPECT_FALSE(f.Command1.Enabled() || f.Command4.Enabled());
  EXPECT_TRUE(f.Label38.Visible());
  EXPECT_EQ(Said(3), "TT ET ST");
  EXPECT_TRUE(f.Command1.Enabled() && f.Command4.Enabled());
  EXPECT_FALSE(f.Label38.Visible());
}

// Catalysed petrol from F1 to its verdict and certificate (MCTC-NET): the engine at idle, too
// fast at first; then revved into the raised-idle window, too slow at first. Printed again
// later, the certificate and "report.log" are the same but for the end of measurement; the
// copies typed on it (the rule every printed page shares), and printing problems are told and
// the page comes back; closing the gas test form ends the certificate.
TEST_F(GasTest, CatalysedPetrolFromF1ToThePrintedCertificate) {
  sim::Instrument& a = Station(Protocol::Mctc);
  ANGAS& f = OpenGasTest();
  StartCertification(f);
  a.play(
      sim::ParseScenario("at 0ms rpm 1200\nat 3s rpm 1200\nat 3025ms rpm 850\nat 12s rpm 850\n"
                         "at 12025ms rpm 2300\nat 0ms cocorr 0.1\nat 0ms co 0.1\n"
                         "at 0ms lambda 1.004\n",
                         "engine"));
  EXPECT_FALSE(f.Command2.Enabled());
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 30000));
  const std::string passed = Text(lang::ANGASProSup);
  EXPECT_EQ(Shown(f.Label27, f.Label28), Text(lang::ANGASP2Concl) + "|" + passed + "|");
  EXPECT_EQ(f.Label28.BackColor(), plat::colors::kGreen);

  struct Case {
    std::function<void()> before;
    std::string copies;
    std::string told;  // how the message begins; empty: none
    int printed;       // copies printed
  };
  const std::string bad = "Numero di copie non valido";
  const Case cases[] = {
      {nullptr, "2", "", 2},
      {nullptr, "2,9", "", 2},  // a fraction counts its whole copies
      {nullptr, "0", "", 0},
      {nullptr, "-1", "", 0},
      {nullptr, "", bad, 0},
      {nullptr, "due", bad, 0},
      {nullptr, "1.5", bad, 0},  // the other separator
      {nullptr, "100000", bad, 0},
      {nullptr, "1e300", bad, 0},
      {[&] { ui_.failPrinting(plat::RuntimeError(plat::kErrPrintFailed, "Printer error")); }, "1",
       "Stampa non riuscita:\nPrinter error", 0},
      {[&] { std::filesystem::create_directory(bin_ / "report.log"); }, "1",
       "report.log non scritto:", 1},
  };
  PrtKYMRACERT& cert = p_.prtKYMRACERT;
  ui_.whilePrinting = [&](plat::Form&) { EXPECT_FALSE(cert.Command2.Visible()); };
  std::string first;  // "report.log" of the first print
  for (const Case& c : cases) {
    SCOPED_TRACE(c.copies);
    ui_.clearBoxes();
    std::filesystem::remove(bin_ / "report.log");
    const std::size_t printedBefore = ui_.printed().size();
    if (c.before) c.before();
    if (!c.told.empty()) ui_.answerBox();
    ui_.onModal(cert, [&] {
      EXPECT_EQ(Shown(cert.Label22, cert.Label60, cert.Label46, cert.Label79) + cert.Text2.Text(),
                "AB123CD|2300|850|" + passed + "|TOPAZ");
      EXPECT_EQ(cert.Label79.BackColor(), plat::colors::kYellow);
      ui_.type(cert.Text5, c.copies);
      ui_.click(cert.Command2);
      EXPECT_TRUE(cert.Visible() && cert.Command1.Visible() && cert.Command2.Visible() &&
                  cert.Text5.Visible() && cert.Label1.Visible());
      ui_.click(cert.Command1);
    });
    ui_.click(f.Command2);
    int printed = 0;
    for (std::size_t i = printedBefore; i < ui_.printed().size(); ++i)
      printed += ui_.printed()[i].copies;
    EXPECT_EQ(printed, c.printed);
    ASSERT_EQ(ui_.boxes().size(), c.told.empty() ? 0u : 1u);
    EXPECT_EQ(c.told.empty() ? 0 : ui_.boxes()[0].text.rfind(c.told, 0), 0u);
    EXPECT_FALSE(ui_.ended());
    ui_.failPrinting(std::nullopt);
    if (first.empty()) {
      first = ReportLog();
      for (const std::string& l :
           std::vector<std::string>{"Plate=AB123CD\r\n", "Date=14/03/2026\r\n",
                                    "ParRPMmin=850\r\nRPM=2300\r\n", "Result=" + passed + "\r\n"})
        EXPECT_NE(first.find(l), std::string::npos) << l << first;
      ui_.advance(60'000);  // the end of measurement moves on, nothing else
    } else if (c.told.empty()) {
      const auto end = first.find("EndMeas=");
      EXPECT_EQ(ReportLog().substr(0, end), first.substr(0, end));
    }
  }
  std::filesystem::remove(bin_ / "report.log");
  ui_.click(f.CmdOut1);
  EXPECT_EQ(cert.Certificate.Label79.Caption + cert.Certificate.Label22, "");
}

// Notes, for every message box that opens, whether the gas test form had finished its reply.
struct BoxWatch : plat::FormsObserver {
  explicit BoxWatch(Program& program) : p(program) { p.rt.forms.addObserver(this); }
  ~BoxWatch() override { p.rt.forms.removeObserver(this); }
  void messageBoxOpened(const plat::MessageBox&) override {
    replyDone.push_back(p.gas.GasReplyReady == 1);
  }
  Program& p;
  std::vector<bool> replyDone;
};

// A window length of 0 is refused by the progress bar when the idle window opens and again
// when the raised-idle window opens: each refusal is told after its reply has been handled.
TEST_F(GasTest, EachRefusalIsToldAfterItsReply) {
  Station(Protocol::Binary);
  EditConf("AM=1\r\nLN=5E-01\r\nRC=3E-01\r\nMCS=120", "AM=0\r\nLN=5E-01\r\nRC=3E-01\r\nMCS=0");
  BoxWatch watch(p_);
  ANGAS& f = OpenGasTest();
  ui_.answerBox(plat::MsgBoxResult::OK, 500);
  ui_.answerBox(plat::MsgBoxResult::OK, 500);
  StartCertification(f);
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 20000));
  EXPECT_EQ(f.Label28.Caption(), Text(lang::ANGASProSup));
  ASSERT_EQ(ui_.boxes().size(), 2u);
  for (const auto& box : ui_.boxes()) EXPECT_EQ(box.text, Text(lang::MsgBox1));
  EXPECT_EQ(watch.replyDone, (std::vector<bool>{true, true}));
}

// A stored port that does not exist: the "COM n" message, and the form runs on with its port
// closed, the time-out showing "ERRORE COM". The vehicle-data button opens the vehicle form
// and, pressed again, saves what it shows; closed by its own button meanwhile, the form opens
// again. The limits dialog: a suggestion reads back as the value shown under either decimal
// separator; a field that does not read as a number, or a duration beyond the tick count's
// range, is named, the dialog stays open and no limit changes. Closing saves the limits, the
// raised-idle one kept to 16 bits.
TEST_F(GasTest, InvalidPortVehicleButtonLimitsAndClosing) {
  Station(Protocol::Binary);
  p_.menu.Show();
  p_.shell.GasComPort = 17;
  ui_.answerBox();
  ANGAS& f = OpenGasTest();
  EXPECT_EQ(ui_.lastBox().text.substr(0, 6), "COM17 ");
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Critical);
  ui_.advance(42 * 25);
  EXPECT_EQ(f.Label5.Caption(), "ERRORE COM");
  DVeicoli& d = p_.dveicoli;
  ui_.click(f.Command3);
  ASSERT_TRUE(d.IsLoaded() && d.Visible());
  ui_.type(d.Text2, "XY987ZW");
  ui_.click(f.Command3);
  EXPECT_FALSE(d.IsLoaded());
  EXPECT_EQ(p_.shell.VehiclePlate, "XY987ZW");
  ui_.click(f.Command3);
  ui_.close(d);
  ui_.click(f.Command3);
  EXPECT_EQ(d.Text2.Text(), "XY987ZW");

  ShellState& s = p_.shell;
  auto inDialog = [&](const std::function<void(LIMITIAN&)>& edit) {
    ui_.onModal(p_.limitian, [&] { edit(p_.limitian); });
    ui_.click(f.Command5);
  };
  for (const auto& regional :
       {plat::RegionalSettings::English(), plat::RegionalSettings::Italian()}) {
    p_.rt.regional = regional;
    inDialog([&](LIMITIAN& dialog) {
      ui_.choose(dialog.CombCOcorMin, 3);
      ui_.choose(dialog.CombCOcorMinacc, 1);
      ui_.type(dialog.Text8, "819");
      ui_.click(dialog.CmdApl);
    });
    EXPECT_EQ(std::tuple(s.GasLimitCOcorrIdle, s.GasLimitCOcorrRaisedIdle, s.GasTestDuration),
              std::tuple(0.3, 0.2, 32760));
  }
  const auto limits = [&] {
    return std::vector<double>{s.GasLimitRpmIdle,          s.GasLimitRpmRaisedLow,
                               s.GasLimitRpmRaisedHigh,    s.GasLimitLambdaLow,
                               s.GasLimitLambdaHigh,       s.GasLimitCOcorrIdle,
                               s.GasLimitCOcorrRaisedIdle, double(s.GasTestDuration)};
  };
  const auto before = limits();
  const std::string duration = Text(lang::LIMITIANDProva);
  const std::pair<std::function<void(LIMITIAN&)>, std::string> cases[] = {
      {[&](LIMITIAN& dialog) { ui_.type(dialog.Text1, "mille"); }, "RPMmin"},
      {[&](LIMITIAN& dialog) { ui_.type(dialog.Text4, "0.95"); }, "LambdaLI"},  // other separator
      {[&](LIMITIAN& dialog) { ui_.type(dialog.CombCOcorMinacc, "0.2"); }, "LCOcorMinacc"},
      {[&](LIMITIAN& dialog) { ui_.type(dialog.Text5, ""); }, "LambdaLS"},
      {[&](LIMITIAN& dialog) { ui_.type(dialog.Text8, "820"); }, duration},
      {[&](LIMITIAN& dialog) { ui_.type(dialog.Text8, "3 s"); }, duration},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    ui_.clearBoxes();
    inDialog([&](LIMITIAN& dialog) {
      ui_.type(dialog.Text1, "900");  // a good edit beside the bad one is not stored either
      c.first(dialog);
      ui_.answerBox(plat::MsgBoxResult::OK);
      ui_.click(dialog.CmdApl);
      EXPECT_TRUE(dialog.Visible());
      ui_.close(dialog);
    });
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text.rfind(c.second + ":", 0), 0u) << ui_.boxes()[0].text;
    EXPECT_EQ(limits(), before);
  }
  p_.shell.GasLimitRpmRaisedHigh = 40000;  // typed beyond what the settings keep
  ui_.esc(f);
  EXPECT_FALSE(f.IsLoaded() || ui_.ended());
  EXPECT_NE(plat::test::ReadBytes(dir_ / "Conf.ini").find("GV=32767\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vs::test
