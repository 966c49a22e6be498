#pragma once
// Opening the port of a form that talks to one instrument, and which of its port's events
// the test forms sound.
#include <string>
#include <string_view>

namespace plat {
class FormsRuntime;
class SerialPort;
}  // namespace plat

namespace vs {

// Opens `port` afresh on COM<number> with `settings` (closing it first when it is open) and
// the receive threshold at one byte. When it cannot be opened the operator is shown
// PortOpenErrorText with `cannotOpenText`, the port stays closed and the answer is false.
bool ReopenPort(plat::FormsRuntime& forms, plat::SerialPort& port, int number,
                const std::string& settings, std::string_view cannotOpenText);

// Whether the gas and smoke test forms beep for port event `code` other than a receive:
// the time-outs, overrun, receive-buffer overflow, full transmit buffer and unknown codes
// beep; sent data, the line changes, ring, end-of-file, break, framing and parity errors
// pass in silence.
bool LineEventBeeps(int code);

}  // namespace vs
