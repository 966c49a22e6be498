#include "gas/GasVerdicts.h"

#include "platform/text/DateFormat.h"
#include "platform/text/Numbers.h"

namespace vs {

namespace {

constexpr plat::Color Judged(bool kept) {
  return kept ? plat::colors::kYellow : plat::colors::kRed;
}

void ShowVerdict(bool passed, const GasTexts& texts, GasWindowChanges& window) {
  window.Label28Caption = passed ? texts.ProSup : texts.ProNnSup;
  window.Label28BackColor = passed ? plat::colors::kGreen : plat::colors::kRed;
}

void FillIdleSections(const GasTestInput& in, GasCertificate& c) {
  const GasPrintData& p = in.print;
  const GasShownValues& s = in.shown;
  FillGasSheetIdentity(p, s, c);
  c.Label30 = p.AmbientTemperature;
  c.Label36 = p.AmbientPressure;
  c.Label35 = p.AmbientHumidity;
  c.Label87 = p.TechnicalManager;
  c.Label89 = p.AgencyName;
  c.Label32 = s.OilTemp;
  c.Label46.Caption = s.Rpm;
  c.Label43 = s.CO;
  c.Label51 = s.CO2;
  c.Label52.Caption = s.COcorr;
  c.Label102 = s.HC;
  c.Label104 = s.O2;
  c.Label106 = s.Lambda;
  c.Label47 = plat::FormatDouble(in.limits.GasLimitCOcorrIdle, in.regional);
  c.Label81 = plat::FormatShortDate(in.now, in.regional);
  c.Label83 = in.StartMeasTime ? plat::FormatTime(*in.StartMeasTime, in.regional) : "";
}

void FillRaisedIdleSection(const GasTestInput& in, GasCertificate& c) {
  const GasShownValues& s = in.shown;
  c.Label60.Caption = s.Rpm;
  c.Label69 = s.CO;
  c.Label66 = s.CO2;
  c.Label65.Caption = s.COcorr;
  c.Label75 = s.HC;
  c.Label72 = s.O2;
  c.Label71.Caption = s.Lambda;
  c.Label63 = plat::FormatDouble(in.limits.GasLimitCOcorrRaisedIdle, in.regional);
  c.Label57 = plat::FormatDouble(in.limits.GasLimitLambdaLow, in.regional);
  c.Label77 = plat::FormatDouble(in.limits.GasLimitLambdaHigh, in.regional);
}

}  // namespace

bool ProvaMin(const GasTestInput& in, std::int16_t& IdlePassed, GasWindowChanges& window,
              GasCertificate& cert) {
  const GasReadingValues& r = in.readings;
  const GasLimitValues& l = in.limits;
  const bool rpmChecked = l.GasRpmCheckEnabled == 1;
  const bool rpmKept = !rpmChecked || AtMost(r.GasRpm, l.GasLimitRpmIdle);
  const bool coKept = AtMost(r.GasCOcorr, l.GasLimitCOcorrIdle);
  const bool passed = rpmKept && coKept;

  ShowVerdict(passed, in.texts, window);
  cert.Label52.BackColor = Judged(coKept);
  cert.Label46.BackColor = Judged(rpmKept);
  IdlePassed = passed ? 1 : 0;
  FillIdleSections(in, cert);
  return passed;
}

bool ProvaMinAcc(const GasTestInput& in, std::int16_t IdlePassed, GasWindowChanges& window,
                 GasCertificate& cert) {
  const GasReadingValues& r = in.readings;
  const GasLimitValues& l = in.limits;
  const bool rpmChecked = l.GasRpmCheckEnabled == 1;
  const bool rpmKept = Within(r.GasRpm, l.GasLimitRpmRaisedLow, l.GasLimitRpmRaisedHigh);
  const bool coKept = AtMost(r.GasCOcorr, l.GasLimitCOcorrRaisedIdle);
  const bool lambdaKept = Within(r.GasLambda, l.GasLimitLambdaLow, l.GasLimitLambdaHigh);
  const bool passed = (!rpmChecked || rpmKept) && coKept && lambdaKept && IdlePassed == 1;

  ShowVerdict(passed, in.texts, window);
  cert.Label79.Caption = *window.Label28Caption;
  cert.Label79.BackColor = Judged(passed);
  // With the speed check off a failed test leaves the speed box as the test's start left it.
  if (passed || rpmChecked) cert.Label60.BackColor = Judged(!rpmChecked || rpmKept);
  cert.Label65.BackColor = Judged(coKept);
  cert.Label71.BackColor = Judged(lambdaKept);
  FillRaisedIdleSection(in, cert);
  return passed;
}

}  // namespace vs
