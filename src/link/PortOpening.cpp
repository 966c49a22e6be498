#include "link/PortOpening.h"

#include "link/PortSettings.h"
#include "platform/core/Error.h"
#include "platform/forms/MessageBox.h"
#include "platform/serial/SerialPort.h"

namespace vs {

bool ReopenPort(plat::FormsRuntime& forms, plat::SerialPort& port, int number,
                const std::string& settings, std::string_view cannotOpenText) {
  try {
    if (port.PortOpen()) port.setPortOpen(false);
    port.setCommPort(number);
    port.setSettings(settings);
    port.setRThreshold(1);
    port.setPortOpen(true);
    return true;
  } catch (const plat::RuntimeError& e) {
    plat::MsgBox(forms, PortOpenErrorText(number, cannotOpenText, e.what()),
                 plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Critical);
    return false;
  }
}

bool LineEventBeeps(int code) {
  switch (code) {
    case plat::kCommEvSend:
    case plat::kCommEvCTS:
    case plat::kCommEvDSR:
    case plat::kCommEvCD:
    case plat::kCommEvRing:
    case plat::kCommEvEOF:
    case plat::kCommEventBreak:
    case plat::kCommEventFrame:
    case plat::kCommEventRxParity:
      return false;
    default:
      return true;
  }
}

}  // namespace vs
