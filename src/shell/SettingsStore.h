#pragma once
// The settings store: one load and one save procedure per section of "Conf.ini" in the
// station folder. One table per section (key, record field, written form) drives both: a
// save writes the section's fields in key order, a load reads the file once and stores the
// keys in the same order into the records.
//
// Loads never fail: a text key that is missing or empty becomes empty; a numeric key that
// is missing, empty or not a number (under the regional settings; 16-bit integers rounded
// half to even, out of range counting as not a number) keeps its variable's value, and
// the keys after it are still read.
//
// A save writes all of its section's keys in one replacement of the file and returns what
// happened (ReportSaveProblem tells the operator). After a save that worked, the section's
// fields are read back from the file, so that they hold what the file holds: a text with a
// line break, or with characters outside Windows-1252 in a Windows-1252 file, or a
// number of more digits than the file keeps, is shown and printed as the next start will
// load it.
//
// The system options (section IMPOSTAZIONI) are in shell/SystemSetup.h.
#include <cstdint>
#include <string>

#include "shell/SettingsAccess.h"

namespace vs {

struct ShellState;

// LO: RN, MX (integer texts), ON, VK (single texts).
SaveResult SaveSmokeLimits(ShellState& s, const SettingsPlace& at);
void LoadSmokeLimits(ShellState& s, const SettingsPlace& at);

// IA: RN, CGLPP (single), GV (integer), LI, AS (single), AM (integer), LN, RC (single),
// MCS (integer).
SaveResult SaveGasLimits(ShellState& s, const SettingsPlace& at);
void LoadGasLimits(ShellState& s, const SettingsPlace& at);

// VEICOLO: FeT, Targa, Telaio, Anno, Mod.
SaveResult SaveVehicleData(ShellState& s, const SettingsPlace& at);
void LoadVehicleData(ShellState& s, const SettingsPlace& at);

// UTENTE: Operatore, ResponsabileTecn, Ente.
SaveResult SaveUserData(ShellState& s, const SettingsPlace& at);
void LoadUserData(ShellState& s, const SettingsPlace& at);

// RPM: Marca, NOmol, Nserie, Scadenza, then TCOMrpm, TBRaterpm, NCilindriRPM, NTempiRPM,
// ExternRPM, ExternToil, SelrpmT (integers).
SaveResult SaveRpmSettings(ShellState& s, const SettingsPlace& at);
void LoadRpmSettings(ShellState& s, const SettingsPlace& at);

// AMBIENTE: Temperatura, Pressione, UmiditàRelativa.
SaveResult SaveAmbientData(ShellState& s, const SettingsPlace& at);
void LoadAmbientData(ShellState& s, const SettingsPlace& at);

// STAMPA: Tipo.
SaveResult SavePrintSettings(ShellState& s, const SettingsPlace& at);
void LoadPrintSettings(ShellState& s, const SettingsPlace& at);

// LINGUA: TLingua.
SaveResult SaveLanguage(ShellState& s, const SettingsPlace& at);
void LoadLanguage(ShellState& s, const SettingsPlace& at);

// COMOPA TModCom, TCOM, TBRate, Marca, NOmologa (the first and the last two into the link's
// records); then COMKYMRA the same five. The instruments' set-up forms write these sections.
// The instrument link's variables that [COMOPA] fills (the link's records sit above the shell).
struct OpacimeterLinkFields {
  std::int16_t& ActiveComMode;
  std::string& InstrMake;
  std::string& InstrHomologation;
};
void LoadComSettings(ShellState& s, OpacimeterLinkFields link, const SettingsPlace& at);

// The shared instrument identity slot, which the gas-analyser set-up keeps in [COMKYMRA]
// (the instrument link's records sit above the shell).
struct InstrumentIdentityFields {
  std::string& InstrMake;
  std::string& InstrHomologation;
  std::string& InstrModel;
  std::string& InstrSerial;
  std::string& InstrVersion;
  std::string& InstrExpiry;
};

// The gas-analyser set-up's sections. COMKYMRA: TModCom, TCOM, TBRate (integers), then
// Marca, NOmologa, Modello, Nserie, Versione, Scadenza from the identity slot. MODKYMRA:
// Modello (integer). The load reads both, COMKYMRA first.
SaveResult SaveGasAnalyserSetUp(ShellState& s, InstrumentIdentityFields id,
                                const SettingsPlace& at);
SaveResult SaveGasAnalyserModel(ShellState& s, const SettingsPlace& at);
void LoadGasAnalyserSetUp(ShellState& s, InstrumentIdentityFields id, const SettingsPlace& at);

// The opacimeter set-up's sections. COMOPA: TModCom (the protocol, ActiveComMode), TCOM,
// TBRate (integers), then Marca, NOmologa, Modello, Nserie, Versione, Scadenza from the
// identity slot. MODOPA: Modello, UnitOpa (integers). The save writes COMOPA, then MODOPA; a
// failed write is returned and the section after it is not written. The load reads both.
SaveResult SaveOpacimeterSetUp(ShellState& s, std::int16_t& activeComMode,
                               InstrumentIdentityFields id, const SettingsPlace& at);
void LoadOpacimeterSetUp(ShellState& s, std::int16_t& activeComMode, InstrumentIdentityFields id,
                         const SettingsPlace& at);

// MODOPA Modello; then MODKYMRA Modello.
void LoadInstrumentModels(ShellState& s, const SettingsPlace& at);

}  // namespace vs
