// The shell's procedures without forms: the settings in "Conf.ini", RCLIni, the language table
// of "Lingua.ini" and readings against limits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "platform/ini/PrivateProfile.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Numbers.h"
#include "shell/LanguageTable.h"
#include "shell/LimitRule.h"
#include "shell/RCLIni.h"
#include "shell/SettingsStore.h"
#include "shell/SystemSetup.h"
#include "shell/menu_test_fixture.h"

namespace vs {
namespace {

namespace fs = std::filesystem;
using SettingsStoreTest = test::StationTest;
using LanguageTableTest = test::StationTest;

void LoadAll(Program& p) {
  const SettingsPlace at = ConfPlace(p.rt);
  for (auto load : {LoadSmokeLimits, LoadGasLimits, LoadVehicleData, LoadUserData, LoadRpmSettings,
                    LoadAmbientData, LoadPrintSettings, LoadLanguage, LoadInstrumentModels})
    load(p.shell, at);
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
    EXPECT_EQ(std::tie(s.SmokeRpmMin, s.SmokeRpmMax, s.SmokeOpacityThreshold, s.SmokeKLimit,
                       s.GasLimitRpmIdle, s.GasLimitRpmRaisedLow, s.GasLimitRpmRaisedHigh,
                       s.GasLimitLambdaLow, s.GasLimitLambdaHigh, s.GasLimitCOcorrIdle,
                       s.GasLimitCOcorrRaisedIdle, s.GasTestDuration, s.LanguageCode),
              std::tuple(1000, 3500, 40.5, 2.5, 1100, 2000, 2500, 0.97, 1.03, 0.5, 0.3, 5800, 0));
    EXPECT_EQ(
        std::tie(s.VehiclePlate, s.VehicleChassis, s.AmbientPressure, q.link.InstrMake,
                 q.link.InstrHomologation, s.GasMake, s.GasHomologation, q.link.ActiveComMode,
                 s.OpaComPort, s.OpaBaudIndex, s.OpaModelIndex, s.GasComMode, s.GasComPort,
                 s.GasBaudIndex, s.GasModelIndex),
        std::tuple("AB1", "ZFA", "101.3", "Opa", "OP-1", "Gas", "GA-4", 2, 7, 4, 5, 1, 8, 9, 3));
    fs::remove(conf());
    for (auto save : {SaveSmokeLimits, SaveGasLimits, SaveVehicleData, SaveUserData,
                      SaveAmbientData, SaveLanguage})
      ASSERT_TRUE(save(s, ConfPlace(q.rt)));
    EXPECT_EQ(ReadConf(), saved);
    // The sample of a fresh station reads under this separator too.
    fs::copy_file(plat::test::DataFolder() / "Conf.ini", conf(),
                  fs::copy_options::overwrite_existing);
    LoadAll(q);
    EXPECT_EQ(std::tie(s.SmokeKLimit, s.GasLimitLambdaLow, s.GasLimitLambdaHigh),
              std::tuple(2.5, 0.97, 1.03));
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
  EXPECT_EQ(std::tie(s.VehicleMakeType, s.VehiclePlate, s.VehicleChassis, p_.link.InstrMake,
                     p_.link.InstrHomologation, s.GasLimitRpmIdle, s.GasLimitRpmRaisedLow,
                     s.GasLimitRpmRaisedHigh, s.GasLimitLambdaLow, s.GasModelIndex),
            std::tuple("Fiat", "", "", "", "OP-7", 1100, 2100, 2600, 0.9, 2));
}

// After a save the records hold what the file holds, as the next start loads it.
TEST_F(SettingsStoreTest, AfterASaveTheRecordHoldsWhatTheFileHolds) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      // Conf.ini before the save, typed, held
      {"", "Ελένη 李😀", "????? ??"},
      {"", "  Mario\r\nMüller \"", "Mario Müller \""},
      {"[UTENTE]\r\nEnte=Citt\xE0\r\n", "Ελένη", "?????"},          // Windows-1252 file
      {"[UTENTE]\r\nEnte=Citt\xC3\xA0\r\n", "Ελένη 😀", "Ελένη 😀"},  // UTF-8 file
  };
  for (const auto& [file, typed, held] : cases) {
    WriteConf(file), p_.shell.OperatorName = typed;
    EXPECT_TRUE(SaveUserData(p_.shell, at()));
    EXPECT_EQ(p_.shell.OperatorName, held) << typed;
  }
  // Numbers too: an integer key rounds half to even, a single keeps 7 digits.
  p_.shell.SmokeRpmMax = 2500.5f, p_.shell.SmokeKLimit = 0.123456789;
  EXPECT_TRUE(SaveSmokeLimits(p_.shell, at()));
  EXPECT_EQ(std::tie(p_.shell.SmokeRpmMax, p_.shell.SmokeKLimit), std::tuple(2500, 0.1234568));
}

