#pragma once
// The serial settings and the port-error message that every window with a port shares.
#include <string>
#include <string_view>

namespace vs {

// The settings text a test form or the engine-speed form gives its port for a speed code:
// 1 "1200,n,8,1", 2 "9600,n,8,1", 3 "19200,n,8,1", 4 "38400,n,8,1"; any other code keeps
// `current`, the port's settings text as it stands.
std::string PortSettingsForSpeed(int speedCode, const std::string& current);

// The settings text of a set-up form's identification search: "1200,n,8,1" for code 1,
// "9600,n,8,1" for every other code.
std::string SearchPortSettings(int speedCode);

// The message shown when a port cannot be opened: "COM", the port number, one blank, the
// language text, CR LF and the system's text of the error ("COM3 Porta non disponibile"
// CR LF "No such file or directory").
std::string PortOpenErrorText(int port, std::string_view languageText,
                              std::string_view systemError);

}  // namespace vs
