#include "shell/SettingsStore.h"

#include "shell/SettingsAccess.h"
#include "state/ProgramState.h"

namespace vs {

void SaveSmokeLimits(ProgramState& p, std::int16_t rpmMin, std::int16_t rpmMax,
                     float opacityThreshold, float kLimit) {
  SettingsWriter w(p, "LO");
  w.Int16("RN", rpmMin);
  w.Int16("MX", rpmMax);
  w.Single("ON", opacityThreshold);
  w.Single("VK", kLimit);
}

void LoadSmokeLimits(ProgramState& p) {
  SettingsReader r(p, "LO");
  ShellState& s = p.shell;
  r.Single("RN", s.SmokeRpmMin);
  r.Single("MX", s.SmokeRpmMax);
  r.Double("ON", s.SmokeOpacityThreshold);
  r.Double("VK", s.SmokeKLimit);
}

void SaveGasLimits(ProgramState& p, float rn, float cglpp, std::int16_t gv, float li, float as,
                   std::int16_t am, float ln, float rc, std::int16_t mcs) {
  SettingsWriter w(p, "IA");
  w.Single("RN", rn);
  w.Single("CGLPP", cglpp);
  w.Int16("GV", gv);
  w.Single("LI", li);
  w.Single("AS", as);
  w.Int16("AM", am);
  w.Single("LN", ln);
  w.Single("RC", rc);
  w.Int16("MCS", mcs);
}

void LoadGasLimits(ProgramState& p) {
  SettingsReader r(p, "IA");
  ShellState& s = p.shell;
  r.Double("RN", s.GasLimitRpmIdle);
  r.Double("CGLPP", s.GasLimitRpmRaisedLow);
  r.Double("GV", s.GasLimitRpmRaisedHigh);
  r.Double("LI", s.GasLimitLambdaLow);
  r.Double("AS", s.GasLimitLambdaHigh);
  r.Int16("AM", s.GasRpmCheckEnabled);
  r.Double("LN", s.GasLimitCOcorrIdle);
  r.Double("RC", s.GasLimitCOcorrRaisedIdle);
  r.Int16("MCS", s.GasTestDuration);
}

void SaveVehicleData(ProgramState& p, std::string_view makeType, std::string_view plate,
                     std::string_view chassis, std::string_view year, std::string_view model) {
  SettingsWriter w(p, "VEICOLO");
  w.Text("FeT", makeType);
  w.Text("Targa", plate);
  w.Text("Telaio", chassis);
  w.Text("Anno", year);
  w.Text("Mod", model);
}

void LoadVehicleData(ProgramState& p) {
  SettingsReader r(p, "VEICOLO");
  ShellState& s = p.shell;
  s.VehicleMakeType = r.Text("FeT");
  s.VehiclePlate = r.Text("Targa");
  s.VehicleChassis = r.Text("Telaio");
  s.VehicleYear = r.Text("Anno");
  s.VehicleModel = r.Text("Mod");
}

void SaveUserData(ProgramState& p, std::string_view operatorName, std::string_view technicalManager,
                  std::string_view agency) {
  SettingsWriter w(p, "UTENTE");
  w.Text("Operatore", operatorName);
  w.Text("ResponsabileTecn", technicalManager);
  w.Text("Ente", agency);
}

void LoadUserData(ProgramState& p) {
  SettingsReader r(p, "UTENTE");
  ShellState& s = p.shell;
  s.OperatorName = r.Text("Operatore");
  s.TechnicalManager = r.Text("ResponsabileTecn");
  s.AgencyName = r.Text("Ente");
}

void SaveRpmSettings(ProgramState& p, std::string_view make, std::string_view homologation,
                     std::string_view serial, std::string_view expiry, std::int16_t comPort,
                     std::int16_t baudIndex, std::int16_t cylinders, std::int16_t strokes,
                     std::int16_t externRpm, std::int16_t externOilTemp, std::int16_t pollSelect) {
  SettingsWriter w(p, "RPM");
  w.Text("Marca", make);
  w.Text("NOmol", homologation);
  w.Text("Nserie", serial);
  w.Text("Scadenza", expiry);
  w.Int16("TCOMrpm", comPort);
  w.Int16("TBRaterpm", baudIndex);
  w.Int16("NCilindriRPM", cylinders);
  w.Int16("NTempiRPM", strokes);
  w.Int16("ExternRPM", externRpm);
  w.Int16("ExternToil", externOilTemp);
  w.Int16("SelrpmT", pollSelect);
}

void LoadRpmSettings(ProgramState& p) {
  SettingsReader r(p, "RPM");
  ShellState& s = p.shell;
  s.RpmMake = r.Text("Marca");
  s.RpmHomologation = r.Text("NOmol");
  s.RpmSerial = r.Text("Nserie");
  s.RpmExpiry = r.Text("Scadenza");
  r.Int16("TCOMrpm", s.RpmComPort);
  r.Int16("TBRaterpm", s.RpmBaudIndex);
  r.Int16("NCilindriRPM", s.RpmCylinders);
  r.Int16("NTempiRPM", s.RpmEngineStrokes);
  r.Int16("ExternRPM", s.ExternRpm);
  r.Int16("ExternToil", s.ExternOilTemp);
  r.Int16("SelrpmT", s.RpmPollSelect);
}

void SaveAmbientData(ProgramState& p, std::string_view temperature, std::string_view pressure,
                     std::string_view humidity) {
  SettingsWriter w(p, "AMBIENTE");
  w.Text("Temperatura", temperature);
  w.Text("Pressione", pressure);
  w.Text("UmiditàRelativa", humidity);
}

void LoadAmbientData(ProgramState& p) {
  SettingsReader r(p, "AMBIENTE");
  ShellState& s = p.shell;
  s.AmbientTemperature = r.Text("Temperatura");
  s.AmbientPressure = r.Text("Pressione");
  s.AmbientHumidity = r.Text("UmiditàRelativa");
}

void SavePrintSettings(ProgramState& p, std::int16_t printType) {
  SettingsWriter w(p, "STAMPA");
  w.Int16("Tipo", printType);
}

void LoadPrintSettings(ProgramState& p) {
  SettingsReader r(p, "STAMPA");
  r.Int16("Tipo", p.shell.PrintType);
}

void SaveLanguage(ProgramState& p, std::int16_t code) {
  SettingsWriter w(p, "LINGUA");
  w.Int16("TLingua", code);
}

void LoadLanguage(ProgramState& p) {
  SettingsReader r(p, "LINGUA");
  r.Int16("TLingua", p.shell.LanguageCode);
}

void LoadComSettings(ProgramState& p) {
  SettingsReader r(p, "COMOPA");
  ShellState& s = p.shell;
  r.Int16("TModCom", p.link.ActiveComMode);
  r.Int16("TCOM", s.OpaComPort);
  r.Int16("TBRate", s.OpaBaudIndex);
  p.link.InstrMake = r.Text("Marca");
  p.link.InstrHomologation = r.Text("NOmologa");
  r.SetSection("COMKYMRA");
  r.Int16("TModCom", s.GasComMode);
  r.Int16("TCOM", s.GasComPort);
  r.Int16("TBRate", s.GasBaudIndex);
  s.GasMake = r.Text("Marca");
  s.GasHomologation = r.Text("NOmologa");
}

void LoadInstrumentModels(ProgramState& p) {
  SettingsReader r(p, "MODOPA");
  r.Int16("Modello", p.shell.OpaModelIndex);
  r.SetSection("MODKYMRA");
  r.Int16("Modello", p.shell.GasModelIndex);
}

}  // namespace vs
