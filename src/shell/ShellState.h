#pragma once
// Program-wide state of the application shell: the settings records loaded from and saved
// to "Conf.ini", the language table, and the shell's shared flags.
#include <array>
#include <cstdint>
#include <string>

#include "shell/LanguageTable.h"

namespace vs {

struct ShellState {
  std::string ConfIniPath;  // scratch path rebuilt by every settings procedure

  // --- Settings records kept in "Conf.ini" (src/shell/SettingsStore.*) ---

  // VEICOLO: the vehicle under test, texts as typed.
  std::string VehicleMakeType, VehiclePlate, VehicleChassis, VehicleYear, VehicleModel;
  // UTENTE: operator, technical manager, testing body.
  std::string OperatorName, TechnicalManager, AgencyName;
  // AMBIENTE: temperature (°C), pressure (kPa), relative humidity (%), texts as typed.
  std::string AmbientTemperature, AmbientPressure, AmbientHumidity;

  // LO: smoke limits.
  float SmokeRpmMin = 0, SmokeRpmMax = 0;
  double SmokeOpacityThreshold = 0, SmokeKLimit = 0;

  // IA: gas limits.
  double GasLimitRpmIdle = 0, GasLimitRpmRaisedLow = 0, GasLimitRpmRaisedHigh = 0;
  double GasLimitLambdaLow = 0, GasLimitLambdaHigh = 0;
  std::int16_t GasRpmCheckEnabled = 0;
  double GasLimitCOcorrIdle = 0, GasLimitCOcorrRaisedIdle = 0;
  std::int16_t GasTestDuration = 0;  // in 25 ms timer ticks

  // RPM: the engine-speed counter.
  std::string RpmMake, RpmHomologation, RpmSerial, RpmExpiry;
  std::int16_t RpmComPort = 0, RpmBaudIndex = 0, RpmCylinders = 0, RpmEngineStrokes = 0;
  std::int16_t ExternRpm = 0, ExternOilTemp = 0;  // 1: taken from the engine-speed counter
  std::int16_t RpmPollSelect = 0;                 // 0 "VA", 1 "VE", 2 "TP"

  // COMOPA / MODOPA: the opacimeter's link and model.
  std::int16_t OpaComPort = 0, OpaBaudIndex = 0;
  std::int16_t OpaModelIndex = 0;  // 0 to 5
  std::int16_t OpaUnitIndex = 0;   // 0 "%", 1 "HSU"
  // COMKYMRA / MODKYMRA: the gas analyser's link, identity for the printed pages and model.
  std::int16_t GasComMode = 0;  // 1 the maker's binary protocol, 2 MCTC-NET
  std::int16_t GasComPort = 0, GasBaudIndex = 0;
  std::string GasMake, GasHomologation;
  std::int16_t GasModelIndex = 0;  // 0 to 3

  // STAMPA: smoke report layout, 0 report A, 1 report B.
  std::int16_t PrintType = 0;
  // LINGUA: 1 Italian, 2 English, 3 Spanish; 0 (never set) counts as Italian.
  std::int16_t LanguageCode = 0;
  // The screen texts of the chosen language, UTF-8, by fixed index (src/shell/LanguageTable.*).
  std::array<std::string, kLanguageTextCount> LangText;

  // IMPOSTAZIONI (scrambled; src/shell/SystemSetup.*): option bits 1 opacity range 9,99 K,
  // 2 HC range 19999 ppm, 4 no leak-test request; coefficients of the extended HC range.
  std::uint8_t SystemEnableMask = 0;
  double GasKquad = 1E-09, GasKlin = 0.008;
  // Outcome of the access-code form: 1 right, 0 wrong, 2 cancelled.
  std::int16_t PassResult = 0;

  // --- Message boxes (src/shell/MessageForms.*): the caller sets the text, then shows ---
  std::string CriticMessage, ExclamMessage, ExclamStampaMessage;
  std::int16_t ExclamPending = 0;        // nonzero: the smoke test still owes the Exclam box
  std::int16_t ExclamStampaPending = 0;  // 1: the smoke test shows its print notice once
};

}  // namespace vs
