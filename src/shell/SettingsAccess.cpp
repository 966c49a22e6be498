#include "shell/SettingsAccess.h"

#include "platform/Runtime.h"
#include "platform/forms/MessageBox.h"
#include "shell/ProgramMessages.h"
#include "shell/ShellState.h"

namespace vs {

SettingsPlace ConfPlace(const plat::Runtime& rt) { return {rt.currentDirectory, rt.regional}; }

const std::string& RebuildConfIniPath(ShellState& s, const std::filesystem::path& folder) {
  // The separator goes in even when the directory already ends with one.
  s.ConfIniPath = folder.string() + "/" + "Conf.ini";
  return s.ConfIniPath;
}

std::optional<plat::Profile> ReadConfIni(ShellState& s, const SettingsPlace& at) {
  return plat::ReadProfile(RebuildConfIniPath(s, at.folder));
}

SaveResult WriteConfIni(ShellState& s, const SettingsPlace& at, std::string_view section,
                        const std::vector<plat::ProfileEntry>& entries) {
  SaveResult r;
  r.file = RebuildConfIniPath(s, at.folder);
  r.languageCode = s.LanguageCode;
  r.error = plat::WriteProfileValues(r.file, section, entries);
  return r;
}

std::string SaveProblem(const SaveResult& r) {
  if (r) return {};
  return MessageText(r.languageCode, Msg::SettingsNotSaved, {r.file.string(), r.error.message()});
}

void ReportSaveProblem(plat::Runtime& rt, const SaveResult& r) {
  if (r) return;
  plat::MsgBox(rt.forms, SaveProblem(r), plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
}

}  // namespace vs