// A number at or beyond the end of what its key holds is written as the largest the key's
// written form holds, which the next start reads back: under either separator, the file's
// text and the value a fresh load holds are the value the save left.
TEST_F(SettingsStoreTest, NumbersAtTheEndsOfTheirKeysReadBack) {
  using Limits = std::numeric_limits<double>;
  using Singles = std::numeric_limits<float>;
  double ShellState::*const vk = &ShellState::SmokeKLimit;            // single text
  double ShellState::*const gv = &ShellState::GasLimitRpmRaisedHigh;  // integer text
  double ShellState::*const kquad = &ShellState::GasKquad;            // double text, scrambled
  const std::tuple<double ShellState::*, double, const char*> cases[] = {
      // the variable, its value, its written form ('#' the decimal separator)
      {vk, 1E308, "3#402823E+38"},
      {vk, -1E308, "-3#402823E+38"},
      {vk, Singles::max(), "3#402823E+38"},
      {vk, -Limits::infinity(), "-3#402823E+38"},
      {vk, Limits::quiet_NaN(), "0"},
      {vk, Singles::min(), "1#175494E-38"},
      {vk, -Singles::denorm_min(), "-1#401298E-45"},
      {vk, 1E-300, "0"},
      {gv, 1E308, "32767"},
      {gv, -Limits::infinity(), "-32768"},
      {kquad, Limits::max(), "1#79769313486231E+308"},
      {kquad, -Limits::max(), "-1#79769313486231E+308"},
      {kquad, Limits::infinity(), "1#79769313486231E+308"},
      {kquad, Limits::quiet_NaN(), "0"},
      {kquad, Limits::denorm_min(), "4#94065645841247E-324"},
  };
  for (const char sep : {'.', ','}) {
    p_.rt.regional.decimalSeparator = std::string(1, sep);
    for (const auto& [field, value, form] : cases) {
      std::string written = form;
      std::replace(written.begin(), written.end(), '#', sep);
      SCOPED_TRACE(written);
      p_.shell.*field = value;
      ASSERT_TRUE(SaveSmokeLimits(p_.shell, at()) && SaveGasLimits(p_.shell, at()) &&
                  SaveSystemSettings(p_.shell, at()));
      const std::string line =
          field == kquad ? plat::Utf8ToCp1252(ScrambleString(written)) : written;
      EXPECT_NE(ReadConf().find("=" + line + "\r\n"), std::string::npos);
      const double held = plat::ParseDouble(written, p_.rt.regional);
      ShellState fresh;  // as the next start loads them
      LoadSmokeLimits(fresh, at());
      LoadGasLimits(fresh, at());
      LoadSystemSettings(fresh, at());
      EXPECT_EQ(std::tuple(p_.shell.*field, fresh.*field), std::tuple(held, held));
    }
  }
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
  const auto read = [&](const std::string& file, const char* key) {
    ini.File = file, ini.key = key;
    return ini.GetValue() ? '1' : '0';
  };
  const std::string reads{read(path, "CGLPP"), read(path, "RN"),
                          read(missing, "RN"), read(dir_.path().string(), "RN"),
                          read("", "RN"),      read(path, "CGLPP")};
  // A folder and an empty name are no file.
  EXPECT_EQ(std::tuple(reads, ini.Value, fs::exists(missing)), std::tuple("010000", "800", false));
  ini.File = missing, ini.Section = "AMBIENTE", ini.key = "UmiditàRelativa";
  EXPECT_TRUE(ini.SetValue());
  EXPECT_EQ(plat::test::ReadBytes(missing), "[AMBIENTE]\r\nUmidit\xE0Relativa=800\r\n");
  ini.File = (dir_ / "no-folder" / "Conf.ini").string();
  EXPECT_FALSE(ini.SetValue());
}

