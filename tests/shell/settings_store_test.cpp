// The settings in "Conf.ini": every section's bytes and fields, missing and garbled keys,
// what a save leaves in the records, the scrambled system options, and RCLIni.
#include "shell/SettingsStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/text/Cp1252.h"
#include "shell/RCLIni.h"
#include "shell/SystemSetup.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

namespace fs = std::filesystem;
using SettingsStoreTest = test::ConfDirTest;
using Texts = std::vector<std::string>;
using Numbers = std::vector<double>;
using Int16s = std::vector<std::int16_t>;

void LoadAll(Program& p) {
  const SettingsPlace at = ConfPlace(p.rt);
  for (auto load : {LoadSmokeLimits, LoadGasLimits, LoadVehicleData, LoadUserData, LoadRpmSettings,
                    LoadAmbientData, LoadPrintSettings, LoadLanguage, LoadInstrumentModels}) {
    load(p.shell, at);
  }
  LoadComSettings(p.shell, {p.link.ActiveComMode, p.link.InstrMake, p.link.InstrHomologation}, at);
}

// The sections the data dialogs and limit forms save, loaded into fresh records and saved
// again from them into an empty folder: the same bytes, under either decimal separator.
TEST_F(SettingsStoreTest, EverySectionLoadsAndIsSavedByteForByte) {
  for (const char sep : {'.', ','}) {
    SCOPED_TRACE(sep);
    std::string saved =  // '#': the decimal separator
        "[LO]\r\nRN=1000\r\nMX=3500\r\nON=40#5\r\nVK=2#5\r\n[IA]\r\nRN=1100\r\nCGLPP=2000\r\n"
        "GV=2500\r\nLI=0#97\r\nAS=1#03\r\nAM=1\r\nLN=0#5\r\nRC=0#3\r\nMCS=5800\r\n[VEICOLO]\r\n"
        "FeT=Fiat\r\nTarga=AB1\r\nTelaio=ZFA\r\nAnno=2004\r\nMod=Punto\r\n[UTENTE]\r\n"
        "Operatore=Rossi\r\nResponsabileTecn=Bianchi\r\nEnte=Officina\r\n[AMBIENTE]\r\n"
        "Temperatura=21,5\r\nPressione=101.3\r\nUmidit\xE0Relativa=55\r\n[LINGUA]\r\nTLingua=0\r\n";
    std::replace(saved.begin(), saved.end(), '#', sep);
    // With the link sections as the set-up forms write them.
    WriteConf(saved +
              "[COMOPA]\r\nTModCom=2\r\nTCOM=7\r\nTBRate=4\r\nMarca=Opa\r\nNOmologa=OP-1\r\n"
              "[MODOPA]\r\nModello=5\r\n[COMKYMRA]\r\nTModCom=1\r\nTCOM=8\r\nTBRate=9\r\n"
              "Marca=Gas\r\nNOmologa=GA-4\r\n[MODKYMRA]\r\nModello=3\r\n");
    Program q(plat::EventLoop::ClockKind::Manual);
    q.rt.currentDirectory = dir_.path();
    q.rt.regional.decimalSeparator = std::string(1, sep);
    ShellState& s = q.shell;
    s.LanguageCode = 2;
    LoadAll(q);
    EXPECT_EQ((Numbers{s.SmokeRpmMin, s.SmokeRpmMax, s.SmokeOpacityThreshold, s.SmokeKLimit,
                       s.GasLimitRpmIdle, s.GasLimitRpmRaisedLow, s.GasLimitRpmRaisedHigh,
                       s.GasLimitLambdaLow, s.GasLimitLambdaHigh, s.GasLimitCOcorrIdle,
                       s.GasLimitCOcorrRaisedIdle}),
              (Numbers{1000, 3500, 40.5, 2.5, 1100, 2000, 2500, 0.97, 1.03, 0.5, 0.3}));
    EXPECT_EQ((Texts{s.VehiclePlate, s.VehicleChassis, s.AmbientPressure, q.link.InstrMake,
                     q.link.InstrHomologation, s.GasMake, s.GasHomologation}),
              (Texts{"AB1", "ZFA", "101.3", "Opa", "OP-1", "Gas", "GA-4"}));
    EXPECT_EQ((Int16s{s.GasTestDuration, s.LanguageCode, q.link.ActiveComMode, s.OpaComPort,
                      s.OpaBaudIndex, s.OpaModelIndex, s.GasComMode, s.GasComPort, s.GasBaudIndex,
                      s.GasModelIndex}),
              (Int16s{5800, 0, 2, 7, 4, 5, 1, 8, 9, 3}));
    fs::remove(conf());
    for (auto save : {SaveSmokeLimits, SaveGasLimits, SaveVehicleData, SaveUserData,
                      SaveAmbientData, SaveLanguage}) {
      ASSERT_TRUE(save(s, ConfPlace(q.rt)));
    }
    EXPECT_EQ(ReadConf(), saved);
    // The sample of a fresh station reads under this separator too.
    fs::copy_file(plat::test::DataFolder() / "Conf.ini", conf(),
                  fs::copy_options::overwrite_existing);
    LoadAll(q);
    EXPECT_EQ((Numbers{s.SmokeKLimit, s.GasLimitLambdaLow, s.GasLimitLambdaHigh}),
              (Numbers{2.5, 0.97, 1.03}));
  }
}

