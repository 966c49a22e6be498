// The gas test form on the manual clock against the simulated analyser: both protocols' talk
// tick by tick (a tick is 25 ms, a reply arrives within the tick of its request), whole tests
// to the printed certificate, the form's buttons, the limits dialog and the analyser set-up.
#include <gmock/gmock.h>

#include <algorithm>
#include <functional>
#include <numeric>

#include "gas/GasSetUp.h"
#include "gas_fixture.h"
#include "link/MctcNetFrame.h"
#include "platform/core/Error.h"
#include "platform/print/PdfPrinter.h"
#include "platform/text/Numbers.h"
#include "shell/ProgramMessages.h"
#include "support/HeldChildren.h"
#include "support/LineEvents.h"

namespace vs::test {
namespace {

using sim::Protocol;
using ::testing::StartsWith;

// A silent analyser: "ERRORE COM" at the 41st tick after the request, the request again at the
// 42nd. Fuel and cycle choices are sent at once, only in a status that takes them.
TEST_F(GasTest, BinaryConversationTickByTick) {
  sim::Instrument& a = Station(Protocol::Binary);
  a.setState("warmup");
  p_.menu.Show();
  // A stale protocol setting (the model decides both ways); extended HC range allowed.
  std::tie(p_.shell.GasComMode, p_.shell.SystemEnableMask) = std::tuple(2, 2);
  ANGAS& f = OpenGasTest();
  EXPECT_EQ(Said(1), "1");
  a.silent = true;
  EXPECT_EQ(Said(41, f.Label5), ".||");
  EXPECT_EQ(Said(1, f.Label5), "|ERRORE COM|");
  a.silent = false;
  a.send = [whole = a.send, lose = true](std::string_view bytes) mutable {
    whole(lose ? bytes.substr(0, bytes.size() - 1) : bytes);  // the next reply loses a byte
    lose = false;
  };
  // The broken reply was not taken: asked again.
  EXPECT_EQ((std::tuple{Said(1), Said(42)}), std::tuple(".", "."));
  EXPECT_EQ(Said(4, f.Label25, f.Label7, f.Label4, f.Label8, f.Label14, f.Label5),
            "# ? # ?|5.4|512|31/12/30|- - -|RSTRIS|Riscaldamento|");
  EXPECT_EQ(std::tuple(a.channelList, f.Combo1.Enabled()),  // HC channel 18
            std::tuple(std::string({8, 10, 18, 14, 12, 7, 6, 5, 2}), false));
  a.setState("ready");
  // The corrected CO: CO + CO2 above K 15 (petrol with catalyst).
  EXPECT_EQ(Said(4, f.Label5, f.Label8, f.Label9), "? P ? P|In attesa|0,12|0,1|");
  ui_.click(f.CmdOut1);
  OpenGasTest();
  // The load's list handlers ask nothing; identification first.
  EXPECT_EQ((std::tuple{f.StatoRichiesto, Said(6)}), std::tuple("", "1 . # ? P ?"));

  ui_.click(f.Command7);
  EXPECT_FALSE(std::filesystem::exists(bin_ / "gas.log"));  // not measuring: nothing logged
  p_.link.InstrSerial = "AQ\u00b01";                        // the log is Windows-1252
  ui_.click(f.Command1);  // Start: 'E', calibration for two polls, then measuring
  EXPECT_EQ(Said(7, f.Label5, f.Command7, f.Command1), "E ? ? ? P ? P|Misura|LOG ON|S&top|");
  EXPECT_EQ(std::tuple(f.GasPhase, f.PBar1.Visible()), std::tuple("MINIMO", false));
  const std::string line =
      "0,12\t14,5\t120\t0,8\t- - -\t0,1\t1\t850\t85\t14/03/2026 09:30:02\tAQ\2601 \r\n";
  EXPECT_EQ(plat::test::ReadBytes(bin_ / "gas.log"), line + line);  // one line per 'P'

  // The requests sent at once, each command with its data.
  auto lastSent = [&](int n) {
    std::string sent;
    for (auto r = a.requests.end() - n; r != a.requests.end(); ++r) sent += r->command + r->data;
    return sent;
  };
  ui_.click(f.Command1);  // Stop
  EXPECT_EQ(lastSent(1) + f.Command1.Caption(), "$" + Text(lang::ANFUMOStart));
  Said(2);
  ASSERT_EQ(p_.gas.GasInstrumentState, 128);
  ui_.choose(f.Combo1, 4);                                                   // LPG
  ui_.choose(f.Combo3, 1);                                                   // two-stroke
  EXPECT_EQ(std::tuple(lastSent(2), f.KFactor), std::tuple("&\x01&A", 14));  // LPG 1, + 64
  a.setState("error");
  EXPECT_EQ((std::tuple{Said(2), f.Stato}), std::tuple("? ?", "RSTERT"));
  const std::size_t sent = a.requests.size();
  ui_.choose(f.Combo1, 2);  // status 32 takes no choice
  EXPECT_EQ(std::tuple(a.requests.size(), f.FuelIndex), std::tuple(sent, 4));

  ui_.click(f.CmdOut1);
  EditConf("[MODKYMRA]\r\nModello=0", "[MODKYMRA]\r\nModello=3");  // MCTC-NET now
  p_.gas.GasMcnStatus = 2;  // as an earlier MCTC-NET test left it: stand-by
  OpenGasTest();
  // No "@SA" from the load's fuel choice.
  EXPECT_EQ(std::tuple(f.StatoRichiesto, f.OpenedComMode), std::tuple("", 2));
}

// A newer analyser through the checks to measuring: the leak check, then stand-by, auto-zero
// (every fourth status fetches the codes) and the HC residue check. An expired leak check
// asked for while measuring is told in a box after its reply, once while the box is open.
TEST_F(GasTest, MctcNetConversationTickByTick) {
  sim::Instrument& a = Station(Protocol::Mctc);
  a.setState("warmup");
  a.params["047"] = "0.512";
  a.autoZeroPolls = 5;
  ANGAS& f = OpenGasTest();
  EXPECT_EQ(Said(3, f.Label7), "ID @SD @LU|0.512|");  // "@LA" skipped
  EXPECT_EQ(a.clockSet + "|" + a.requests.back().data, Fields({"14032026", "093000"}) + "|047");
  EXPECT_EQ(Said(1, f.Label5), "@ST|Riscaldamento|");
  EXPECT_TRUE(f.Combo1.Enabled() && f.Command6.Enabled());
  EXPECT_EQ(Said(3, f.Label8), "@RS @VA @ST|0,12|");
  ui_.click(f.Command7);  // logging on; no line until the analyser measures
  ui_.click(f.Command1);  // Start: the leak check first
  EXPECT_EQ((std::tuple{Said(1), f.Stato}), std::tuple("ET", "ETER"));
  a.setState("standby");
  EXPECT_EQ(Said(5, f.Label5, f.Label8), "@ST SB @ST AZ @ST|Calibrazione|- - -|");
  EXPECT_TRUE(f.PBar1.Visible());
  EXPECT_EQ(Said(7), "@ST @ST @ST @RS @ST @ST HC");
  f.Label27.setBackColor(plat::colors::kRed);  // as an error code of the analyser left it
  EXPECT_EQ(Said(1, f.Label5, f.Label27), "EH|Test HC|" + Text(lang::ANGASTTESEmsgbox) + "|");
  EXPECT_EQ(f.Label27.BackColor(), plat::colors::kRed);  // the residue check sets texts only
  EXPECT_EQ((std::tuple{Said(2), f.GasPhase, std::filesystem::exists(bin_ / "gas.log")}),
            std::tuple("EH EH", "MINIMO", false));
  EXPECT_EQ(Said(4, f.Label5, f.Label15), "@ST @RS @VA @ST|Misura|850|");
  EXPECT_EQ(std::tuple(f.Combo1.Enabled(), p_.link.McnCommandLen), std::tuple(false, 3));
  EXPECT_EQ(plat::test::ReadBytes(bin_ / "gas.log"),
            "0,12\t14,5\t120\t0,8\t40\t0,1\t1,002\t850\t85\t14/03/2026 09:30:00\tAQ123456 \r\n");

  a.leakDate = "12032026";
  a.leakTime = "0900";
  a.rsCode1 = 25;  // the analyser asks for the leak check on every measuring status
  ui_.answerBox(plat::MsgBoxResult::OK, 500);  // open for half a second, the talk going on
  EXPECT_EQ(Said(4, f.Label5),
            "@RS @VA @ST ET @ST @RS @VA @ST ET @ST @RS @VA @ST ET @ST @RS @VA @ST ET @ST @RS @VA "
            "@ST ET|Misura|");
  EXPECT_EQ(
      std::tuple(ui_.boxes().size(), ui_.lastBox().text, ui_.lastBox().icon, p_.link.McnEtFlag),
      std::tuple(1u, Text(lang::ANGASETmsgbox), plat::MsgBoxIcon::Exclamation, "I"));

  // An older analyser: its fuel settings read with "@LA" and sent back as six fields. The leak
  // test from its button, on a station that skips the check, gives Start and stand-by back.
  ui_.click(f.CmdOut1);
  a.setState("warmup");
  a.rsCode1 = 0;
  a.identity.version = "1.4";
  a.fuelSettings = Fields({"BENZINA", "NO CAT", "04", "2", "1.730", "0.000"});
  p_.shell.SystemEnableMask = 4;  // "Disable leak test request"
  OpenGasTest();
  EXPECT_EQ(Said(5, f.Combo1, f.Combo3),
            "ID @SD @LA @LI ST|" + f.Combo1.List(0) + "|" + f.Combo3.List(1) + "|");
  ui_.choose(f.Combo3, 0);           // four strokes: the fuel read goes out as two words
  EXPECT_EQ(Said(3), "@SA ST @RS");  // in the place of the status cycle's request
  EXPECT_EQ(a.fuelSettings, Fields({"BENZINA", "NO CAT", "04", "4", "1.730", "0.000"}));
  ui_.answerBox(plat::MsgBoxResult::OK);
  ui_.click(f.Command6);
  EXPECT_TRUE(!f.Command1.Enabled() && !f.Command4.Enabled() && f.Label38.Visible());
  EXPECT_EQ(Said(3), "TT ET ST");
  EXPECT_TRUE(f.Command1.Enabled() && f.Command4.Enabled() && !f.Label38.Visible());
}

// Catalysed petrol from F1 to its certificate (MCTC-NET), each speed too high, then too low at
// first. Printed again, "report.log" changes only its end of measurement; closing the gas test
// form ends the certificate.
TEST_F(GasTest, CatalysedPetrolFromF1ToThePrintedCertificate) {
  sim::Instrument& a = Station(Protocol::Mctc);
  ANGAS& f = OpenGasTest();
  StartCertification(f);
  const char* engine =
      "at 0ms rpm 1200\nat 3s rpm 1200\nat 3025ms rpm 850\nat 12s rpm 850\n"
      "at 12025ms rpm 2300\nat 0ms cocorr 0.1\nat 0ms co 0.1\nat 0ms lambda 1.004\n";
  a.play(sim::ParseScenario(engine, "engine"));
  EXPECT_FALSE(f.Command2.Enabled());
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 30000));
  EXPECT_EQ(Shown(f.Label27, f.Label28), "PROVA AL MINIMO ACCELERATO CONCLUSA|PROVA SUPERATA|");
  EXPECT_EQ(f.Label28.BackColor(), plat::colors::kGreen);

