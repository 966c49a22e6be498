#include "shell/SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <variant>

#include "platform/core/Error.h"
#include "platform/text/Numbers.h"
#include "shell/ShellState.h"

namespace vs {

namespace {

// How a field's value stands in the file.
enum class Written { Text, Integer, Single };

using Field = std::variant<std::string*, std::int16_t*, float*, double*>;

// One key of a section: its name, its written form and the field that holds it in the
// records R.
template <class R>
struct Row {
  std::string_view key;
  Written form;
  Field (*field)(R&);
};

struct ComRecords {
  ShellState& shell;
  OpacimeterLinkFields link;
};

struct GasSetUpRecords {
  ShellState& shell;
  InstrumentIdentityFields id;
};

struct OpaSetUpRecords {
  ShellState& shell;
  std::int16_t& ActiveComMode;
  InstrumentIdentityFields id;
};

// The tables, one per section, keys in write and read order.

constexpr Row<ShellState> kSmokeLimits[] = {
    {"RN", Written::Integer, [](ShellState& s) -> Field { return &s.SmokeRpmMin; }},
    {"MX", Written::Integer, [](ShellState& s) -> Field { return &s.SmokeRpmMax; }},
    {"ON", Written::Single, [](ShellState& s) -> Field { return &s.SmokeOpacityThreshold; }},
    {"VK", Written::Single, [](ShellState& s) -> Field { return &s.SmokeKLimit; }},
};

constexpr Row<ShellState> kGasLimits[] = {
    {"RN", Written::Single, [](ShellState& s) -> Field { return &s.GasLimitRpmIdle; }},
    {"CGLPP", Written::Single, [](ShellState& s) -> Field { return &s.GasLimitRpmRaisedLow; }},
    {"GV", Written::Integer, [](ShellState& s) -> Field { return &s.GasLimitRpmRaisedHigh; }},
    {"LI", Written::Single, [](ShellState& s) -> Field { return &s.GasLimitLambdaLow; }},
    {"AS", Written::Single, [](ShellState& s) -> Field { return &s.GasLimitLambdaHigh; }},
    {"AM", Written::Integer, [](ShellState& s) -> Field { return &s.GasRpmCheckEnabled; }},
    {"LN", Written::Single, [](ShellState& s) -> Field { return &s.GasLimitCOcorrIdle; }},
    {"RC", Written::Single, [](ShellState& s) -> Field { return &s.GasLimitCOcorrRaisedIdle; }},
    {"MCS", Written::Integer, [](ShellState& s) -> Field { return &s.GasTestDuration; }},
};

constexpr Row<ShellState> kVehicleData[] = {
    {"FeT", Written::Text, [](ShellState& s) -> Field { return &s.VehicleMakeType; }},
    {"Targa", Written::Text, [](ShellState& s) -> Field { return &s.VehiclePlate; }},
    {"Telaio", Written::Text, [](ShellState& s) -> Field { return &s.VehicleChassis; }},
    {"Anno", Written::Text, [](ShellState& s) -> Field { return &s.VehicleYear; }},
    {"Mod", Written::Text, [](ShellState& s) -> Field { return &s.VehicleModel; }},
};

constexpr Row<ShellState> kUserData[] = {
    {"Operatore", Written::Text, [](ShellState& s) -> Field { return &s.OperatorName; }},
    {"ResponsabileTecn", Written::Text, [](ShellState& s) -> Field { return &s.TechnicalManager; }},
    {"Ente", Written::Text, [](ShellState& s) -> Field { return &s.AgencyName; }},
};

constexpr Row<ShellState> kRpmSettings[] = {
    {"Marca", Written::Text, [](ShellState& s) -> Field { return &s.RpmMake; }},
    {"NOmol", Written::Text, [](ShellState& s) -> Field { return &s.RpmHomologation; }},
    {"Nserie", Written::Text, [](ShellState& s) -> Field { return &s.RpmSerial; }},
    {"Scadenza", Written::Text, [](ShellState& s) -> Field { return &s.RpmExpiry; }},
    {"TCOMrpm", Written::Integer, [](ShellState& s) -> Field { return &s.RpmComPort; }},
    {"TBRaterpm", Written::Integer, [](ShellState& s) -> Field { return &s.RpmBaudIndex; }},
    {"NCilindriRPM", Written::Integer, [](ShellState& s) -> Field { return &s.RpmCylinders; }},
    {"NTempiRPM", Written::Integer, [](ShellState& s) -> Field { return &s.RpmEngineStrokes; }},
    {"ExternRPM", Written::Integer, [](ShellState& s) -> Field { return &s.ExternRpm; }},
    {"ExternToil", Written::Integer, [](ShellState& s) -> Field { return &s.ExternOilTemp; }},
    {"SelrpmT", Written::Integer, [](ShellState& s) -> Field { return &s.RpmPollSelect; }},
};

constexpr Row<ShellState> kAmbientData[] = {
    {"Temperatura", Written::Text, [](ShellState& s) -> Field { return &s.AmbientTemperature; }},
    {"Pressione", Written::Text, [](ShellState& s) -> Field { return &s.AmbientPressure; }},
    {"UmiditàRelativa", Written::Text, [](ShellState& s) -> Field { return &s.AmbientHumidity; }},
};

constexpr Row<ShellState> kPrintSettings[] = {
    {"Tipo", Written::Integer, [](ShellState& s) -> Field { return &s.PrintType; }},
};

constexpr Row<ShellState> kLanguage[] = {
    {"TLingua", Written::Integer, [](ShellState& s) -> Field { return &s.LanguageCode; }},
};

constexpr Row<ComRecords> kOpacimeterLink[] = {
    {"TModCom", Written::Integer, [](ComRecords& r) -> Field { return &r.link.ActiveComMode; }},
    {"TCOM", Written::Integer, [](ComRecords& r) -> Field { return &r.shell.OpaComPort; }},
    {"TBRate", Written::Integer, [](ComRecords& r) -> Field { return &r.shell.OpaBaudIndex; }},
    {"Marca", Written::Text, [](ComRecords& r) -> Field { return &r.link.InstrMake; }},
    {"NOmologa", Written::Text, [](ComRecords& r) -> Field { return &r.link.InstrHomologation; }},
};

constexpr Row<ComRecords> kGasAnalyserLink[] = {
    {"TModCom", Written::Integer, [](ComRecords& r) -> Field { return &r.shell.GasComMode; }},
    {"TCOM", Written::Integer, [](ComRecords& r) -> Field { return &r.shell.GasComPort; }},
    {"TBRate", Written::Integer, [](ComRecords& r) -> Field { return &r.shell.GasBaudIndex; }},
    {"Marca", Written::Text, [](ComRecords& r) -> Field { return &r.shell.GasMake; }},
    {"NOmologa", Written::Text, [](ComRecords& r) -> Field { return &r.shell.GasHomologation; }},
};

// [COMKYMRA] as the gas-analyser set-up writes it: the link, then the identity slot.
constexpr Row<GasSetUpRecords> kGasAnalyserSetUp[] = {
    {"TModCom", Written::Integer, [](GasSetUpRecords& r) -> Field { return &r.shell.GasComMode; }},
    {"TCOM", Written::Integer, [](GasSetUpRecords& r) -> Field { return &r.shell.GasComPort; }},
    {"TBRate", Written::Integer, [](GasSetUpRecords& r) -> Field { return &r.shell.GasBaudIndex; }},
    {"Marca", Written::Text, [](GasSetUpRecords& r) -> Field { return &r.id.InstrMake; }},
    {"NOmologa", Written::Text,
     [](GasSetUpRecords& r) -> Field { return &r.id.InstrHomologation; }},
    {"Modello", Written::Text, [](GasSetUpRecords& r) -> Field { return &r.id.InstrModel; }},
    {"Nserie", Written::Text, [](GasSetUpRecords& r) -> Field { return &r.id.InstrSerial; }},
    {"Versione", Written::Text, [](GasSetUpRecords& r) -> Field { return &r.id.InstrVersion; }},
    {"Scadenza", Written::Text, [](GasSetUpRecords& r) -> Field { return &r.id.InstrExpiry; }},
};

constexpr Row<ShellState> kOpacimeterModel[] = {
    {"Modello", Written::Integer, [](ShellState& s) -> Field { return &s.OpaModelIndex; }},
};

constexpr Row<OpaSetUpRecords> kOpacimeterSetUp[] = {
    {"TModCom", Written::Integer, [](OpaSetUpRecords& r) -> Field { return &r.ActiveComMode; }},
    {"TCOM", Written::Integer, [](OpaSetUpRecords& r) -> Field { return &r.shell.OpaComPort; }},
    {"TBRate", Written::Integer, [](OpaSetUpRecords& r) -> Field { return &r.shell.OpaBaudIndex; }},
    {"Marca", Written::Text, [](OpaSetUpRecords& r) -> Field { return &r.id.InstrMake; }},
    {"NOmologa", Written::Text,
     [](OpaSetUpRecords& r) -> Field { return &r.id.InstrHomologation; }},
    {"Modello", Written::Text, [](OpaSetUpRecords& r) -> Field { return &r.id.InstrModel; }},
    {"Nserie", Written::Text, [](OpaSetUpRecords& r) -> Field { return &r.id.InstrSerial; }},
    {"Versione", Written::Text, [](OpaSetUpRecords& r) -> Field { return &r.id.InstrVersion; }},
    {"Scadenza", Written::Text, [](OpaSetUpRecords& r) -> Field { return &r.id.InstrExpiry; }},
};

constexpr Row<OpaSetUpRecords> kOpacimeterSetUpModel[] = {
    {"Modello", Written::Integer,
     [](OpaSetUpRecords& r) -> Field { return &r.shell.OpaModelIndex; }},
    {"UnitOpa", Written::Integer,
     [](OpaSetUpRecords& r) -> Field { return &r.shell.OpaUnitIndex; }},
};

constexpr Row<ShellState> kGasAnalyserModel[] = {
    {"Modello", Written::Integer, [](ShellState& s) -> Field { return &s.GasModelIndex; }},
};

// Runs parse on the stored text and stores its result; a text that does not convert (type
// mismatch, overflow) leaves the variable as it was.
template <class T, class Parse>
void Convert(const std::optional<std::string>& text, T& var, Parse parse) {
  if (!text) return;
  try {
    var = parse(*text);
  } catch (const plat::RuntimeError&) {
  }
}

void Store(const std::optional<std::string>& text, const Field& field,
           const plat::RegionalSettings& r) {
  struct {
    const std::optional<std::string>& text;
    const plat::RegionalSettings& r;
    void operator()(std::string* v) const { *v = text.value_or(std::string()); }
    void operator()(std::int16_t* v) const {
      Convert(text, *v, [this](const std::string& t) { return plat::ParseInt16(t, r); });
    }
    void operator()(float* v) const {
      Convert(text, *v, [this](const std::string& t) { return plat::ParseSingle(t, r); });
    }
    void operator()(double* v) const {
      Convert(text, *v, [this](const std::string& t) { return plat::ParseDouble(t, r); });
    }
  } store{text, r};
  std::visit(store, field);
}

// The written form of a field, one the load reads back: a number outside the 16-bit range
// for an integer key, or beyond the largest single for a single key, is written as the
// nearest end of the range.
std::string Format(Written form, const Field& field, const plat::RegionalSettings& r) {
  const auto number = [](const Field& f) -> double {
    if (const auto* i = std::get_if<std::int16_t*>(&f)) return **i;
    if (const auto* x = std::get_if<float*>(&f)) return **x;
    if (const auto* d = std::get_if<double*>(&f)) return **d;
    return 0;
  };
  switch (form) {
    case Written::Text:
      if (const auto* t = std::get_if<std::string*>(&field)) return **t;
      return {};
    case Written::Integer: {
      const double v = plat::RoundHalfEven(number(field));
      return plat::FormatInt(
          std::isnan(v) ? 0 : static_cast<long long>(std::clamp(v, -32768.0, 32767.0)));
    }
    case Written::Single:
      return plat::FormatSingleReadable(number(field), r);
  }
  return {};
}

template <class R>
void ReadRows(const std::optional<plat::Profile>& file, std::string_view section,
              std::span<const Row<R>> rows, R& records, const plat::RegionalSettings& r) {
  for (const Row<R>& row : rows) {
    Store(file ? file->Value(section, row.key) : std::nullopt, row.field(records), r);
  }
}

template <class R>
void LoadSection(ShellState& s, R& records, const SettingsPlace& at, std::string_view section,
                 std::span<const Row<R>> rows) {
  ReadRows(ReadConfIni(s, at), section, rows, records, at.regional);
}

void LoadSection(ShellState& s, const SettingsPlace& at, std::string_view section,
                 std::span<const Row<ShellState>> rows) {
  LoadSection(s, s, at, section, rows);
}

// Writes the section's fields; after a write that worked, reads them back from the file.
template <class R>
SaveResult SaveSection(ShellState& s, R& records, const SettingsPlace& at, std::string_view section,
                       std::span<const Row<R>> rows) {
  std::vector<plat::ProfileEntry> entries;
  for (const Row<R>& row : rows) {
    entries.push_back({std::string(row.key), Format(row.form, row.field(records), at.regional)});
  }
  SaveResult result = WriteConfIni(s, at, section, entries);
  if (result) LoadSection(s, records, at, section, rows);
  return result;
}

SaveResult SaveSection(ShellState& s, const SettingsPlace& at, std::string_view section,
                       std::span<const Row<ShellState>> rows) {
  return SaveSection(s, s, at, section, rows);
}

}  // namespace

SaveResult SaveSmokeLimits(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "LO", kSmokeLimits);
}
void LoadSmokeLimits(ShellState& s, const SettingsPlace& at) {
  LoadSection(s, at, "LO", kSmokeLimits);
}

