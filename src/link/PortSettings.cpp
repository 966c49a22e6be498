#include "link/PortSettings.h"

namespace vs {

std::string PortSettingsForSpeed(int speedCode, const std::string& current) {
  switch (speedCode) {
    case 1:
      return "1200,n,8,1";
    case 2:
      return "9600,n,8,1";
    case 3:
      return "19200,n,8,1";
    case 4:
      return "38400,n,8,1";
    default:
      return current;
  }
}

std::string SearchPortSettings(int speedCode) {
  return speedCode == 1 ? "1200,n,8,1" : "9600,n,8,1";
}

std::string PortOpenErrorText(int port, std::string_view languageText,
                              std::string_view systemError) {
  std::string text = "COM" + std::to_string(port) + " ";
  text += languageText;
  text += "\r\n";
  text += systemError;
  return text;
}

}  // namespace vs