  const std::string bad = "Numero di copie non valido";
  const std::string reportLog = "\n" + (bin_ / "report.log").string() + "\n";
  // The fault (1: the printer fails, 2: "report.log" cannot be written, 3 and 4: the same
  // with English and Spanish chosen), the copies typed, how the message told begins ("":
  // none), the copies printed.
  using Case = std::tuple<int, std::string, std::string, int>;
  const Case cases[] = {
      {0, "2", "", 2},
      {0, "2,9", "", 2},  // a fraction counts its whole copies
      {0, "0", "", 0},
      {0, "-1", "", 0},
      {0, "", bad, 0},
      {0, "due", bad, 0},
      {0, "1.5", bad, 0},  // the other separator
      {0, "100000", bad, 0},
      {0, "1e300", bad, 0},
      {1, "1", "Stampa non riuscita:\nPrinter error", 0},
      {2, "1", "File non scritto:" + reportLog, 1},
      {3, "1", "File not written:" + reportLog, 1},
      {4, "1", "Archivo no escrito:" + reportLog, 1},
  };
  PrtKYMRACERT& cert = p_.prtKYMRACERT;
  ui_.whilePrinting = [&](plat::Form&) { EXPECT_FALSE(cert.Command2.Visible()); };
  std::string first;  // "report.log" of the first print
  for (const auto& [fault, copies, told, printed] : cases) {
    SCOPED_TRACE(copies);
    ui_.clearBoxes();
    std::filesystem::remove(bin_ / "report.log");
    const std::size_t printedBefore = ui_.printed().size();
    if (fault == 1) ui_.failPrinting(plat::RuntimeError(plat::kErrPrintFailed, "Printer error"));
    if (fault >= 2) std::filesystem::create_directory(bin_ / "report.log");
    p_.shell.LanguageCode = static_cast<std::int16_t>(fault >= 3 ? fault - 1 : 1);
    if (!told.empty()) ui_.answerBox();
    ui_.onModal(cert, [&, copies = copies] {
      EXPECT_EQ(Shown(cert.Label22, cert.Label60, cert.Label46, cert.Label79, cert.Text2),
                "AB123CD|2300|850|PROVA SUPERATA|TOPAZ|");
      EXPECT_EQ(cert.Label79.BackColor(), plat::colors::kYellow);
      ui_.type(cert.Text5, copies);
      ui_.click(cert.Command2);
      EXPECT_TRUE(cert.Visible() && cert.Command1.Visible() && cert.Command2.Visible() &&
                  cert.Text5.Visible() && cert.Label1.Visible());
      ui_.click(cert.Command1);
    });
    ui_.click(f.Command2);
    EXPECT_EQ(std::accumulate(ui_.printed().begin() + printedBefore, ui_.printed().end(), 0,
                              [](int n, const auto& p) { return n + p.copies; }),
              printed);
    ASSERT_EQ(ui_.boxes().size(), told.empty() ? 0u : 1u);
    EXPECT_EQ(told.empty() ? 0 : ui_.boxes()[0].text.rfind(told, 0), 0u);
    EXPECT_FALSE(ui_.ended());
    ui_.failPrinting(std::nullopt);
    if (first.empty()) {
      first = ReportLog();
      EXPECT_THAT(first, testing::ContainsRegex("Plate=AB123CD\r\n.*ParRPMmin=850\r\nRPM=2300\r\n.*"
                                                "Result=PROVA SUPERATA\r\nDate=14/03/2026\r\n"));
      ui_.advance(60'000);  // the end of measurement moves on, nothing else
    } else if (told.empty()) {
      const auto end = first.find("EndMeas=");
      EXPECT_EQ(ReportLog().substr(0, end), first.substr(0, end));
    }
  }
  std::filesystem::remove(bin_ / "report.log");
  ui_.click(f.CmdOut1);
  EXPECT_EQ(cert.Certificate.Label79.Caption + cert.Certificate.Label22, "");
}

// Notes every message box that opens, after or before the gas test form finished its reply.
struct BoxWatch : plat::FormsObserver {
  explicit BoxWatch(Program& program) : p(program) { p.rt.forms.addObserver(this); }
  ~BoxWatch() override { p.rt.forms.removeObserver(this); }
  void messageBoxOpened(const plat::MessageBox& box) override {
    seen += (p.gas.GasReplyReady == 1 ? "after: " : "before: ") + box.request().text + "\n";
  }
  Program& p;
  std::string seen;
};

// The analyser unplugged: no box, no beep, the requests lost and "ERRORE COM" at the time-out;
// a new analyser behind COM1 is asked within half a second, with nothing pressed, and its
// readings show.
TEST_F(GasTest, AnalyserUnpluggedThenANewOneBehindThePortIsTakenUpWithNothingPressed) {
  Station(Protocol::Binary);
  ANGAS& f = OpenGasTest();
  EXPECT_EQ(Said(6, f.Label5, f.Label8), "1 . # ? P ?|In attesa|0,12|");
  const std::shared_ptr<plat::MemoryDevice> old = line_;
  old->takeWritten();
  old->unplug();
  EXPECT_EQ(Said(42, f.Label5, f.Label8), "|ERRORE COM|0,12|");
  EXPECT_EQ(Said(42, f.Label5, f.Label8), "|ERRORE COM|0,12|");
  Analyser(Protocol::Binary).setState("ready");
  analyser_->gas.co = 0.5;
  EXPECT_EQ(Said(60, f.Label5, f.Label8), "P ? P ? P ? P ? P ? P ? P ? P ? P ?|In attesa|0,5|");
  EXPECT_EQ(std::tuple(old->takeWritten(), ui_.boxes().size(), ui_.beeps()),
            std::tuple("", std::size_t{0}, 0));
}

// Line events while a reply is half in: a beep or nothing, as each code says; the reply
// waits on. An arrival larger than the input buffer is one beep.
TEST_F(GasTest, LineEventsBeepOrPassAsTheirCodeSays) {
  sim::Instrument& a = Station(Protocol::Mctc);
  ANGAS& f = OpenGasTest();
  Said(10);
  a.silent = true;
  Said(1);
  line_->send("\x02GA");
  ui_.settle();
  for (const auto& [code, beeps] : plat::test::kLineEventRows) {
    SCOPED_TRACE(code);
    const int before = ui_.beeps();
    line_->raiseLineEvent(code);
    ui_.settle();
    EXPECT_EQ(std::tuple(ui_.beeps() - before, f.MSComm2.CommEvent(), f.GasRxBuffer,
                         p_.gas.GasReplyReady, ui_.boxes().size()),
              std::tuple(beeps ? 1 : 0, code, "\x02GA", 0, std::size_t{0}));
  }
  const int before = ui_.beeps();
  line_->send(std::string(plat::SerialPort::kInBufferSize + 1, 'x'));
  ui_.settle();
  EXPECT_EQ(ui_.beeps() - before, 1);
}

// A window length of 0 is refused by the progress bar when the idle window opens and again
// when the raised-idle window opens: each refusal is told after its reply has been handled.
// A failed idle verdict ends the next test after its one window, told as failed on the form
// and on the certificate.
TEST_F(GasTest, EachRefusalIsToldAfterItsReply) {
  Station(Protocol::Binary);
  EditConf("AM=1\r\nLN=5E-01\r\nRC=3E-01\r\nMCS=120", "AM=0\r\nLN=5E-01\r\nRC=3E-01\r\nMCS=0");
  BoxWatch watch(p_);
  ANGAS& f = OpenGasTest();
  ui_.answerBox(plat::MsgBoxResult::OK, 500);
  ui_.answerBox(plat::MsgBoxResult::OK, 500);
  StartCertification(f);
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 20000));
  EXPECT_EQ(f.Label28.Caption(), "PROVA SUPERATA");
  const std::string refused = "after: " + Text(lang::MsgBox1) + "\n";
  EXPECT_EQ(watch.seen, refused + refused);

  ui_.answerBox(plat::MsgBoxResult::OK, 500);
  p_.shell.GasLimitCOcorrIdle = 0.05;  // below the analyser's 0.1
  ui_.click(f.Command1);               // Stop
  StartCertification(f);
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "MINIMO"; }, 1000));
  ASSERT_TRUE(AdvanceUntil([&] { return f.GasPhase == "OUT"; }, 20000));
  const GasCertificate& cert = p_.prtKYMRACERT.Certificate;
  const std::string failed = Text(lang::ANGASProNnSup);
  EXPECT_EQ(std::tuple(f.Label28.Caption(), cert.Label79.Caption, cert.Label79.BackColor),
            std::tuple(failed, failed, plat::colors::kRed));
  EXPECT_EQ(watch.seen, refused + refused + refused);
}