SaveResult SaveGasLimits(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "IA", kGasLimits);
}
void LoadGasLimits(ShellState& s, const SettingsPlace& at) { LoadSection(s, at, "IA", kGasLimits); }

SaveResult SaveVehicleData(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "VEICOLO", kVehicleData);
}
void LoadVehicleData(ShellState& s, const SettingsPlace& at) {
  LoadSection(s, at, "VEICOLO", kVehicleData);
}

SaveResult SaveUserData(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "UTENTE", kUserData);
}
void LoadUserData(ShellState& s, const SettingsPlace& at) {
  LoadSection(s, at, "UTENTE", kUserData);
}

SaveResult SaveRpmSettings(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "RPM", kRpmSettings);
}
void LoadRpmSettings(ShellState& s, const SettingsPlace& at) {
  LoadSection(s, at, "RPM", kRpmSettings);
}

SaveResult SaveAmbientData(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "AMBIENTE", kAmbientData);
}
void LoadAmbientData(ShellState& s, const SettingsPlace& at) {
  LoadSection(s, at, "AMBIENTE", kAmbientData);
}

SaveResult SavePrintSettings(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "STAMPA", kPrintSettings);
}
void LoadPrintSettings(ShellState& s, const SettingsPlace& at) {
  LoadSection(s, at, "STAMPA", kPrintSettings);
}

