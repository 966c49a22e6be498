#include "gas/GasDiagnosisSheet.h"

#include "platform/text/DateFormat.h"

namespace vs {

GasDiagnosisSheet FillGasDiagnosisSheet(const GasPrintData& p, const GasShownValues& s,
                                        const plat::DateTime& now,
                                        const plat::RegionalSettings& regional) {
  GasDiagnosisSheet d;
  d.Text1 = p.GasMake;
  d.Label7 = p.GasHomologation;
  d.Text2 = s.Model;
  d.Text3 = p.RpmMake;
  d.Label13 = p.RpmHomologation;
  d.Label12 = p.RpmSerial;
  d.Label11 = p.RpmExpiry;
  d.Label8 = p.GasSerialNumber;
  d.Label9 = p.GasCheckExpiry;
  d.Label27 = s.Fuel;
  d.Label24 = s.Strokes;
  d.Label32 = s.OilTemp;
  d.Label46 = s.Rpm;
  d.Label69 = s.CO;
  d.Label66 = s.CO2;
  d.Label65 = s.COcorr;
  d.Label75 = s.HC;
  d.Label72 = s.O2;
  d.Label71 = s.Lambda;
  d.Label31 = s.NOx;
  d.Label81 = plat::FormatShortDate(now, regional);
  d.Label85 = plat::FormatTime(now, regional);
  d.Label87 = p.OperatorName;
  d.Label89 = p.AgencyName;
  d.Text4 = p.VehicleMakeType;
  d.Text6 = p.VehicleModel;
  d.Label22 = p.VehiclePlate;
  d.Label23 = p.VehicleChassis;
  d.Label29 = p.VehicleYear;
  return d;
}

}  // namespace vs