// The diagnosis sheet waits for `lp` in the event loop: while it prints, its buttons and
// copies field are off the screen and the analyser is asked on every tick. What `lp` answers
// is told in the operator's language: its refusal with its own reason, a job that outlasts
// the time limit as a printer error; then the buttons are back.
TEST_F(GasTest, TheDiagnosisSheetWaitsForLpWhileTheAnalyserIsAskedOnEveryTick) {
  Station(Protocol::Binary);
  plat::PdfPrinter printer;
  plat::test::HeldChildren lp;
  printer.starter = &lp;
  p_.rt.forms.setPrinter(&printer);
  ANGAS& f = OpenGasTest();
  ui_.advance(1000);
  PrtKYMRADIAGN& sheet = p_.prtKYMRADIAGN;
  const auto buttons = [&] {
    return std::to_string(sheet.Command1.Visible()) + std::to_string(sheet.Command2.Visible()) +
           std::to_string(sheet.Text5(1).Visible()) + std::to_string(sheet.Label30.Visible());
  };
  // The language, the copies typed, when `lp` ends (-1: never) with its status and stderr;
  // what is told, how long the print button waited, and what the 10 s after it saw.
  using Case = std::tuple<int, std::string, plat::Millis, int, std::string, std::string,
                          plat::Millis, std::string>;
  const std::string pending = "0000 sheet up, 400 requests";
  const Case cases[] = {
      {1, "1", 20'000, 1, "lp: Error - The printer is not responding.\n",
       "Stampa non riuscita:\nPrinter error\nlp: Error - The printer is not responding.", 20'000,
       pending},
      {2, "2", -1, 0, "", "Printing failed:\nPrinter error", 30'000, pending},
      {3, "1", 12'000, 0, "lp: warning\n", "", 12'000, pending},
      {2, "two", -1, 0, "", "Number of copies not valid: \"two\"", 0, ""},
      {3, "100", -1, 0, "", "Número de copias no válido: como máximo 99", 0, ""},
  };
  for (const auto& [language, copies, after, status, stderrText, told, waited, seen] : cases) {
    SCOPED_TRACE(copies);
    p_.shell.LanguageCode = static_cast<std::int16_t>(language);
    if (after >= 0) lp.plan(after, status, stderrText);
    if (!told.empty()) ui_.answerBox();
    ui_.clearBoxes();
    std::string during;
    plat::Millis took = -1;
    ui_.onModal(sheet, [&, copies = copies] {
      ui_.type(sheet.Text5(1), copies);
      const std::size_t asked = analyser_->requests.size();
      const plat::Millis start = p_.rt.loop.now();
      plat::EventLoop::TimerId check = 0;
      check = p_.rt.loop.startTimer(10'000, [&] {
        p_.rt.loop.stopTimer(check);
        during = buttons() + (sheet.Visible() ? " sheet up, " : " sheet gone, ") +
                 std::to_string(analyser_->requests.size() - asked) + " requests";
      });
      ui_.click(sheet.Command2);
      p_.rt.loop.stopTimer(check);
      took = p_.rt.loop.now() - start;
      EXPECT_EQ(buttons(), "1111");
      ui_.click(sheet.Command1);
    });
    ui_.click(f.Command2);
    EXPECT_EQ(std::tuple(during, took), std::tuple(seen, waited));
    ASSERT_EQ(ui_.boxes().size(), told.empty() ? 0u : 1u);
    EXPECT_EQ(told.empty() ? "" : ui_.boxes()[0].text, told);
    EXPECT_EQ(lp.running(), 0);
  }
  const auto jobs = lp.started();
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_THAT(jobs[0].argv, ::testing::ElementsAre("lp", "-s", "-t", Text(lang::PrtKYMRADiagnMis),
                                                   StartsWith("/")));
  EXPECT_EQ(std::tuple(jobs[0].killed, jobs[1].killed, jobs[2].killed),
            std::tuple(false, true, false));
}