SaveResult SaveLanguage(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "LINGUA", kLanguage);
}
void LoadLanguage(ShellState& s, const SettingsPlace& at) {
  LoadSection(s, at, "LINGUA", kLanguage);
}

void LoadComSettings(ShellState& s, OpacimeterLinkFields link, const SettingsPlace& at) {
  const std::optional<plat::Profile> file = ReadConfIni(s, at);
  ComRecords records{s, link};
  ReadRows<ComRecords>(file, "COMOPA", kOpacimeterLink, records, at.regional);
  ReadRows<ComRecords>(file, "COMKYMRA", kGasAnalyserLink, records, at.regional);
}

SaveResult SaveGasAnalyserSetUp(ShellState& s, InstrumentIdentityFields id,
                                const SettingsPlace& at) {
  GasSetUpRecords records{s, id};
  return SaveSection<GasSetUpRecords>(s, records, at, "COMKYMRA", kGasAnalyserSetUp);
}

SaveResult SaveGasAnalyserModel(ShellState& s, const SettingsPlace& at) {
  return SaveSection(s, at, "MODKYMRA", kGasAnalyserModel);
}

void LoadGasAnalyserSetUp(ShellState& s, InstrumentIdentityFields id, const SettingsPlace& at) {
  const std::optional<plat::Profile> file = ReadConfIni(s, at);
  GasSetUpRecords records{s, id};
  ReadRows<GasSetUpRecords>(file, "COMKYMRA", kGasAnalyserSetUp, records, at.regional);
  ReadRows<ShellState>(file, "MODKYMRA", kGasAnalyserModel, s, at.regional);
}

