#include "gas/GasCertificate.h"

#include <utility>

#include "platform/text/DateFormat.h"

namespace vs {

void ClearRaisedIdleResult(GasCertificate& cert) {
  for (GasResultBox* box : {&cert.Label60, &cert.Label65, &cert.Label71}) {
    box->Caption.clear();
    box->BackColor = plat::colors::kYellow;
  }
  for (std::string* text : {&cert.Label69, &cert.Label66, &cert.Label75, &cert.Label72,
                            &cert.Label63, &cert.Label57, &cert.Label77}) {
    text->clear();
  }
}

void StampEndMeasTime(GasCertificate& cert, const plat::DateTime& now,
                      const plat::RegionalSettings& regional) {
  cert.Label85 = plat::FormatTime(now, regional);
}

std::vector<std::string> GasReportLogLines(const GasCertificate& c, const std::string& title) {
  const std::pair<const char*, const std::string*> lines[] = {
      {"Title=", &title},
      {"Mark=", &c.Text1},
      {"Type=", &c.Text2},
      {"Homologation=", &c.Label7},
      {"Serial=", &c.Label8},
      {"Expiring=", &c.Label9},
      {"MarkRPM=", &c.Text3},
      {"HomologationRPM=", &c.Label13},
      {"SerialRPM=", &c.Label12},
      {"ExpiringRPM=", &c.Label11},
      {"Manuf=", &c.Text4},
      {"Model=", &c.Text6},
      {"Plate=", &c.Label22},
      {"Loom=", &c.Label23},
      {"Fuel=", &c.Label27},
      {"Regis=", &c.Label29},
      {"AmbTemp=", &c.Label30},
      {"AmbPress=", &c.Label36},
      {"AmbHum=", &c.Label35},
      {"OilTemp=", &c.Label32},
      {"CO=", &c.Label43},
      {"CO2=", &c.Label51},
      {"COc=", &c.Label52.Caption},
      {"COcMax=", &c.Label47},
      {"HC=", &c.Label102},
      {"O2=", &c.Label104},
      {"Lambda=", &c.Label106},
      {"ParRPMmin=", &c.Label46.Caption},
      {"RPM=", &c.Label60.Caption},
      {"CO_2=", &c.Label69},
      {"CO2_2=", &c.Label66},
      {"COc_2=", &c.Label65.Caption},
      {"COcMax_2=", &c.Label63},
      {"HC_2=", &c.Label75},
      {"O2_2=", &c.Label72},
      {"Lambda_2=", &c.Label71.Caption},
      {"Result=", &c.Label79.Caption},
      {"Date=", &c.Label81},
      {"StartMeas=", &c.Label83},
      {"EndMeas=", &c.Label85},
      {"Tech=", &c.Label87},
      {"Agency=", &c.Label89},
  };
  std::vector<std::string> text;
  for (const auto& [key, value] : lines) text.push_back(key + *value);
  return text;
}

plat::FileResult WriteGasReportLog(const std::filesystem::path& file, const GasCertificate& cert,
                                   const std::string& title) {
  return plat::WriteTextFile(file.string(), GasReportLogLines(cert, title));
}

}  // namespace vs
