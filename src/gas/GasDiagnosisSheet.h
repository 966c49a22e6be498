#pragma once
// The data of the gas diagnosis sheet: the identity, vehicle and people data and the
// readings as the gas test form shows them at the moment of printing. Diagnosis gives no
// verdict, sets no colour and writes no file.
#include <string>

#include "gas/GasSheetIdentity.h"
#include "gas/GasTestInputs.h"

namespace vs {

struct GasDiagnosisSheet : GasSheetIdentity {
  // Engine parameters
  std::string Label32;  // oil temperature
  std::string Label46;  // engine speed
  // Emissions
  std::string Label69;  // CO
  std::string Label66;  // CO2
  std::string Label65;  // corrected CO
  std::string Label31;  // NOx
  std::string Label75;  // HC
  std::string Label72;  // O2
  std::string Label71;  // lambda
  // Foot
  std::string Label81;  // date of printing
  std::string Label85;  // time of printing
  std::string Label87;  // operator
  std::string Label89;  // testing body
};

// The sheet for the moment `now` (its date and time are printed).
GasDiagnosisSheet FillGasDiagnosisSheet(const GasPrintData& print, const GasShownValues& shown,
                                        const plat::DateTime& now,
                                        const plat::RegionalSettings& regional);

}  // namespace vs
