#include "shell/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "forms/Program.h"
#include "shell/SettingsAccess.h"
#include "shell/SystemSetup.h"
#include "shell/settings_test_fixture.h"
#include "support/SourceTree.h"

namespace vs {
namespace {

namespace fs = std::filesystem;

using SettingsStoreTest = test::ConfDirTest;
using Texts = std::vector<std::string>;
using Numbers = std::vector<double>;
using Int16s = std::vector<std::int16_t>;

// Sets every section's fields to fixed values and saves them.
void SaveAll(ShellState& s, const SettingsPlace& at) {
  s.SmokeRpmMin = 1000, s.SmokeRpmMax = 3500, s.SmokeOpacityThreshold = 40.5, s.SmokeKLimit = 2.5;
  s.GasLimitRpmIdle = 1000, s.GasLimitRpmRaisedLow = 2000, s.GasLimitRpmRaisedHigh = 2500;
  s.GasLimitLambdaLow = 0.97, s.GasLimitLambdaHigh = 1.03, s.GasRpmCheckEnabled = 1;
  s.GasLimitCOcorrIdle = 0.5, s.GasLimitCOcorrRaisedIdle = 0.3, s.GasTestDuration = 5800;
  s.VehicleMakeType = "Fiat Punto", s.VehiclePlate = "AB123CD", s.VehicleChassis = "ZFA18800000";
  s.VehicleYear = "2004", s.VehicleModel = "Punto 1.2";
  s.OperatorName = "Rossi Mario", s.TechnicalManager = "Bianchi Luca";
  s.AgencyName = "Officina Centro";
  s.RpmMake = "Giri", s.RpmHomologation = "OM-12", s.RpmSerial = "SN 77";
  s.RpmExpiry = "01/02/2030";
  s.RpmComPort = 3, s.RpmBaudIndex = 2, s.RpmCylinders = 4, s.RpmEngineStrokes = 4;
  s.ExternRpm = 1, s.ExternOilTemp = 0, s.RpmPollSelect = 2;
  s.AmbientTemperature = "21,5", s.AmbientPressure = "101.3", s.AmbientHumidity = "55 %";
  s.PrintType = 1;
  s.LanguageCode = 3;
  for (auto save : {SaveSmokeLimits, SaveGasLimits, SaveVehicleData, SaveUserData, SaveRpmSettings,
                    SaveAmbientData, SavePrintSettings, SaveLanguage}) {
    ASSERT_TRUE(save(s, at));
  }
  // The set-up forms write their own link sections in the same formats.
  const auto write = [&](const char* section, const std::vector<plat::ProfileEntry>& entries) {
    ASSERT_TRUE(WriteConfIni(s, at, section, entries));
  };
  write("COMOPA", {{"TModCom", "2"},
                   {"TCOM", "2"},
                   {"TBRate", "4"},
                   {"Marca", "Opacimetro SpA"},
                   {"NOmologa", "OP-001"}});
  write("MODOPA", {{"Modello", "5"}});
  write("COMKYMRA", {{"TModCom", "1"},
                     {"TCOM", "1"},
                     {"TBRate", "2"},
                     {"Marca", "Analizzatori Srl"},
                     {"NOmologa", "GA-042"}});
  write("MODKYMRA", {{"Modello", "3"}});
}

void LoadAll(Program& p) {
  const SettingsPlace at = ConfPlace(p.rt);
  for (auto load : {LoadSmokeLimits, LoadGasLimits, LoadVehicleData, LoadUserData, LoadRpmSettings,
                    LoadAmbientData, LoadPrintSettings, LoadLanguage, LoadInstrumentModels}) {
    load(p.shell, at);
  }
  LoadComSettings(p.shell, {p.link.ActiveComMode, p.link.InstrMake, p.link.InstrHomologation}, at);
}

class SettingsRoundTripTest : public SettingsStoreTest,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(SettingsRoundTripTest, EverySectionReadsBackWhatWasSaved) {
  p_.rt.regional.decimalSeparator = GetParam();
  SaveAll(p_.shell, at());
  Program q(plat::EventLoop::ClockKind::Manual);
  q.rt.currentDirectory = dir_.path();
  q.rt.regional = p_.rt.regional;
  LoadAll(q);
  const ShellState& s = q.shell;
  EXPECT_EQ((Numbers{s.SmokeRpmMin, s.SmokeRpmMax, s.SmokeOpacityThreshold, s.SmokeKLimit}),
            (Numbers{1000, 3500, 40.5, 2.5}));
  // Singles are written in their shortest text and read as doubles: 0.97f comes back 0.97.
  EXPECT_EQ((Numbers{s.GasLimitRpmIdle, s.GasLimitRpmRaisedLow, s.GasLimitRpmRaisedHigh,
                     s.GasLimitLambdaLow, s.GasLimitLambdaHigh,
                     static_cast<double>(s.GasRpmCheckEnabled), s.GasLimitCOcorrIdle,
                     s.GasLimitCOcorrRaisedIdle, static_cast<double>(s.GasTestDuration)}),
            (Numbers{1000, 2000, 2500, 0.97, 1.03, 1, 0.5, 0.3, 5800}));
  EXPECT_EQ((Texts{s.VehicleMakeType, s.VehiclePlate, s.VehicleChassis, s.VehicleYear,
                   s.VehicleModel, s.OperatorName, s.TechnicalManager, s.AgencyName,
                   s.AmbientTemperature, s.AmbientPressure, s.AmbientHumidity}),
            (Texts{"Fiat Punto", "AB123CD", "ZFA18800000", "2004", "Punto 1.2", "Rossi Mario",
                   "Bianchi Luca", "Officina Centro", "21,5", "101.3", "55 %"}));
  EXPECT_EQ((Texts{s.RpmMake, s.RpmHomologation, s.RpmSerial, s.RpmExpiry}),
            (Texts{"Giri", "OM-12", "SN 77", "01/02/2030"}));
  EXPECT_EQ((Int16s{s.RpmComPort, s.RpmBaudIndex, s.RpmCylinders, s.RpmEngineStrokes, s.ExternRpm,
                    s.ExternOilTemp, s.RpmPollSelect, s.PrintType, s.LanguageCode}),
            (Int16s{3, 2, 4, 4, 1, 0, 2, 1, 3}));
  EXPECT_EQ((Int16s{q.link.ActiveComMode, s.OpaComPort, s.OpaBaudIndex, s.OpaModelIndex,
                    s.GasComMode, s.GasComPort, s.GasBaudIndex, s.GasModelIndex}),
            (Int16s{2, 2, 4, 5, 1, 1, 2, 3}));
  EXPECT_EQ((Texts{q.link.InstrMake, q.link.InstrHomologation, s.GasMake, s.GasHomologation}),
            (Texts{"Opacimetro SpA", "OP-001", "Analizzatori Srl", "GA-042"}));
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, SettingsRoundTripTest, ::testing::Values(".", ","));

TEST_F(SettingsStoreTest, NumbersAreWrittenUnderTheRegionalSettingsInTheCurrentDirectory) {
  p_.rt.regional = plat::RegionalSettings::Italian();
  ShellState& s = p_.shell;
  s.ConfIniPath = "/elsewhere/Lingua.ini";
  s.GasLimitLambdaLow = 0.97, s.GasLimitLambdaHigh = 1.03, s.GasTestDuration = 5800;
  s.AmbientHumidity = "50";
  SaveGasLimits(s, at());
  SaveAmbientData(s, at());
  EXPECT_EQ(s.ConfIniPath, dir_.path().string() + "/Conf.ini");
  const std::string text = ReadConf();
  EXPECT_NE(text.find("LI=0,97"), std::string::npos) << text;
  EXPECT_NE(text.find("AS=1,03"), std::string::npos);
  EXPECT_NE(text.find("MCS=5800"), std::string::npos);
  // The key is Windows-1252 on disk: "à" is the single byte 0xE0.
  EXPECT_NE(text.find("Umidit\xE0Relativa=50"), std::string::npos);
}

TEST_F(SettingsStoreTest, FirstStartWithoutConfIni) {
  ShellState& s = p_.shell;
  s.VehiclePlate = s.OperatorName = s.AmbientPressure = s.RpmMake = s.GasMake = "old";
  p_.link.InstrMake = "old";
  s.SmokeRpmMin = 700;
  s.GasTestDuration = 40;
  s.RpmComPort = s.ExternRpm = s.PrintType = s.OpaComPort = s.GasModelIndex = 2;
  LoadAll(p_);
  EXPECT_FALSE(fs::exists(conf()));  // loading never creates the file
  // Texts become empty; numbers keep their values; the language stays 0 (Italian).
  EXPECT_EQ(s.VehiclePlate + s.OperatorName + s.AmbientPressure + s.RpmMake + s.GasMake +
                p_.link.InstrMake,
            "");
  EXPECT_EQ(s.SmokeRpmMin, 700.0f);
  EXPECT_EQ((Int16s{s.GasTestDuration, s.RpmComPort, s.ExternRpm, s.PrintType, s.OpaComPort,
                    s.GasModelIndex, s.LanguageCode}),
            (Int16s{40, 2, 2, 2, 2, 2, 0}));

  SaveLanguage(s, at());  // the first save creates the file; code 0 reads back as 0
  s.LanguageCode = 2;
  LoadLanguage(p_.shell, at());
  EXPECT_EQ(s.LanguageCode, 0);
}

TEST_F(SettingsStoreTest, MissingOrEmptyKeyNeverTakesThePreviousKeysText) {
  WriteConf(
      "[VEICOLO]\r\nFeT=Fiat Uno\r\nTelaio=\r\nAnno=1990\r\n"
      "[LO]\r\nRN=900\r\nVK=2.5\r\n"
      "[RPM]\r\nMarca=Giri\r\nScadenza=01/02/2030\r\nTBRaterpm=2\r\n"
      "[COMOPA]\r\nNOmologa=OP-7\r\n"
      "[COMKYMRA]\r\nTCOM=4\r\n"
      "[MODOPA]\r\nModello=3\r\n");
  ShellState& s = p_.shell;
  s.VehiclePlate = s.VehicleChassis = s.VehicleModel = "old";
  s.SmokeRpmMax = 3000;
  s.SmokeOpacityThreshold = 1.5;
  s.RpmComPort = 6;
  s.GasComMode = 1;
  s.GasModelIndex = 2;
  LoadVehicleData(p_.shell, at());
  LoadSmokeLimits(p_.shell, at());
  LoadRpmSettings(p_.shell, at());
  LoadComSettings(p_.shell, {p_.link.ActiveComMode, p_.link.InstrMake, p_.link.InstrHomologation},
                  at());
  LoadInstrumentModels(p_.shell, at());
  // Missing (plate, model, serial, makes) or empty (chassis) texts are empty.
  EXPECT_EQ(
      (Texts{s.VehicleMakeType, s.VehiclePlate, s.VehicleChassis, s.VehicleYear, s.VehicleModel,
             s.RpmSerial, p_.link.InstrMake, p_.link.InstrHomologation, s.GasHomologation}),
      (Texts{"Fiat Uno", "", "", "1990", "", "", "", "OP-7", ""}));
  // Missing numbers keep their values, not the key's before them (RN's 900, the expiry
  // date, the other section's mode, MODOPA's model).
  EXPECT_EQ((Numbers{s.SmokeRpmMin, s.SmokeRpmMax, s.SmokeOpacityThreshold, s.SmokeKLimit}),
            (Numbers{900, 3000, 1.5, 2.5}));
  EXPECT_EQ((Int16s{s.RpmComPort, s.RpmBaudIndex, s.GasComMode, s.GasComPort, s.OpaModelIndex,
                    s.GasModelIndex}),
            (Int16s{6, 2, 1, 4, 3, 2}));
}

TEST_F(SettingsStoreTest, ValueThatDoesNotConvertKeepsItsVariableAndTheLaterKeysLoad) {
  WriteConf(
      "[RPM]\r\nMarca=Giri\r\nTCOMrpm=01/02/2030\r\nTBRaterpm=40000\r\n"
      "NCilindriRPM=6\r\nNTempiRPM=2.5\r\nExternRPM=3.5\r\nExternToil=abc\r\nSelrpmT=1\r\n"
      "[IA]\r\nRN=mille\r\nCGLPP=1e400\r\nGV=2600\r\nAM=1\r\n");
  ShellState& s = p_.shell;
  s.RpmComPort = 6;
  s.RpmBaudIndex = 2;
  s.ExternOilTemp = 1;
  s.GasLimitRpmIdle = 1100;
  s.GasLimitRpmRaisedLow = 2100;
  LoadRpmSettings(p_.shell, at());
  LoadGasLimits(p_.shell, at());
  EXPECT_EQ(s.RpmMake, "Giri");
  // A date, an overflow, a number rounded half to even, and text.
  EXPECT_EQ((Int16s{s.RpmComPort, s.RpmBaudIndex, s.RpmCylinders, s.RpmEngineStrokes, s.ExternRpm,
                    s.ExternOilTemp, s.RpmPollSelect, s.GasRpmCheckEnabled}),
            (Int16s{6, 2, 6, 2, 4, 1, 1, 1}));
  EXPECT_EQ((Numbers{s.GasLimitRpmIdle, s.GasLimitRpmRaisedLow, s.GasLimitRpmRaisedHigh}),
            (Numbers{1100, 2100, 2600}));
}

// What the screen and the printed pages show after a save is what the next start loads.
TEST_F(SettingsStoreTest, AfterASaveTheRecordHoldsWhatTheFileHolds) {
  const struct {
    const char* file;  // Conf.ini before the save
    const char* typed;
    const char* held;
  } cases[] = {
      {"", "Ελένη", "?????"},
      {"", "李 Mario 😀", "? Mario ?"},
      {"", "Mario\r\nRossi", "Mario Rossi"},
      {"", "  Müller \"", "Müller \""},
      {"[UTENTE]\r\nEnte=Citt\xE0\r\n", "Ελένη", "?????"},          // Windows-1252 file
      {"[UTENTE]\r\nEnte=Citt\xC3\xA0\r\n", "Ελένη 😀", "Ελένη 😀"},  // UTF-8 file
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    WriteConf(c.file);
    p_.shell.OperatorName = c.typed;
    ASSERT_TRUE(SaveUserData(p_.shell, at()));
    EXPECT_EQ(p_.shell.OperatorName, c.held);
    Program next(plat::EventLoop::ClockKind::Manual);
    next.rt.currentDirectory = dir_.path();
    LoadUserData(next.shell, ConfPlace(next.rt));
    EXPECT_EQ(next.shell.OperatorName, c.held);
  }
  // Numbers too: an integer key rounds half to even, a single keeps 7 digits.
  ShellState& s = p_.shell;
  s.SmokeRpmMax = 2500.5f;
  s.SmokeKLimit = 0.123456789;
  ASSERT_TRUE(SaveSmokeLimits(s, at()));
  EXPECT_EQ((Numbers{s.SmokeRpmMax, s.SmokeKLimit}), (Numbers{2500, 0.1234568}));
}

// The sample of a fresh station loads completely under either decimal separator.
TEST_P(SettingsRoundTripTest, SampleConfIniLoadsEverySection) {
  const fs::path sample = plat::test::DataFolder() / "Conf.ini";
  ASSERT_TRUE(fs::exists(sample));
  fs::copy_file(sample, conf());
  p_.rt.regional.decimalSeparator = GetParam();
  LoadAll(p_);
  LoadSystemSettings(p_.shell, at());
  const ShellState& s = p_.shell;
  EXPECT_EQ(
      (Int16s{s.LanguageCode, s.GasComPort, s.OpaComPort, s.RpmComPort, s.GasBaudIndex,
              s.OpaBaudIndex, s.RpmBaudIndex, s.GasModelIndex, s.OpaModelIndex, s.GasTestDuration}),
      (Int16s{1, 1, 2, 3, 2, 2, 2, 3, 5, 5800}));
  EXPECT_EQ((Numbers{s.SmokeKLimit, s.GasLimitLambdaLow, s.GasLimitLambdaHigh, s.GasLimitCOcorrIdle,
                     s.GasKquad, s.GasKlin}),
            (Numbers{2.5, 0.97, 1.03, 0.5, 1E-09, 0.008}));
}

}  // namespace
}  // namespace vs
