#include "shell/RCLIni.h"

#include <filesystem>
#include <system_error>

#include "platform/ini/PrivateProfile.h"

namespace vs {

bool RCLIni::SetValue() { return plat::WriteProfileString(File, Section, key, Value); }

bool RCLIni::GetValue() {
  std::error_code ec;
  if (File.empty() || !std::filesystem::is_regular_file(File, ec)) return false;
  std::optional<std::string> read = plat::ReadProfileString(File, Section, key);
  if (!read) return false;
  Value = std::move(*read);
  return true;
}

}  // namespace vs
