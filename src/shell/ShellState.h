#pragma once
// Program-wide state of the application shell: the settings records loaded from and saved
// to "Conf.ini", the language table, and the shell's shared flags.
#include <string>

namespace vs {

struct ShellState {
  std::string ConfIniPath;  // scratch path rebuilt by every settings procedure
};

}  // namespace vs