// A missing or empty text key is empty, never the key's before it; a number that is
// missing or does not convert keeps its variable, and the later keys still load.
TEST_F(SettingsStoreTest, MissingKeysEmptyTheirTextsAndKeepTheirNumbers) {
  WriteConf(
      "[VEICOLO]\r\nFeT=Fiat\r\nTelaio=\r\n[IA]\r\nRN=mille\r\nCGLPP=1e400\r\nGV=2600\r\n"
      "[COMOPA]\r\nNOmologa=OP-7\r\n");
  ShellState& s = p_.shell;
  s.VehiclePlate = s.VehicleChassis = p_.link.InstrMake = "x";
  s.GasLimitRpmIdle = 1100, s.GasLimitRpmRaisedLow = 2100, s.GasLimitLambdaLow = 0.9;
  s.GasModelIndex = 2;
  LoadAll(p_);
  EXPECT_EQ((Texts{s.VehicleMakeType, s.VehiclePlate, s.VehicleChassis, p_.link.InstrMake,
                   p_.link.InstrHomologation}),
            (Texts{"Fiat", "", "", "", "OP-7"}));
  EXPECT_EQ((Numbers{s.GasLimitRpmIdle, s.GasLimitRpmRaisedLow, s.GasLimitRpmRaisedHigh,
                     s.GasLimitLambdaLow, static_cast<double>(s.GasModelIndex)}),
            (Numbers{1100, 2100, 2600, 0.9, 2}));
}

// After a save the records hold what the file holds: what the screen and the printed pages
// show is what the next start loads.
TEST_F(SettingsStoreTest, AfterASaveTheRecordHoldsWhatTheFileHolds) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // Conf.ini before the save, typed, held
      {"", "Ελένη 李😀", "????? ??"},
      {"", "  Mario\r\nMüller \"", "Mario Müller \""},
      {"[UTENTE]\r\nEnte=Citt\xE0\r\n", "Ελένη", "?????"},          // Windows-1252 file
      {"[UTENTE]\r\nEnte=Citt\xC3\xA0\r\n", "Ελένη 😀", "Ελένη 😀"},  // UTF-8 file
  };
  for (const auto& [file, typed, held] : cases) {
    WriteConf(file);
    p_.shell.OperatorName = typed;
    EXPECT_TRUE(SaveUserData(p_.shell, at()));
    EXPECT_EQ(p_.shell.OperatorName, held) << typed;
  }
  // Numbers too: an integer key rounds half to even, a single keeps 7 digits.
  p_.shell.SmokeRpmMax = 2500.5f;
  p_.shell.SmokeKLimit = 0.123456789;
  EXPECT_TRUE(SaveSmokeLimits(p_.shell, at()));
  EXPECT_EQ((Numbers{p_.shell.SmokeRpmMax, p_.shell.SmokeKLimit}), (Numbers{2500, 0.1234568}));
}

// IMPOSTAZIONI: a missing key takes its default; a value that does not unscramble to a
// number keeps its variable; of the mask only the first character counts.
TEST_F(SettingsStoreTest, SystemOptionsReadBack) {
  const auto scrambled = [](const char* text) { return plat::Utf8ToCp1252(ScrambleString(text)); };
  ShellState& s = p_.shell;
  for (const auto& [section, loaded] :  // section empty: no file; loaded from (2, 5E-09, 0.02)
       {std::pair<std::string, std::tuple<int, double, double>>{"", {0, 1E-09, 0.008}},
        {"AbiM=7Vrin\r\nKquad=1E-09\r\nKlin=" + scrambled("4Vrin"), {2, 5E-09, 0.02}},
        {"AbiM=" + scrambled("5xyz") + "\r\nKquad=" + scrambled("3E-09"), {5, 3E-09, 0.008}}}) {
    if (!section.empty()) WriteConf("[IMPOSTAZIONI]\r\n" + section + "\r\n");
    s.SystemEnableMask = 2, s.GasKquad = 5E-09, s.GasKlin = 0.02;
    LoadSystemSettings(s, at());
    EXPECT_EQ(std::tuple(int{s.SystemEnableMask}, s.GasKquad, s.GasKlin), loaded) << section;
  }
}

// RCLIni's Value keeps what the last read that worked found; a write creates the file.
TEST_F(SettingsStoreTest, RCLIniValueCarriesOverEveryFailedRead) {
  WriteConf("[IA]\r\nRN=800\r\n");
  const std::string path = conf().string(), missing = (dir_ / "nothing.ini").string();
  RCLIni ini{path, "IA", "CGLPP", ""};
  std::string reads;  // a folder and an empty name are no file
  for (const auto& [file, key] : {std::pair(path, "CGLPP"),
                                  {path, "RN"},
                                  {missing, "RN"},
                                  {dir_.path().string(), "RN"},
                                  {"", "RN"},
                                  {path, "CGLPP"}}) {
    ini.File = file, ini.key = key;
    reads += ini.GetValue() ? '1' : '0';
  }
  EXPECT_EQ(std::tuple(reads, ini.Value, fs::exists(missing)), std::tuple("010000", "800", false));
  ini.File = missing, ini.Section = "AMBIENTE", ini.key = "UmiditàRelativa";
  EXPECT_TRUE(ini.SetValue());
  EXPECT_EQ(plat::test::ReadBytes(missing), "[AMBIENTE]\r\nUmidit\xE0Relativa=800\r\n");
  ini.File = (dir_ / "no-folder" / "Conf.ini").string();
  EXPECT_FALSE(ini.SetValue());
}

}  // namespace
}  // namespace vs
