#pragma once
// The gas tests' station and bench. GasTest: a fresh folder that is the current directory and
// the program's folder, with "Lingua.ini" and its texts, the program on its manual clock and a
// form driver; Station() adds a "Conf.ini" made from data/ (a vehicle and the people filled in,
// 3 s test windows), the program in its own folder and the analyser simulated on COM1.
// GasBench: the test sequence without a form, each step applied to a stand-in screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "forms/Program.h"
#include "gas/GasSequence.h"
#include "platform/serial/MemoryDevice.h"
#include "shell/LanguageKeys.h"
#include "shell/LanguageTable.h"
#include "sim/Instrument.h"
#include "sim/Scenario.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace vs::test {

// Replaces the first `from` (every one with `all`); a missing one fails the test.
inline void Replace(std::string& text, const std::string& from, const std::string& to,
                    bool all = false) {
  auto at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  do {
    text.replace(at, from.size(), to);
    at = text.find(from, at + to.size());
  } while (all && at != std::string::npos);
}

class GasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
    p_.rt.currentDirectory = p_.rt.programFolder = dir_.path();
    LoadLanguageTexts(p_.shell, dir_.path(), 1);
  }
  const std::string& Text(std::size_t key) const { return p_.shell.LangText[key]; }

  // A simulated analyser on COM `port`, answering through the event loop.
  sim::Instrument& Analyser(sim::Protocol protocol, int port = 1) {
    analyser_ = std::make_unique<sim::Instrument>(sim::Device::Gas, protocol, 0);
    line_ = p_.rt.serial.attachMemory(port);
    sim::Attach(*analyser_, line_, &p_.rt.loop);
    return *analyser_;
  }
  // The commands the analyser gets in the next `ticks` 25 ms ticks, one blank between them.
  std::string Said(int ticks) {
    const std::size_t from = analyser_->requests.size();
    ui_.advance(25 * ticks);
    std::string s;
    for (std::size_t i = from; i < analyser_->requests.size(); ++i)
      s += (s.empty() ? "" : " ") + analyser_->requests[i].command;
    return s;
  }

  sim::Instrument& Station(sim::Protocol protocol) {
    const bool binary = protocol == sim::Protocol::Binary;
    bin_ = dir_ / "bin";
    std::filesystem::create_directory(bin_);
    p_.rt.programFolder = bin_;
    p_.rt.regional = plat::RegionalSettings::Italian();
    p_.rt.loop.setLocalTime({2026, 3, 14, 9, 30, 0});
    // Edited with LF line ends, written back with CR LF as the file has them.
    std::string conf = plat::test::ReadBytes(plat::test::DataFolder() / "Conf.ini");
    Replace(conf, "\r\n", "\n", true);
    if (binary) {
      Replace(conf, "[MODKYMRA]\nModello=3", "[MODKYMRA]\nModello=0");
      Replace(conf, "[COMKYMRA]\nTModCom=2", "[COMKYMRA]\nTModCom=1");
    }
    Replace(conf, "Marca=\nNOmologa=\nModello=\nNserie=\nVersione=\nScadenza=\n[MODOPA]",
            "Marca=KARVESTON\nNOmologa=OM-4711\nModello=TOPAZ\nNserie=AQ123456\nVersione=\n"
            "Scadenza=\n[MODOPA]");
    Replace(conf, "MCS=5800", "MCS=120");
    Replace(conf, "FeT=\nTarga=\nTelaio=\nAnno=\nMod=",
            "FeT=FIAT PUNTO\nTarga=AB123CD\nTelaio=ZFA17600001\nAnno=2012\nMod=EVO");
    Replace(conf, "Operatore=\nResponsabileTecn=\nEnte=",
            "Operatore=Rossi\nResponsabileTecn=Bianchi\nEnte=Officina Nord");
    Replace(conf, "\n", "\r\n", true);
    plat::test::WriteBytes(dir_ / "Conf.ini", conf);
    Analyser(protocol).setState(binary ? "ready" : "standby");
    return *analyser_;
  }
  // The start menu, then F1: the gas test form.
  ANGAS& OpenGasTest() {
    p_.menu.Show();
    ui_.fkey(p_.menu, 1);
    EXPECT_TRUE(p_.angas.IsLoaded());
    return p_.angas;
  }
  // Advances the clock in ticks until `done` holds or `ms` have passed.
  template <class Pred>
  bool AdvanceUntil(Pred done, int ms) {
    for (int t = 0; t < ms && !done(); t += 25) ui_.advance(25);
    return done();
  }
  // Certification mode and a fuel once the analyser takes one, then Start.
  void StartCertification(ANGAS& f, int fuel = 1) {
    const bool binary = analyser_->protocol() == sim::Protocol::Binary;
    ASSERT_TRUE(AdvanceUntil(
        [&] { return binary ? p_.gas.GasInstrumentState == 128 : p_.gas.GasMcnStatus == 2; },
        5000));
    ui_.choose(f.Combo4, 0);
    ui_.choose(f.Combo1, fuel);
    ui_.advance(100);
    ui_.click(f.Command1);
  }
  std::string ReportLog() const { return plat::test::ReadBytes(bin_ / "report.log"); }

  plat::test::TempFolder dir_{"vs-gas"};
  Program p_{plat::EventLoop::ClockKind::Manual};
  plat::test::FormDriver ui_{p_.rt};
  std::filesystem::path bin_;
  std::unique_ptr<sim::Instrument> analyser_;
  std::shared_ptr<plat::MemoryDevice> line_;
};

// A gas test on the bench: idle speed up to 1000, raised idle 2000 to 2500, corrected CO 0.3 at
// both, lambda 0.97 to 1.03, 40-tick windows; each reply's changes kept as the form shows them.
struct GasBench {
  GasGate gate;
  GasTestInput in;
  GasSequenceState state;
  GasCertificate cert;
  std::string Label27, Label28;
  bool PBar1Visible = false, Command2Enabled = true;
  float PBar1Value = 0;

  GasBench(GasProtocol protocol, int fuel) {
    gate = {.protocol = protocol,
            .GasMode = 0,
            .FuelIndex = static_cast<std::int16_t>(fuel),
            .GasInstrumentState = 129,
            .GasMcnStatus = 8,
            .McnEtFlag = "R",
            .McnEhField1 = "R"};
    in.limits = {1000, 2000, 2500, 0.97, 1.03, 0.3, 0.3, 1, 40};
    in.readings = {.GasRpm = 800, .GasCOcorr = 0.1, .GasLambda = 1.0, .GasO2 = 1.0, .GasCO2 = 14.0};
    in.texts = {"ESITO",   "DEC",    "ACC",       "MANMIN",  "CONCL",       "CONPRO", "PASSED",
                "P1CONCL", "FAILED", "MANMINACC", "P2CONCL", "BADDURATION", "REFERTO"};
    state.GasPhase = GasTestPhase::Minimo;
  }
  // A measurement reply at this tick.
  void ReplyAt(std::int32_t tick) {
    gate.GasTickCount = tick;
    GasWindowChanges w;
    AvanzaProva(gate, in, state, w, cert);
    if (w.Label27Caption) Label27 = *w.Label27Caption;
    if (w.Label28Caption) Label28 = *w.Label28Caption;
    if (w.PBar1Visible) PBar1Visible = *w.PBar1Visible;
    if (w.PBar1Value) PBar1Value = *w.PBar1Value;
    if (w.Command2Enabled) Command2Enabled = *w.Command2Enabled;
  }
};

}  // namespace vs::test
