#pragma once
// The identity boxes that the gas certificate page and the gas diagnosis sheet both print:
// the analyser, the engine-speed counter and the vehicle, named after the pages' boxes.
#include <string>

#include "gas/GasTestInputs.h"

namespace vs {

struct GasSheetIdentity {
  // Analyser
  std::string Text1;   // make
  std::string Text2;   // model
  std::string Label7;  // homologation
  std::string Label8;  // serial number
  std::string Label9;  // check expiry
  // Engine-speed counter
  std::string Text3;    // make and type
  std::string Label13;  // homologation
  std::string Label12;  // serial number
  std::string Label11;  // check expiry
  // Vehicle
  std::string Text4;    // make and type
  std::string Text6;    // model
  std::string Label22;  // plate
  std::string Label23;  // chassis
  std::string Label24;  // engine cycle (a hidden box)
  std::string Label27;  // fuel
  std::string Label29;  // year of first registration
};

// The identity as the station's settings and the gas test form's boxes give it.
void FillGasSheetIdentity(const GasPrintData& print, const GasShownValues& shown,
                          GasSheetIdentity& sheet);

}  // namespace vs
