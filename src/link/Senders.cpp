#include "link/Senders.h"

#include <exception>
#include <string>

#include "app/Program.h"
#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
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
  } catch (const std::exception&) {
  }
}

void WriteToTestForms(LinkState& l, std::string_view frame) {
  if (l.OpaFormActive == 1) WriteIfOpen(l.ports.AnfumoMSComm1, frame);
  if (l.GasFormActive == 1) WriteIfOpen(l.ports.AngasMSComm2, frame);
}

void BlankRpmDisplay(LinkState& l) {
  if (l.ui.blankRpmDisplay) {
    l.ui.blankRpmDisplay();
  } else {
    ++l.headless.rpmDisplayBlanked;
  }
}

}  // namespace

void SendMctcNetFrameToTestForms(Program& p, std::string_view address, std::string_view command,
                                 std::string_view unit, std::string_view data) {
  WriteToTestForms(p.link, BuildMctcNetFrame(address, command, unit, data));
}

void SendMctcNetFrameToRpmForm(Program& p, std::string_view address, std::string_view command,
                               std::string_view unit, std::string_view data) {
  LinkState& l = p.link;
  const std::string frame = BuildMctcNetFrame(address, command, unit, data);
  plat::SerialPort* port = l.ports.RpmMSComm6;  // set while the engine-speed form is loaded
  if (l.RpmReplySeen != 1) {
    if (port != nullptr) BlankRpmDisplay(l);
    ++l.RpmMissCount;
    if (l.RpmMissCount >= 3 && port != nullptr) {
      try {
        if (port->PortOpen()) port->setPortOpen(false);
        port->setPortOpen(true);
      } catch (const std::exception&) {
        // Errors ignored: the next send tries again.
      }
    }
  } else {
    l.RpmMissCount = 0;
  }
  WriteIfOpen(port, frame);
  l.RpmReplySeen = 0;
}

void SendMctcNetFrameToRecognitionForm(Program& p, std::string_view address,
                                       std::string_view command, std::string_view unit,
                                       std::string_view data) {
  WriteIfOpen(p.link.ports.RiconosciMSComm3, BuildMctcNetFrame(address, command, unit, data));
}

void SendMctcNetFrameToOpaSetup(Program& p, std::string_view address, std::string_view command,
                                std::string_view unit, std::string_view data) {
  WriteIfOpen(p.link.ports.OpasuMSComm4, BuildMctcNetFrame(address, command, unit, data));
}

void SendMctcNetFrameToRpmSetup(Program& p, std::string_view address, std::string_view command,
                                std::string_view unit, std::string_view data) {
  plat::SerialPort* port = p.link.ports.RpmsuMSComm5;
  if (port == nullptr) return;
  const std::string frame = BuildMctcNetFrame(address, command, unit, data);
  try {
    if (!port->PortOpen()) port->setPortOpen(true);
  } catch (const std::exception&) {
    return;
  }
  WriteIfOpen(port, frame);
}

void SendMctcNetFrameToGasSetup(Program& p, std::string_view address, std::string_view command,
                                std::string_view unit, std::string_view data) {
  WriteIfOpen(p.link.ports.AnsuMSComm6, BuildMctcNetFrame(address, command, unit, data));
}

void SendOwnProtocolFrame(Program& p, int addr, int cmd, std::string_view data) {
  WriteToTestForms(p.link, BuildOwnProtocolFrame(addr, cmd, data));
}

}  // namespace vs