// Text k of the file below is "<section><k>"; key 3 is missing, key 50 empty and English
// lacks key 0: a key not found repeats the text before it.
TEST_F(LanguageTableTest, CodeChoosesTheSectionAndAKeyNotFoundRepeatsTheTextBefore) {
  std::string file;
  for (const std::string section : {"ITALIANO", "INGLESE"}) {
    file += "[" + section + "]\r\n";
    for (int k = section == "INGLESE"; k < kLanguageTextCount; ++k) {
      const std::string text = k == 50 ? "" : section + std::to_string(k);
      if (k != 3) file += std::string(LanguageKey(k)) + "=" + text + "\r\n";
    }
  }
  plat::test::WriteBytes(dir_ / "Lingua.ini", plat::Utf8ToCp1252(file));
  ShellState& s = p_.shell;
  const auto t = [](const std::string& section, int k) {  // text k of `section` as loaded
    return section.empty() || (k == 0 && section == "INGLESE") ? "" : section + std::to_string(k);
  };
  // Keys 3 and 50 are not found in Italian, 0, 3 and 50 in English, all in Spanish.
  const auto missing = [](const std::string& section) {
    return section.empty() ? kLanguageTextCount : section == "INGLESE" ? 3 : 2;
  };
  const std::pair<std::int16_t, std::string> codes[] = {
      {0, "ITALIANO"}, {1, "ITALIANO"},  {2, "INGLESE"},     {3, ""},
      {4, "ITALIANO"}, {-1, "ITALIANO"}, {32767, "ITALIANO"}};
  for (const auto& [code, section] : codes) {
    LoadLanguageTexts(s, dir_.path(), code == 2 ? 1 : 2);  // an earlier load's texts never stay
    const LanguageLoad load = LoadLanguageTexts(s, dir_.path(), code);
    EXPECT_EQ(std::tie(s.LangText[0], s.LangText[3], s.LangText[50], s.LangText[166]),
              std::tuple(t(section, 0), t(section, 2), t(section, 49), t(section, 166)))
        << code;
    EXPECT_EQ(std::tuple(load.missing, load.state == LanguageLoad::State::NoTexts),
              std::tuple(missing(section), section.empty()))
        << code;
  }
  fs::remove(dir_ / "Lingua.ini");
  const LanguageLoad load = LoadLanguageTexts(s, dir_.path(), 2);
  EXPECT_EQ(s.LangText[1] + s.LangText[166], "");
  EXPECT_EQ(std::tuple(load.state, load.missing),
            std::tuple(LanguageLoad::State::Missing, kLanguageTextCount));
  EXPECT_TRUE(LanguageKey(-1).empty() && LanguageKey(kLanguageTextCount).empty());
}

// Every text in each shipped language, shorter than 254 bytes; the verdict texts differ.
TEST(LanguageDataTest, ShippedFileHasEveryTextInEveryLanguage) {
  const plat::Profile file(plat::test::ReadBytes(plat::test::DataFolder() / "Lingua.ini"));
  for (const char* section : {"ITALIANO", "INGLESE", "SPAGNOLO"}) {
    const auto text = [&](std::size_t k) { return file.Value(section, lang::kKeys[k]); };
    for (std::size_t k = 0; k < lang::kCount; ++k)
      EXPECT_TRUE(text(k) && text(k)->size() < 254) << section << " " << lang::kKeys[k];
    EXPECT_TRUE(text(lang::ANGASProSup) != text(lang::ANGASProNnSup) &&
                text(lang::GeneralePos) != text(lang::GeneraleNeg))
        << section;
  }
}

// Readings against limits, decided as the screen shows them.
TEST(LimitRuleTest, WorkedValues) {
  const std::tuple<double, double, bool, bool> cases[] = {
      // value, limit, AtMost, AtLeast
      {(0.1 + 0.1 + 0.1) / 3, 0.1, true, true},  // a mean of equal readings
      {0.1 * 3, 0.3, true, true},                // 0.30000000000000004 against 0.3 as typed
      {0.100000000000001, 0.1, false, true},     // a 15th-digit difference is a difference
      {0.29, 0.3, true, false},
      {0.31, 0.3, false, true},
      {2500.0000000000005, 2500, true, true},  // large engine speeds
      {std::nan(""), 0.3, false, false},       // NaN is never within
  };
  for (const auto& [v, limit, atMost, atLeast] : cases) {
    EXPECT_EQ(std::tuple(AtMost(v, limit), AtLeast(v, limit), Above(v, limit), Below(v, limit)),
              std::tuple(atMost, atLeast, !atMost && !std::isnan(v), !atLeast && !std::isnan(v)))
        << v;
  }
}

// Values cut to decimals are the doubles their shown texts parse to, as typed limits are.
TEST(LimitRuleTest, KeptToDecimalsIsTheShownValue) {
  const plat::RegionalSettings it = plat::RegionalSettings::Italian();
  const std::tuple<double, int, const char*> cases[] = {
      {0.7 * 3, 1, "2,1"},  // 2.0999999999999996 in binary
      {4.35, 1, "4,3"},     // cut even past a half
      {-0.25, 1, "-0,3"},   // towards minus infinity, as Int does
      {12.345, -1, "12"},   // a negative count is 0
  };
  for (const auto& [v, decimals, shown] : cases) {
    const double kept = KeptToDecimals(v, decimals);
    EXPECT_EQ(plat::FormatDouble(kept, it), shown) << v;
    EXPECT_EQ(kept, plat::ParseDouble(shown, it)) << v;
  }
  EXPECT_TRUE(std::isnan(KeptToDecimals(std::nan(""), 1)));
}

}  // namespace
}  // namespace vs