// The lines of "gas.log": each whole one (eleven fields, CR LF) as it stands, else "torn".
std::vector<std::string> LogLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", at);
    const std::string line = bytes.substr(at, end == std::string::npos ? end : end - at);
    const bool whole = end != std::string::npos && std::ranges::count(line, '\t') == 10;
    lines.push_back(whole ? line : "torn");
    at = end == std::string::npos ? bytes.size() : end + 2;
  }
  return lines;
}

// A "gas.log" line that cannot be written is told once per opening, in the operator's
// language and after the reply; the analyser is asked on meanwhile, and the lines come back
// when the file takes them again.
TEST_F(GasTest, ALogLineNotWrittenIsToldOncePerOpeningAndLoggingResumes) {
  Station(Protocol::Binary);
  p_.shell.LanguageCode = 2;
  BoxWatch watch(p_);
  p_.menu.Show();  // which deletes the logs
  const std::filesystem::path log = bin_ / "gas.log";
  std::filesystem::create_symlink("/dev/full", log);
  const auto measure = [&] {
    ANGAS& f = OpenGasTest();
    Said(6);
    ui_.click(f.Command7);
    ui_.click(f.Command1);
    return Said(7);
  };
  ui_.answerBox(plat::MsgBoxResult::OK, 500);  // open for half a second
  const std::string first = measure();
  EXPECT_THAT(first, StartsWith("E ? ? ? P ? P"));
  EXPECT_GE(std::ranges::count(first, 'P'), 10) << first;  // asked on under the box
  const std::string polls = Said(40, p_.angas.Label5);
  EXPECT_EQ(polls.substr(polls.find('|')), "|" + Text(lang::ANFUMOMisura) + "|");
  EXPECT_GE(std::ranges::count(polls, 'P'), 15) << polls;  // no box for these
  const std::string told =
      MessageText(2, Msg::LogNotWritten, {log.string(), "No space left on device"});
  EXPECT_EQ(watch.seen, "after: " + told + "\n");
  EXPECT_EQ(ui_.lastBox().icon, plat::MsgBoxIcon::Exclamation);

  std::filesystem::remove(log);
  Said(8);
  const std::vector<std::string> resumed = LogLines(plat::test::ReadBytes(log));
  EXPECT_EQ(std::tuple(resumed.size(), std::ranges::count(resumed, "torn")), std::tuple(4u, 0));
  std::filesystem::remove(log);
  std::filesystem::create_directory(log);
  Said(8);
  EXPECT_EQ(ui_.boxes().size(), 1u);  // not again in the same opening

  ui_.click(p_.angas.Command1);  // Stop
  Said(2);
  ui_.click(p_.angas.CmdOut1);
  ui_.answerBox();
  measure();
  EXPECT_EQ(watch.seen, "after: " + told + "\nafter: " +
                            MessageText(2, Msg::LogNotWritten, {log.string(), "Is a directory"}) +
                            "\n");
}

