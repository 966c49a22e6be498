// The recognition form scanning a station of in-memory lines: simulated instruments on some
// ports, silent lines and lines that cannot be opened on the others.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/Program.h"
#include "forms/link/RiconosciMCTC.h"
#include "platform/serial/MemoryDevice.h"
#include "shell/LanguageTable.h"
#include "sim/Instrument.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"

namespace vs {
namespace {

using sim::Device;
using sim::Instrument;
using sim::Protocol;

// The report of a scan, one letter a port: - no connect, x left out, g and r the identity
// lines of the gas analyser and of the counter, b an identity of four blanked texts.
std::string Report(std::string_view ports) {
  std::string s;
  for (int n = 1; n <= 16; ++n) {
    const char c = ports[n - 1];
    const std::string line = c == 'g'   ? "KARVESTON   TOPAZ   AQ123456   1.5"
                             : c == 'r' ? "GIRITEC   RX-2   R0042   2.5"
                                        : std::string(4 + 3 * 3, ' ');
    if (c != 'x')
      s += "Com" + std::to_string(n) + (c == '-' ? " no connect" : "   " + line) + "\r\n";
  }
  return s;
}

// Answers on time, late, split and malformed, and a port that cannot be opened; then a
// scan stopped by Esc, one stopped by closing the form.
TEST(RecognitionTest, ScanAsksEachPortInTurnAndReportsWhatAnswered) {
  Program p{plat::EventLoop::ClockKind::Manual};
  LoadLanguageTexts(p.shell, plat::test::DataFolder(), 1);
  plat::test::FormDriver ui{p.rt};
  RiconosciMCTC& f = p.riconosciMCTC;
  Instrument gas{Device::Gas, Protocol::Mctc}, opa{Device::Opacimeter, Protocol::Mctc, 5};
  Instrument rpm{Device::EngineSpeed, Protocol::Mctc}, late{Device::Gas, Protocol::Mctc};
  Instrument malformed{Device::Opacimeter, Protocol::Mctc, 5};
  rpm.identity = {"GIRITEC", "RX-2", "OM-0815", "R0042", "01022031", "2.5", "7"};
  rpm.replyDelayMs = 450;  // still within its tick
  rpm.splitInto = 3;
  late.replyDelayMs = 600;                  // after the next tick: lost
  malformed.setReply("ID", "ONLY-A-MAKE");  // cannot be split: blanked, still ends the port
  const std::map<int, Instrument*> on = {
      {2, &gas}, {3, &opa}, {5, &rpm}, {9, &malformed}, {11, &late}};
  // Every port is a line of its own, silent unless an instrument is on it; each frame the
  // form writes is one question: when, on which port, to which address.
  std::shared_ptr<plat::MemoryDevice> lines[17];
  std::vector<std::string> asked;
  for (int n = 1; n <= 16; ++n) {
    lines[n] = p.rt.serial.attachMemory(n);
    if (on.contains(n)) sim::Attach(*on.at(n), lines[n], &p.rt.loop);
    lines[n]->onWrite = [&, n, before = lines[n]->onWrite](std::string_view bytes) {
      asked.push_back(std::to_string(p.rt.loop.now()) + " Com" + std::to_string(n) + " " +
                      std::string(bytes.substr(1, 3)));
      if (before) before(bytes);
    };
  }
  lines[7]->setAvailable(false);
  // The message and its colour, the start button when enabled, the timer when running, the
  // port box and the ports held open.
  const auto shown = [&] {
    const plat::Color c = f.Label3.BackColor();
    std::string s = f.Label3.Caption() +
                    (c == plat::colors::kGreen    ? " green"
                     : c == plat::colors::kYellow ? " yellow"
                     : c == plat::colors::kRed    ? " red"
                                                  : " ?") +
                    (f.Command1.Enabled() ? " start" : "") + (f.Timer1.Enabled() ? " timer" : "") +
                    " [" + f.Text2.Text() + "]";
    for (int n = 1; n <= 16; ++n) s += lines[n]->isOpen() ? " open " + std::to_string(n) : "";
    return s;
  };
  f.Show();

  ui.enter(f);  // the start button is the default button
  EXPECT_EQ(shown(), "Ricerca in corso... green timer []");
  ui.advance(500);
  EXPECT_EQ(shown(), "Ricerca in corso... green timer [Com1 GAS] open 1");
  EXPECT_EQ(lines[1]->baud(), 9600);
  ui.advance(500 * 15);  // the tick that finds port 7 unopenable
  EXPECT_EQ(f.Text2.Text(), "Com7 KO");
  for (int i = 0; i < 60 && f.Port != 0; ++i) ui.advance(500);

  // One tick per question, a port that cannot be opened takes one; then the tick that ends
  // the scan.
  std::vector<std::string> expected;
  plat::Millis t = 500;
  for (int n = 1; n <= 16; ++n, t += n == 7 ? 500 : 0) {
    for (int q = 0; q < "3123330323333333"[n - 1] - '0'; ++q, t += 500) {
      expected.push_back(std::to_string(t) + " Com" + std::to_string(n) + " " +
                         std::string("GASOPARPM").substr(3 * q, 3));
    }
  }
  EXPECT_EQ(asked, expected);
  EXPECT_EQ(p.rt.loop.now(), t);
  EXPECT_EQ(f.Text3.Text(), Report("-gg-r-x-b-------"));
  EXPECT_EQ(shown(), "Ricerca terminata yellow start [Com0]");
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
  EXPECT_EQ(shown(), "Ricerca terminata yellow start [Com0]");
  EXPECT_EQ(f.Text3.Text(), Report("-g--------------"));
  const auto questions = asked.size();
  ui.advance(5000);
  EXPECT_EQ(asked.size(), questions);  // the timer is off

  // A start closes a port left open, so that its first port can open; closing the form
  // mid-scan closes its port and stops its timer; the next load is idle, and Esc then
  // closes the form.
  f.MSComm3.setCommPort(9);
  f.MSComm3.setPortOpen(true);
  const plat::Millis started = p.rt.loop.now();
  ui.click(f.Command1);
  EXPECT_FALSE(lines[9]->isOpen());
  ui.advance(500);
  EXPECT_EQ(asked.back(), std::to_string(started + 500) + " Com1 GAS");
  ui.close(f);
  EXPECT_FALSE(lines[1]->isOpen());
  f.Show();
  EXPECT_EQ(f.Port, 0);
  EXPECT_EQ(shown(), "Premere Ricerca per iniziare red start []");
  ui.advance(2000);
  EXPECT_EQ(asked.size(), questions + 1);
  ui.esc(f);
  EXPECT_FALSE(f.IsLoaded());
}

}  // namespace
}  // namespace vs
