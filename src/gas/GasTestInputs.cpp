#include "gas/GasTestInputs.h"

#include "link/LinkState.h"
#include "shell/ShellState.h"

namespace vs {

GasTexts GasTextsFrom(const std::array<std::string, kLanguageTextCount>& LangText) {
  GasTexts t;
  t.Esito = LangText[lang::ANFUMOEsito];
  t.Dec = LangText[lang::ANFUMODec];
  t.Acc = LangText[lang::ANFUMOAcc];
  t.ManMin = LangText[lang::ANFUMOManMin];
  t.Concl = LangText[lang::ANFUMOConcl];
  t.ConPro = LangText[lang::ANGASConPro];
  t.ProSup = LangText[lang::ANGASProSup];
  t.P1Concl = LangText[lang::ANGASP1Concl];
  t.ProNnSup = LangText[lang::ANGASProNnSup];
  t.ManMinAcc = LangText[lang::ANGASManMinAcc];
  t.P2Concl = LangText[lang::ANGASP2Concl];
  t.DurationBad = LangText[lang::MsgBox1];
  t.ReportTitle = LangText[lang::PrtKYMRACERTReferto];
  return t;
}

GasLimitValues GasLimitsFrom(const ShellState& s) {
  return {.GasLimitRpmIdle = s.GasLimitRpmIdle,
          .GasLimitRpmRaisedLow = s.GasLimitRpmRaisedLow,
          .GasLimitRpmRaisedHigh = s.GasLimitRpmRaisedHigh,
          .GasLimitLambdaLow = s.GasLimitLambdaLow,
          .GasLimitLambdaHigh = s.GasLimitLambdaHigh,
          .GasLimitCOcorrIdle = s.GasLimitCOcorrIdle,
          .GasLimitCOcorrRaisedIdle = s.GasLimitCOcorrRaisedIdle,
          .GasRpmCheckEnabled = s.GasRpmCheckEnabled,
          .GasTestDuration = s.GasTestDuration};
}

GasPrintData GasPrintDataFrom(const ShellState& s, const LinkState& link) {
  return {.GasMake = s.GasMake,
          .GasHomologation = s.GasHomologation,
          .GasSerialNumber = link.GasSerialNumber,
          .GasCheckExpiry = link.GasCheckExpiry,
          .RpmMake = s.RpmMake,
          .RpmHomologation = s.RpmHomologation,
          .RpmSerial = s.RpmSerial,
          .RpmExpiry = s.RpmExpiry,
          .VehicleMakeType = s.VehicleMakeType,
          .VehicleModel = s.VehicleModel,
          .VehiclePlate = s.VehiclePlate,
          .VehicleChassis = s.VehicleChassis,
          .VehicleYear = s.VehicleYear,
          .AmbientTemperature = s.AmbientTemperature,
          .AmbientPressure = s.AmbientPressure,
          .AmbientHumidity = s.AmbientHumidity,
          .OperatorName = s.OperatorName,
          .TechnicalManager = s.TechnicalManager,
          .AgencyName = s.AgencyName};
}

}  // namespace vs
