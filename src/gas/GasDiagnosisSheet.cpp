#include "gas/GasDiagnosisSheet.h"

#include "platform/text/DateFormat.h"

namespace vs {

GasDiagnosisSheet FillGasDiagnosisSheet(const GasPrintData& p, const GasShownValues& s,
                                        const plat::DateTime& now,
                                        const plat::RegionalSettings& regional) {
  GasDiagnosisSheet d;
  FillGasSheetIdentity(p, s, d);
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
  return d;
}

}  // namespace vs