// A stored port that does not exist is told and the form runs on. The vehicle-data button
// toggles the vehicle form, saving what it shows. The limits dialog reads a suggestion back
// under either decimal separator; a bad field is named and changes no limit. Closing saves
// the limits, the raised-idle one kept to 16 bits. A station without the analyser's serial
// number shows none, not the model's text.
TEST_F(GasTest, InvalidPortVehicleButtonLimitsAndClosing) {
  Station(Protocol::Binary);
  EditConf("Nserie=AQ123456\r\n", "");
  p_.menu.Show();
  p_.shell.GasComPort = 17;
  ui_.answerBox();
  ANGAS& f = OpenGasTest();
  EXPECT_EQ(Shown(f.Label1, f.Label3), "TOPAZ||");
  EXPECT_EQ(std::tuple(ui_.lastBox().text.substr(0, 6), ui_.lastBox().icon),
            std::tuple("COM17 ", plat::MsgBoxIcon::Critical));
  ui_.advance(42 * 25);
  EXPECT_EQ(f.Label5.Caption(), "ERRORE COM");
  DVeicoli& d = p_.dveicoli;
  ui_.click(f.Command3);
  ASSERT_TRUE(d.IsLoaded() && d.Visible());
  ui_.type(d.Text2, "XY987ZW");
  ui_.click(f.Command3);
  EXPECT_EQ(std::tuple(d.IsLoaded(), p_.shell.VehiclePlate), std::tuple(false, "XY987ZW"));
  ui_.click(f.Command3);
  ui_.close(d);
  ui_.click(f.Command3);
  EXPECT_EQ(d.Text2.Text(), "XY987ZW");

  ShellState& s = p_.shell;
  LIMITIAN& l = p_.limitian;
  const auto limits = [&] {
    return std::tuple(s.GasLimitRpmIdle, s.GasLimitRpmRaisedLow, s.GasLimitRpmRaisedHigh,
                      s.GasLimitLambdaLow, s.GasLimitLambdaHigh, s.GasLimitCOcorrIdle,
                      s.GasLimitCOcorrRaisedIdle, s.GasTestDuration);
  };
  for (const auto& regional :
       {plat::RegionalSettings::English(), plat::RegionalSettings::Italian()}) {
    p_.rt.regional = regional;
    ui_.onModal(l, [&] {
      // Each field its own value, so that one stored into another's limit shows.
      for (auto [box, value] : {std::pair(&l.Text1, 950.0),
                                {&l.Text2, 2100.0},
                                {&l.Text3, 2600.0},
                                {&l.Text4, 0.95},
                                {&l.Text5, 1.05}})
        ui_.type(*box, plat::FormatDouble(value, regional));
      ui_.choose(l.CombCOcorMin, 3);
      ui_.choose(l.CombCOcorMinacc, 1);
      ui_.type(l.Text8, "819");
      ui_.click(l.CmdApl);
    });
    ui_.click(f.Command5);
    EXPECT_EQ(std::tuple(s.GasLimitCOcorrIdle, s.GasLimitCOcorrRaisedIdle, s.GasTestDuration),
              std::tuple(0.3, 0.2, 32760));
    EXPECT_EQ(limits(), std::tuple(950, 2100, 2600, 0.95, 1.05, 0.3, 0.2, 32760));
  }
  const auto before = limits();
  const std::string duration = Text(lang::LIMITIANDProva);
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] { ui_.type(l.Text1, "mille"); }, "RPMmin"},
      {[&] { ui_.type(l.Text4, "0.95"); }, "LambdaLI"},  // the other separator
      {[&] { ui_.type(l.CombCOcorMinacc, "0.2"); }, "LCOcorMinacc"},
      {[&] { ui_.type(l.Text5, ""); }, "LambdaLS"},
      {[&] { ui_.type(l.Text8, "820"); }, duration},
      {[&] { ui_.type(l.Text8, "3 s"); }, duration},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    ui_.clearBoxes();
    ui_.answerBox();
    ui_.onModal(l, [&] {
      ui_.type(l.Text1, "900");  // a good edit beside the bad one is not stored either
      c.first();
      ui_.click(l.CmdApl);
      EXPECT_TRUE(l.Visible());
      ui_.close(l);
    });
    ui_.click(f.Command5);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_THAT(ui_.lastBox().text, StartsWith(c.second + ":"));
    EXPECT_EQ(limits(), before);
  }
  p_.shell.GasLimitRpmRaisedHigh = 40000;  // typed beyond what the settings keep
  ui_.esc(f);
  EXPECT_FALSE(f.IsLoaded() || ui_.ended());
  EXPECT_NE(plat::test::ReadBytes(dir_ / "Conf.ini").find("GV=32767\r\n"), std::string::npos);
}

