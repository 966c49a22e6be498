#pragma once
// The frame senders: each builds one whole frame and writes it, as one output, to the
// serial port it is given. A form that is not loaded hands nullptr: its port counts as
// closed. Nothing is written to a closed port, nothing is queued, retried or reported: the
// forms' timers pace every exchange. Callers set McnAddress, McnCommand and their lengths
// (or the engine-speed twins) first.
#include <string_view>

namespace plat {
class SerialPort;
}

namespace vs {

struct LinkState;

// The ports of the two test forms, each nullptr while its form is not loaded.
struct TestFormPorts {
  plat::SerialPort* AnfumoMSComm1 = nullptr;  // smoke test form
  plat::SerialPort* AngasMSComm2 = nullptr;   // gas test form
};

// ANFUMO.MSComm1 while OpaFormActive is 1, then ANGAS.MSComm2 while GasFormActive is 1
// (both when both are set).
void SendMctcNetFrameToTestForms(const LinkState& l, const TestFormPorts& ports,
                                 std::string_view address, std::string_view command,
                                 std::string_view unit, std::string_view data);

// RPM.MSComm6 (nullptr while the engine-speed form is not loaded), with the watchdog: a send
// that finds no reply since the previous one counts a miss; from the third miss in a row
// the port is closed and opened again (errors ignored) before the write. RpmReplySeen is
// cleared by every send. Returns true when the engine-speed display (RPM.Label1) must be
// blanked: a miss while the form is loaded; the form does it.
[[nodiscard]] bool SendMctcNetFrameToRpmForm(LinkState& l, plat::SerialPort* port,
                                             std::string_view address, std::string_view command,
                                             std::string_view unit, std::string_view data);

// RiconosciMCTC.MSComm3, OPASU.MSComm4 and ANSU.MSComm6: written when open.
void SendMctcNetFrameToRecognitionForm(plat::SerialPort& port, std::string_view address,
                                       std::string_view command, std::string_view unit,
                                       std::string_view data);
void SendMctcNetFrameToOpaSetup(plat::SerialPort& port, std::string_view address,
                                std::string_view command, std::string_view unit,
                                std::string_view data);
void SendMctcNetFrameToGasSetup(plat::SerialPort& port, std::string_view address,
                                std::string_view command, std::string_view unit,
                                std::string_view data);

// RPMSU.MSComm5, opened first when it is closed; a port that cannot be opened ends the
// send silently.
void SendMctcNetFrameToRpmSetup(plat::SerialPort& port, std::string_view address,
                                std::string_view command, std::string_view unit,
                                std::string_view data);

// The binary request to the test forms' ports, routed as SendMctcNetFrameToTestForms.
// The caller stores the command in PendingCommand first.
void SendOwnProtocolFrame(const LinkState& l, const TestFormPorts& ports, int addr, int cmd,
                          std::string_view data);

}  // namespace vs
