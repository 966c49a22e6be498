#pragma once
// The frame senders: each builds one whole frame and writes it, as one output, to the
// serial port of the form it serves. A port whose form is not loaded (its slot in
// LinkState::ports is empty) counts as closed. Nothing is written to a closed port,
// nothing is queued, retried or reported: the forms' timers pace every exchange. Callers
// set McnAddress, McnCommand and their lengths (or the engine-speed twins) first.
#include <string_view>

namespace vs {

class Program;

// ANFUMO.MSComm1 while OpaFormActive is 1, then ANGAS.MSComm2 while GasFormActive is 1
// (both when both are set).
void SendMctcNetFrameToTestForms(Program& p, std::string_view address, std::string_view command,
                                 std::string_view unit, std::string_view data);

// RPM.MSComm6, with the watchdog: a send that finds no reply since the previous one
// blanks the engine-speed display and counts a miss; from the third miss in a row the
// port is closed and opened again (errors ignored) before the write. RpmReplySeen is
// cleared by every send.
void SendMctcNetFrameToRpmForm(Program& p, std::string_view address, std::string_view command,
                               std::string_view unit, std::string_view data);

// RiconosciMCTC.MSComm3.
void SendMctcNetFrameToRecognitionForm(Program& p, std::string_view address,
                                       std::string_view command, std::string_view unit,
                                       std::string_view data);

// OPASU.MSComm4.
void SendMctcNetFrameToOpaSetup(Program& p, std::string_view address, std::string_view command,
                                std::string_view unit, std::string_view data);

// RPMSU.MSComm5, opened first when it is closed; a port that cannot be opened ends the
// send silently.
void SendMctcNetFrameToRpmSetup(Program& p, std::string_view address, std::string_view command,
                                std::string_view unit, std::string_view data);

// ANSU.MSComm6.
void SendMctcNetFrameToGasSetup(Program& p, std::string_view address, std::string_view command,
                                std::string_view unit, std::string_view data);

// The binary request to the test forms' ports, routed as SendMctcNetFrameToTestForms.
// The caller stores the command in PendingCommand first.
void SendOwnProtocolFrame(Program& p, int addr, int cmd, std::string_view data);

}  // namespace vs