SaveResult SaveOpacimeterSetUp(ShellState& s, std::int16_t& activeComMode,
                               InstrumentIdentityFields id, const SettingsPlace& at) {
  OpaSetUpRecords records{s, activeComMode, id};
  SaveResult result = SaveSection<OpaSetUpRecords>(s, records, at, "COMOPA", kOpacimeterSetUp);
  if (!result) return result;
  return SaveSection<OpaSetUpRecords>(s, records, at, "MODOPA", kOpacimeterSetUpModel);
}

void LoadOpacimeterSetUp(ShellState& s, std::int16_t& activeComMode, InstrumentIdentityFields id,
                         const SettingsPlace& at) {
  const std::optional<plat::Profile> file = ReadConfIni(s, at);
  OpaSetUpRecords records{s, activeComMode, id};
  ReadRows<OpaSetUpRecords>(file, "COMOPA", kOpacimeterSetUp, records, at.regional);
  ReadRows<OpaSetUpRecords>(file, "MODOPA", kOpacimeterSetUpModel, records, at.regional);
}

void LoadInstrumentModels(ShellState& s, const SettingsPlace& at) {
  const std::optional<plat::Profile> file = ReadConfIni(s, at);
  ReadRows<ShellState>(file, "MODOPA", kOpacimeterModel, s, at.regional);
  ReadRows<ShellState>(file, "MODKYMRA", kGasAnalyserModel, s, at.regional);
}

}  // namespace vs
