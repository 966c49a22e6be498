#include "gas/GasSheetIdentity.h"

namespace vs {

void FillGasSheetIdentity(const GasPrintData& p, const GasShownValues& s, GasSheetIdentity& d) {
  d.Text1 = p.GasMake;
  d.Text2 = s.Model;
  d.Label7 = p.GasHomologation;
  d.Label8 = p.GasSerialNumber;
  d.Label9 = p.GasCheckExpiry;
  d.Text3 = p.RpmMake;
  d.Label13 = p.RpmHomologation;
  d.Label12 = p.RpmSerial;
  d.Label11 = p.RpmExpiry;
  d.Text4 = p.VehicleMakeType;
  d.Text6 = p.VehicleModel;
  d.Label22 = p.VehiclePlate;
  d.Label23 = p.VehicleChassis;
  d.Label24 = s.Strokes;
  d.Label27 = s.Fuel;
  d.Label29 = p.VehicleYear;
}

}  // namespace vs
