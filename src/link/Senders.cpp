#include "link/Senders.h"

#include <string>

#include "link/LinkState.h"
#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "platform/core/Error.h"
#include "platform/serial/SerialPort.h"

namespace vs {
namespace {

bool IsOpen(const plat::SerialPort* port) { return port != nullptr && port->PortOpen(); }

// Writes the frame when the port is open. A write that fails (the device went away) is
// lost like a frame to a closed port; the exchange's time-out shows it to the operator.
void WriteIfOpen(plat::SerialPort* port, std::string_view frame) {
  if (!IsOpen(port)) return;
  try {
    port->Output(frame);
  } catch (const plat::RuntimeError&) {
  }
}

void WriteToTestForms(const LinkState& l, const TestFormPorts& ports, std::string_view frame) {
  if (l.OpaFormActive == 1) WriteIfOpen(ports.AnfumoMSComm1, frame);
  if (l.GasFormActive == 1) WriteIfOpen(ports.AngasMSComm2, frame);
}

}  // namespace

void SendMctcNetFrameToTestForms(const LinkState& l, const TestFormPorts& ports,
                                 std::string_view address, std::string_view command,
                                 std::string_view unit, std::string_view data) {
  WriteToTestForms(l, ports, BuildMctcNetFrame(address, command, unit, data));
}

bool SendMctcNetFrameToRpmForm(LinkState& l, plat::SerialPort* port, std::string_view address,
                               std::string_view command, std::string_view unit,
                               std::string_view data) {
  const std::string frame = BuildMctcNetFrame(address, command, unit, data);
  bool blank = false;
  if (l.RpmReplySeen != 1) {
    blank = port != nullptr;
    ++l.RpmMissCount;
    if (l.RpmMissCount >= 3 && port != nullptr) {
      try {
        if (port->PortOpen()) port->setPortOpen(false);
        port->setPortOpen(true);
      } catch (const plat::RuntimeError&) {
        // Errors ignored: the next send tries again.
      }
    }
  } else {
    l.RpmMissCount = 0;
  }
  WriteIfOpen(port, frame);
  l.RpmReplySeen = 0;
  return blank;
}

void SendMctcNetFrameToRecognitionForm(plat::SerialPort& port, std::string_view address,
                                       std::string_view command, std::string_view unit,
                                       std::string_view data) {
  WriteIfOpen(&port, BuildMctcNetFrame(address, command, unit, data));
}

void SendMctcNetFrameToOpaSetup(plat::SerialPort& port, std::string_view address,
                                std::string_view command, std::string_view unit,
                                std::string_view data) {
  WriteIfOpen(&port, BuildMctcNetFrame(address, command, unit, data));
}

void SendMctcNetFrameToGasSetup(plat::SerialPort& port, std::string_view address,
                                std::string_view command, std::string_view unit,
                                std::string_view data) {
  WriteIfOpen(&port, BuildMctcNetFrame(address, command, unit, data));
}

void SendMctcNetFrameToRpmSetup(plat::SerialPort& port, std::string_view address,
                                std::string_view command, std::string_view unit,
                                std::string_view data) {
  const std::string frame = BuildMctcNetFrame(address, command, unit, data);
  try {
    if (!port.PortOpen()) port.setPortOpen(true);
  } catch (const plat::RuntimeError&) {
    return;
  }
  WriteIfOpen(&port, frame);
}

void SendOwnProtocolFrame(const LinkState& l, const TestFormPorts& ports, int addr, int cmd,
                          std::string_view data) {
  WriteToTestForms(l, ports, BuildOwnProtocolFrame(addr, cmd, data));
}

}  // namespace vs