// The analyser set-up's stored settings: a port, a speed and a model.
std::string Conf(const std::string& tcom, const std::string& tbrate, const std::string& model) {
  return "[COMKYMRA]\r\nTModCom=1\r\nTCOM=" + tcom + "\r\nTBRate=" + tbrate +
         "\r\nMarca=OLD\r\nNOmologa=H-1\r\nModello=KYMRAGAS-410\r\nNserie=S-1\r\n"
         "Versione=1.0\r\nScadenza=01/01/2020\r\n[MODKYMRA]\r\nModello=" +
         model + "\r\n";
}

TEST_F(GasTest, AnsuSearchesOnItsOwnExchangeAndApplicaWritesBothSections) {
  ANSU& f = p_.ansu;
  // A stored port the station cannot have opens as port 1.
  sim::Instrument& one = Analyser(sim::Protocol::Mctc, 1);  // replaced below, no longer used
  for (const char* stored : {"0", "17", "-2"}) {
    plat::test::WriteBytes(dir_ / "Conf.ini", Conf(stored, "1", "1"));
    f.Show();
    EXPECT_EQ(std::tuple(f.Text5.Text(), p_.shell.GasComPort), std::tuple("1", 1)) << stored;
    ui_.click(f.Command2);
    EXPECT_EQ(line_->baud(), 1200);
    f.Unload();
  }
  EXPECT_EQ(one.requests.size(), 3u);
  plat::test::WriteBytes(dir_ / "Conf.ini", Conf("16", "1", "1"));  // the last port there is
  f.Show();
  EXPECT_EQ(std::tuple(f.Text5.Text(), p_.shell.GasComPort), std::tuple("16", 16));
  f.Unload();

  plat::test::WriteBytes(dir_ / "Conf.ini", Conf("3", "4", "0"));
  sim::Instrument& gas = Analyser(sim::Protocol::Mctc, 3);
  gas.identity = {"KARVESTON", "KYMRAGAS-530   ", "OM-4711", "AQ123456", "31122030", "1.5", "0"};
  gas.splitInto = 3;  // the reply comes in three pieces
  // A gas test's exchange is under way: the search must leave it alone.
  LinkState& l = p_.link;
  std::tie(l.McnAddress, l.McnCommand, l.McnCommandLen, l.McnDevNumberLen) =
      std::tuple("OPA", "@VA", 3, 1);
  f.Show();
  // The disabled 38400 (Option4) is shown all the same.
  EXPECT_EQ(std::tuple(Shown(f.Text5, f.Text3), f.Option4.Value(), f.Combo1.ListIndex(),
                       p_.gas.GasDeviceAddress),
            std::tuple("3|KYMRAGAS-410|", true, 0, 49));
  ui_.click(f.Command2);
  EXPECT_EQ(line_->baud(), 9600);  // the search never asks at 38400
  ui_.settle();
  EXPECT_EQ(line_->takeWritten(), BuildMctcNetFrame("GAS", "ID", "1", ""));
  // The model shown and kept without the blanks.
  EXPECT_EQ(std::tuple(Shown(f.Text1, f.Text3, f.Text7), f.Combo1.ListIndex(), p_.shell.GasComMode,
                       p_.gas.GasDeviceAddress),
            std::tuple("KARVESTON|KYMRAGAS-530|31/12/2030|", 2, 1, 33));
  EXPECT_EQ(std::tie(l.McnAddress, l.McnCommand, l.McnCommandLen), std::tuple("OPA", "@VA", 3));

  // What the operator types into the identity boxes is not saved.
  ui_.type(f.Text1, "TYPED");
  ui_.click(f.Option2);
  ui_.answerBox();
  ui_.click(f.CmdApl);
  EXPECT_EQ(std::tuple(ui_.lastBox().text, f.Visible()), std::tuple("Impostazioni salvate.", true));
  EXPECT_EQ(plat::test::ReadBytes(dir_ / "Conf.ini"),
            "[COMKYMRA]\r\nTModCom=1\r\nTCOM=3\r\nTBRate=2\r\nMarca=KARVESTON\r\n"
            "NOmologa=OM-4711\r\nModello=KYMRAGAS-530\r\nNserie=AQ123456\r\nVersione=1.5\r\n"
            "Scadenza=31/12/2030\r\n[MODKYMRA]\r\nModello=2\r\n");
  // The printed pages show the stored analyser at once, not the one of the last start.
  EXPECT_EQ(std::tie(p_.shell.GasMake, p_.shell.GasHomologation),
            std::tuple("KARVESTON", "OM-4711"));

  // A port that cannot be opened, and a write that fails, are told.
  line_->setAvailable(false);
  ui_.answerBox();
  ui_.click(f.Command2);
  EXPECT_EQ(std::tuple(ui_.lastBox().icon, line_->takeWritten()),
            std::tuple(plat::MsgBoxIcon::Critical, ""));
  EXPECT_THAT(ui_.lastBox().text, StartsWith("COM3 non può essere aperta\r\n"));
  p_.rt.currentDirectory = dir_ / "gone";
  ui_.answerBox();
  ui_.clearBoxes();
  ui_.click(f.CmdApl);
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_THAT(ui_.lastBox().text, testing::HasSubstr((dir_ / "gone" / "Conf.ini").string()));
}

