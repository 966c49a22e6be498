#pragma once
// The record behind the gas certificate page: the contents of its value boxes, as the
// verdicts and the test sequence fill them, and the summary file "report.log" written from
// it. The page shows the record; closing the page starts a new, empty record.
#include <filesystem>
#include <string>
#include <vector>

#include "gas/GasSheetIdentity.h"
#include "platform/core/DateTime.h"
#include "platform/forms/Types.h"
#include "platform/text/RegionalSettings.h"
#include "platform/text/TextFile.h"

namespace vs {

// A value box whose background tells whether its value kept its limit.
struct GasResultBox {
  std::string Caption;
  plat::Color BackColor = plat::colors::kYellow;
};

struct GasCertificate : GasSheetIdentity {
  // Ambient conditions
  std::string Label30;  // temperature
  std::string Label36;  // pressure
  std::string Label35;  // relative humidity
  // Engine parameters
  std::string Label32;   // oil temperature
  GasResultBox Label46;  // idle engine speed
  GasResultBox Label60;  // raised-idle engine speed
  // Idle emissions
  std::string Label43;   // CO
  std::string Label51;   // CO2
  GasResultBox Label52;  // corrected CO
  std::string Label47;   // corrected-CO limit
  std::string Label102;  // HC
  std::string Label104;  // O2
  std::string Label106;  // lambda
  // Raised-idle emissions
  std::string Label69;   // CO
  std::string Label66;   // CO2
  GasResultBox Label65;  // corrected CO
  std::string Label63;   // corrected-CO limit
  std::string Label75;   // HC
  std::string Label72;   // O2
  GasResultBox Label71;  // lambda
  std::string Label57;   // lambda lower limit
  std::string Label77;   // lambda upper limit
  // Outcome
  GasResultBox Label79;  // result
  std::string Label81;   // date
  std::string Label83;   // start of measurement
  std::string Label85;   // end of measurement
  std::string Label87;   // technical manager
  std::string Label89;   // testing body
};

// Blanks the raised-idle section and turns its judged boxes yellow: the start of every test.
void ClearRaisedIdleResult(GasCertificate& cert);

// The print button's stamp: the end of measurement in the user's time form.
void StampEndMeasTime(GasCertificate& cert, const plat::DateTime& now,
                      const plat::RegionalSettings& regional);

// The lines of "report.log": "key=value" for every box in the fixed key order.
std::vector<std::string> GasReportLogLines(const GasCertificate& cert, const std::string& title);

// Writes "report.log" whole: Windows-1252, each line ended by CR LF, a line break inside a
// value written as one blank. A failure comes back with the system's reason.
plat::FileResult WriteGasReportLog(const std::filesystem::path& file, const GasCertificate& cert,
                                   const std::string& title);

}  // namespace vs
