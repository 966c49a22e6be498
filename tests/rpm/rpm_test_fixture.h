#pragma once
// A station for the engine-speed forms: the current directory is a fresh temporary folder
// with "Lingua.ini" and the "Conf.ini" a test writes, and a simulated engine-speed counter
// on an in-memory line behind COM3 that answers through the event loop.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "forms/Program.h"
#include "platform/serial/MemoryDevice.h"
#include "shell/LanguageTable.h"
#include "sim/Instrument.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace vs::test {

inline constexpr int kCounterPort = 3;

// Section RPM with the counter on COM3 at 9600 baud; `more` follows it.
inline std::string RpmSection(const std::string& cylinders = "4", const std::string& strokes = "4",
                              const std::string& pollSelect = "0",
                              const std::string& externRpm = "0",
                              const std::string& externOil = "0") {
  return "[RPM]\r\nMarca=GIRITEC  RX-2\r\nNOmol=OM-0815\r\nNserie=R0042\r\nScadenza=01/02/2031\r\n"
         "TCOMrpm=3\r\nTBRaterpm=2\r\nNCilindriRPM=" +
         cylinders + "\r\nNTempiRPM=" + strokes + "\r\nExternRPM=" + externRpm +
         "\r\nExternToil=" + externOil + "\r\nSelrpmT=" + pollSelect + "\r\n";
}

class RpmStationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p_.rt.currentDirectory = dir_.path();
    p_.rt.regional = plat::RegionalSettings::English();
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
    LoadLanguageTexts(p_.shell, dir_.path(), 1);
    line_ = p_.rt.serial.attachMemory(kCounterPort);
    sim::Attach(counter_, line_, &p_.rt.loop);
  }
  void WriteConf(const std::string& bytes) const {
    plat::test::WriteBytes(dir_ / "Conf.ini", bytes);
  }
  std::string ReadConf() const { return plat::test::ReadBytes(dir_ / "Conf.ini"); }
  // The requests the counter has seen since the last call, "CI 4" or "VA".
  std::vector<std::string> Requests() {
    std::vector<std::string> out;
    for (const sim::Request& r : counter_.requests)
      out.push_back(r.data.empty() ? r.command : r.command + " " + r.data);
    counter_.requests.clear();
    return out;
  }

  plat::test::TempFolder dir_{"vs-rpm"};
  Program p_{plat::EventLoop::ClockKind::Manual};
  plat::test::FormDriver ui_{p_.rt};
  std::shared_ptr<plat::MemoryDevice> line_;
  sim::Instrument counter_{sim::Device::EngineSpeed, sim::Protocol::Mctc};
};

}  // namespace vs::test
