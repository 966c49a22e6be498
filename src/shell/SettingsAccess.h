#pragma once
// Access to "Conf.ini" for the settings procedures: where it is, one read of the whole file,
// one write of a section's keys, and what the operator is told when a write fails.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/ini/PrivateProfile.h"
#include "platform/text/RegionalSettings.h"

namespace plat {
class Runtime;
}

namespace vs {

struct ShellState;

// Where "Conf.ini" is (the station folder, the process's current directory) and the
// regional settings its numbers are written and read under.
struct SettingsPlace {
  std::filesystem::path folder;
  plat::RegionalSettings regional;
};

// The place of the running program.
SettingsPlace ConfPlace(const plat::Runtime& rt);

// What a save procedure did: the file it wrote and, when the write failed, why. A failed
// write leaves the file as it was. The operator's language at the save chooses the words
// that tell a failure.
struct SaveResult {
  std::filesystem::path file;
  std::error_code error;
  std::int16_t languageCode = 0;
  explicit operator bool() const { return !error; }
};

// ConfIniPath := folder & "/" & "Conf.ini"; returns it.
const std::string& RebuildConfIniPath(ShellState& s, const std::filesystem::path& folder);

// Rebuilds ConfIniPath and reads the file once; nothing when it is missing or unreadable.
std::optional<plat::Profile> ReadConfIni(ShellState& s, const SettingsPlace& at);

// Rebuilds ConfIniPath and writes the entries under `section` in one replacement of the file.
SaveResult WriteConfIni(ShellState& s, const SettingsPlace& at, std::string_view section,
                        const std::vector<plat::ProfileEntry>& entries);

// The words for the operator about a failed save, in the language of the save, naming the
// file and the reason; empty after a save that worked.
std::string SaveProblem(const SaveResult& r);
// Shows SaveProblem in one message box when the save failed; nothing otherwise.
void ReportSaveProblem(plat::Runtime& rt, const SaveResult& r);

}  // namespace vs