TEST(GasIdentityTest, ModelNamedByTheFirstTwelveCharactersOfAParsedIdentity) {
  // The model, the fields in the reply, whether it parsed, the model index and protocol.
  for (auto [model, fields, parsed, index, comMode] : {std::tuple("KYMRAGAS-410", 7, true, 0, 1),
                                                       {"KYMRAGAS-420XL", 7, true, 1, 1},
                                                       {"KYMRAGAS-530  ", 6, true, 2, 1},
                                                       {"kymragas-410", 7, true, 3, 2},
                                                       {"TOPAZ", 7, true, 3, 2},
                                                       {"KYMRAGAS-410", 5, false, 3, 2}}) {
    LinkState l;
    const std::string all[] = {"K", model, "H", "S", "31122030", "1.5", "0"};
    std::string data = all[0];
    for (int i = 1; i < fields; ++i) data += kEtb + all[i];
    const IdentifiedModel m = TakeGasIdentity(l, sim::MctcReply("GAS", "ID", data), 2, 1);
    const std::string shown = parsed ? all[1].substr(0, all[1].find_last_not_of(' ') + 1) : "";
    EXPECT_EQ(std::tuple(m.parsed, m.modelIndex, m.comMode, l.InstrModel),
              std::tuple(parsed, index, comMode, shown))
        << model;
  }
}

}  // namespace
}  // namespace vs::test
