#pragma once
// What the gas test's sequence, verdicts and printed pages take from the rest of the
// program: the readings, the limits, the texts the test form shows, the identity, vehicle
// and people data of the printed pages, and the screen texts of the chosen language. The gas
// test form fills these at each measurement reply; nothing here refers to a form.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/DateTime.h"
#include "platform/text/RegionalSettings.h"
#include "shell/LanguageTable.h"

namespace vs {

struct ShellState;
struct LinkState;

// The readings the test judges (-1: out of range, judged as the number -1).
struct GasReadingValues {
  double GasRpm = 0, GasCOcorr = 0, GasLambda = 0, GasO2 = 0, GasCO2 = 0;
};

// The gas limits as the limits dialog keeps them.
struct GasLimitValues {
  double GasLimitRpmIdle = 0, GasLimitRpmRaisedLow = 0, GasLimitRpmRaisedHigh = 0;
  double GasLimitLambdaLow = 0, GasLimitLambdaHigh = 0;
  double GasLimitCOcorrIdle = 0, GasLimitCOcorrRaisedIdle = 0;
  std::int16_t GasRpmCheckEnabled = 0;  // only 1 lets the engine speed take part
  std::int16_t GasTestDuration = 0;     // window length in 25 ms ticks
};

// The readings as the gas test form shows them ("Out", "- - -" and the like included).
struct GasShownValues {
  std::string CO;       // Label8
  std::string COcorr;   // Label9
  std::string CO2;      // Label10
  std::string HC;       // Label11
  std::string O2;       // Label12
  std::string OilTemp;  // Label13
  std::string Rpm;      // Label15
  std::string Lambda;   // Label26
  std::string NOx;      // Label33
  std::string Model;    // Label1, the analyser model from the settings
  std::string Fuel;     // item FuelIndex of the fuel list
  std::string Strokes;  // item StrokesIndex of the engine-cycle list
};

// Identity, vehicle, ambient and people data of the printed pages.
struct GasPrintData {
  std::string GasMake, GasHomologation, GasSerialNumber, GasCheckExpiry;
  std::string RpmMake, RpmHomologation, RpmSerial, RpmExpiry;
  std::string VehicleMakeType, VehicleModel, VehiclePlate, VehicleChassis, VehicleYear;
  std::string AmbientTemperature, AmbientPressure, AmbientHumidity;
  std::string OperatorName, TechnicalManager, AgencyName;
};

// The screen texts the gas test writes, taken from the language table.
struct GasTexts {
  std::string Esito;        // verdict line reset ("ESITO PROVA")
  std::string Dec;          // engine speed too high
  std::string Acc;          // engine speed too low
  std::string ManMin;       // hold the idle speed
  std::string Concl;        // non-catalysed test concluded
  std::string ConPro;       // window ended, end test not met
  std::string ProSup;       // test passed
  std::string P1Concl;      // catalysed: idle part concluded
  std::string ProNnSup;     // test failed
  std::string ManMinAcc;    // hold the raised-idle speed
  std::string P2Concl;      // catalysed test concluded
  std::string DurationBad;  // the progress bar refused the window length
  std::string ReportTitle;  // title of the certificate and first line of "report.log"
};

GasTexts GasTextsFrom(const std::array<std::string, kLanguageTextCount>& LangText);

// The limits and the printed data as the settings and the identification hold them now.
GasLimitValues GasLimitsFrom(const ShellState& shell);
GasPrintData GasPrintDataFrom(const ShellState& shell, const LinkState& link);

// Everything one step of the test or one verdict reads.
struct GasTestInput {
  GasReadingValues readings;
  GasLimitValues limits;
  GasShownValues shown;
  GasPrintData print;
  GasTexts texts;
  plat::RegionalSettings regional;
  plat::DateTime now;                           // date of the verdicts
  std::optional<plat::DateTime> StartMeasTime;  // last press of Start/Stop; none: never pressed
};

}  // namespace vs
