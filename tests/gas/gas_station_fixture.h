#pragma once
// A station with a gas analyser on COM1, of the binary protocol unless a test says MCTC-NET:
// the current directory holds "Lingua.ini" and a "Conf.ini" made from data/ (the analyser's
// model and protocol, short test windows, a vehicle and the people filled in), the
// program's folder is another one, and a form driver answers for the operator. The analyser
// is the simulator, attached to COM1's in-memory line on the program's manual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "forms/Program.h"
#include "platform/serial/MemoryDevice.h"
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

// A fresh folder that is both the current directory and the program's folder, with
// "Lingua.ini" in it and its texts loaded; the program on its manual clock and a form driver.
class GasFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
    p_.rt.currentDirectory = p_.rt.programFolder = dir_.path();
    LoadLanguageTexts(p_.shell, dir_.path(), 1);
  }
  const std::string& Text(std::size_t key) const { return p_.shell.LangText[key]; }

  plat::test::TempFolder dir_{"vs-gas"};
  Program p_{plat::EventLoop::ClockKind::Manual};
  plat::test::FormDriver ui_{p_.rt};
};

class GasStationTest : public GasFolderTest {
 protected:
  virtual sim::Protocol AnalyserProtocol() const { return sim::Protocol::Binary; }
  bool Binary() const { return AnalyserProtocol() == sim::Protocol::Binary; }

  void SetUp() override {
    GasFolderTest::SetUp();
    bin_ = dir_ / "bin";
    std::filesystem::create_directory(bin_);
    p_.rt.programFolder = bin_;
    p_.rt.regional = plat::RegionalSettings::Italian();
    p_.rt.loop.setLocalTime({2026, 3, 14, 9, 30, 0});
    // Edited with LF line ends, written back with CR LF as the file has them.
    std::string conf = plat::test::ReadBytes(plat::test::DataFolder() / "Conf.ini");
    Replace(conf, "\r\n", "\n", true);
    if (Binary()) {
      Replace(conf, "[MODKYMRA]\nModello=3", "[MODKYMRA]\nModello=0");
      Replace(conf, "[COMKYMRA]\nTModCom=2", "[COMKYMRA]\nTModCom=1");
    }
    Replace(conf, "Marca=\nNOmologa=\nModello=\nNserie=\nVersione=\nScadenza=\n[MODOPA]",
            "Marca=KARVESTON\nNOmologa=OM-4711\nModello=TOPAZ\nNserie=AQ123456\nVersione=\n"
            "Scadenza=\n[MODOPA]");
    Replace(conf, "MCS=5800", "MCS=120");  // 3 s windows
    Replace(conf, "FeT=\nTarga=\nTelaio=\nAnno=\nMod=",
            "FeT=FIAT PUNTO\nTarga=AB123CD\nTelaio=ZFA17600001\nAnno=2012\nMod=EVO");
    Replace(conf, "Operatore=\nResponsabileTecn=\nEnte=",
            "Operatore=Rossi\nResponsabileTecn=Bianchi\nEnte=Officina Nord");
    Replace(conf, "\n", "\r\n", true);
    plat::test::WriteBytes(dir_ / "Conf.ini", conf);
    line_ = p_.rt.serial.attachMemory(1);
    analyser_ = std::make_unique<sim::Instrument>(sim::Device::Gas, AnalyserProtocol(), 0);
    analyser_->setState(Binary() ? "ready" : "standby");
    sim::Attach(*analyser_, line_, &p_.rt.loop);
  }

  // The start menu, then F1: the gas test form, open on COM1.
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

  // Certification mode, petrol with catalyst, and Start once the analyser takes a fuel.
  void StartCertification(ANGAS& f, int fuel = 1) {
    ASSERT_TRUE(AdvanceUntil(
        [&] { return Binary() ? p_.gas.GasInstrumentState == 128 : p_.gas.GasMcnStatus == 2; },
        5000));
    ui_.choose(f.Combo4, 0);
    ui_.choose(f.Combo1, fuel);
    ui_.advance(100);
    ui_.click(f.Command1);
  }

  std::string ReportLog() const { return plat::test::ReadBytes(bin_ / "report.log"); }

  std::filesystem::path bin_;
  std::unique_ptr<sim::Instrument> analyser_;
  std::shared_ptr<plat::MemoryDevice> line_;
};

}  // namespace vs::test
