#pragma once
// GasTest: a fresh folder, current directory and program folder, with "Lingua.ini" and its
// texts, the program on its manual clock and a form driver; Station() adds a station's
// "Conf.ini", the program in its own folder and the analyser simulated on COM1.
// GasBench: the test sequence without a form, each step applied to a stand-in screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "forms/Program.h"
#include "gas/GasSequence.h"
#include "platform/serial/MemoryDevice.h"
#include "shell/LanguageKeys.h"
#include "shell/LanguageTable.h"
#include "sim/Instrument.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace vs::test {

// What a control shows: its text, else its caption.
inline std::string ShownOf(const plat::TextBox& box) { return box.Text(); }
inline std::string ShownOf(const plat::ComboBox& box) { return box.Text(); }
template <class Control>
std::string ShownOf(const Control& c) {
  return c.Caption();
}

// MCTC-NET fields joined by ETB.
inline std::string Fields(std::initializer_list<std::string> fields) {
  std::string joined;
  for (const std::string& f : fields) joined += f + '\x17';
  return joined.substr(0, joined.size() - 1);
}

class GasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
    p_.rt.currentDirectory = p_.rt.programFolder = dir_.path();
    LoadLanguageTexts(p_.shell, dir_.path(), 1);
  }
  const std::string& Text(std::size_t key) const { return p_.shell.LangText[key]; }
  // What some controls show, each followed by "|".
  template <class... Control>
  static std::string Shown(const Control&... c) {
    return ((ShownOf(c) + "|") + ...);
  }

  // A simulated analyser on COM `port`, answering through the event loop.
  sim::Instrument& Analyser(sim::Protocol protocol, int port = 1) {
    analyser_ = std::make_unique<sim::Instrument>(sim::Device::Gas, protocol, 0);
    line_ = p_.rt.serial.attachMemory(port);
    sim::Attach(*analyser_, line_, &p_.rt.loop);
    return *analyser_;
  }
  // The commands the analyser gets in the next `ticks` 25 ms ticks, one blank between them;
  // then, after "|", what `shown` show.
  template <class... Control>
  std::string Said(int ticks, const Control&... shown) {
    const std::size_t from = analyser_->requests.size();
    ui_.advance(25 * ticks);
    std::string s;
    for (std::size_t i = from; i < analyser_->requests.size(); ++i)
      s += (s.empty() ? "" : " ") + analyser_->requests[i].command;
    if constexpr (sizeof...(shown) > 0) s += "|" + Shown(shown...);
    return s;
  }

  // A station with a vehicle and the people filled in and 3 s test windows, in Italian; the
  // analyser (binary model 0 ready, or MCTC-NET in stand-by) on COM1.
  sim::Instrument& Station(sim::Protocol protocol) {
    const bool binary = protocol == sim::Protocol::Binary;
    std::filesystem::create_directory(p_.rt.programFolder = bin_ = dir_ / "bin");
    p_.rt.regional = plat::RegionalSettings::Italian();
    p_.rt.loop.setLocalTime({2026, 3, 14, 9, 30, 0});
    plat::test::WriteBytes(
        dir_ / "Conf.ini",
        "[IA]\r\nRN=1000\r\nCGLPP=2000\r\nGV=2500\r\nLI=97E-02\r\nAS=103E-02\r\nAM=1\r\n"
        "LN=5E-01\r\nRC=3E-01\r\nMCS=120\r\n[VEICOLO]\r\nFeT=FIAT PUNTO\r\nTarga=AB123CD\r\n"
        "Telaio=ZFA17600001\r\nAnno=2012\r\nMod=EVO\r\n[UTENTE]\r\nOperatore=Rossi\r\n"
        "ResponsabileTecn=Bianchi\r\nEnte=Officina Nord\r\n[COMKYMRA]\r\nTCOM=1\r\nTBRate=2\r\n"
        "Marca=KARVESTON\r\nNOmologa=OM-4711\r\nModello=TOPAZ\r\nNserie=AQ123456\r\nTModCom=" +
            std::string(binary ? "1" : "2") + "\r\n[MODKYMRA]\r\nModello=" + (binary ? "0" : "3") +
            "\r\n");
    Analyser(protocol).setState(binary ? "ready" : "standby");
    return *analyser_;
  }
  void EditConf(const std::string& from, const std::string& to) {
    std::string conf = plat::test::ReadBytes(dir_ / "Conf.ini");
    plat::test::WriteBytes(dir_ / "Conf.ini", conf.replace(conf.find(from), from.size(), to));
  }
  ANGAS& OpenGasTest() {
    p_.menu.Show();
    ui_.fkey(p_.menu, 1);
    EXPECT_TRUE(p_.angas.IsLoaded());
    return p_.angas;
  }
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
  GasSequenceState state{.GasPhase = GasTestPhase::Minimo};
  GasCertificate cert;
  std::string Label27, Label28;
  bool PBar1Visible = false, Command2Enabled = true;
  float PBar1Value = 0, PBar1Max = 800;  // the bar's design maximum
  std::vector<std::string> boxes;        // the exclamation boxes told so far

  GasBench(GasProtocol protocol, std::int16_t fuel) {
    // Certification mode; measuring in either protocol, leak and HC residue checks passed.
    gate = {protocol, 0, fuel, 0, 129, 0, 8, 0, "R", "R"};
    in.limits = {1000, 2000, 2500, 0.97, 1.03, 0.3, 0.3, 1, 40};
    in.readings = {.GasRpm = 800, .GasCOcorr = 0.1, .GasLambda = 1, .GasO2 = 1, .GasCO2 = 14};
    in.texts = {"ESITO",   "DEC",    "ACC",       "MANMIN",  "CONCL",       "CONPRO", "PASSED",
                "P1CONCL", "FAILED", "MANMINACC", "P2CONCL", "BADDURATION", "REFERTO"};
  }
  void ReplyAt(std::int32_t tick) {
    gate.GasTickCount = tick;
    GasWindowChanges w;
    AvanzaProva(gate, in, state, w, cert);
    Label27 = w.Label27Caption.value_or(Label27);
    Label28 = w.Label28Caption.value_or(Label28);
    PBar1Visible = w.PBar1Visible.value_or(PBar1Visible);
    PBar1Value = w.PBar1Value.value_or(PBar1Value);
    PBar1Max = w.PBar1Max.value_or(PBar1Max);
    boxes.insert(boxes.end(), w.Exclamations.begin(), w.Exclamations.end());
    Command2Enabled = w.Command2Enabled.value_or(Command2Enabled);
  }
};

}  // namespace vs::test
