#pragma once
// The settings store: one load and one save procedure per section of "Conf.ini" in the
// current directory. Saves write their arguments key by key in the section's order; loads
// read the keys in the same order into the program-wide records of ShellState.
//
// Loads never fail: a text key that is missing or empty becomes empty; a numeric key that
// is missing, empty or not a number (under the regional settings; 16-bit integers rounded
// half to even, out of range counting as not a number) keeps its variable's value, and
// the keys after it are still read.
//
// The system options (section IMPOSTAZIONI) are in shell/SystemSetup.h.
#include <cstdint>
#include <string_view>

namespace vs {

struct ProgramState;

// LO: RN, MX (integer texts), ON, VK (single texts).
void SaveSmokeLimits(ProgramState& p, std::int16_t rpmMin, std::int16_t rpmMax,
                     float opacityThreshold, float kLimit);
void LoadSmokeLimits(ProgramState& p);

// IA: RN, CGLPP, GV, LI, AS, AM, LN, RC, MCS.
void SaveGasLimits(ProgramState& p, float rn, float cglpp, std::int16_t gv, float li, float as,
                   std::int16_t am, float ln, float rc, std::int16_t mcs);
void LoadGasLimits(ProgramState& p);

// VEICOLO: FeT, Targa, Telaio, Anno, Mod.
void SaveVehicleData(ProgramState& p, std::string_view makeType, std::string_view plate,
                     std::string_view chassis, std::string_view year, std::string_view model);
void LoadVehicleData(ProgramState& p);

// UTENTE: Operatore, ResponsabileTecn, Ente.
void SaveUserData(ProgramState& p, std::string_view operatorName, std::string_view technicalManager,
                  std::string_view agency);
void LoadUserData(ProgramState& p);

// RPM: Marca, NOmol, Nserie, Scadenza, then TCOMrpm, TBRaterpm, NCilindriRPM, NTempiRPM,
// ExternRPM, ExternToil, SelrpmT.
void SaveRpmSettings(ProgramState& p, std::string_view make, std::string_view homologation,
                     std::string_view serial, std::string_view expiry, std::int16_t comPort,
                     std::int16_t baudIndex, std::int16_t cylinders, std::int16_t strokes,
                     std::int16_t externRpm, std::int16_t externOilTemp, std::int16_t pollSelect);
void LoadRpmSettings(ProgramState& p);

// AMBIENTE: Temperatura, Pressione, UmiditàRelativa.
void SaveAmbientData(ProgramState& p, std::string_view temperature, std::string_view pressure,
                     std::string_view humidity);
void LoadAmbientData(ProgramState& p);

// STAMPA: Tipo.
void SavePrintSettings(ProgramState& p, std::int16_t printType);
void LoadPrintSettings(ProgramState& p);

// LINGUA: TLingua.
void SaveLanguage(ProgramState& p, std::int16_t code);
void LoadLanguage(ProgramState& p);

// COMOPA TModCom, TCOM, TBRate, Marca, NOmologa; then COMKYMRA the same five.
void LoadComSettings(ProgramState& p);

// MODOPA Modello; then MODKYMRA Modello.
void LoadInstrumentModels(ProgramState& p);

}  // namespace vs
