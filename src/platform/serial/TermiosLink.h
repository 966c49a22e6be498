#pragma once
// A terminal device (serial adapter or pseudo-terminal) opened with termios and watched by
// the event loop.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial/SerialLink.h"

namespace plat {

class EventLoop;

// Opens `path` raw at `baud` (8 data bits, no parity, 1 stop bit, no flow control),
// exclusively where the system allows it, with pending input discarded. `label` names the
// device in error texts. When the device hangs up (the adapter unplugged, the other end of
// a pseudo-terminal closed) the link closes it and tells `gone`. Throws RuntimeError.
std::unique_ptr<SerialLink> OpenTermios(EventLoop& loop, const std::filesystem::path& path,
                                        const std::string& label, int baud, SerialEvents events,
                                        SerialGone gone);

// The error counters of a serial driver that keeps them (a pseudo-terminal does not).
struct LineErrorCounts {
  int overrun = 0, bufferOverrun = 0, frame = 0, parity = 0, brk = 0;
};

// The line events for the counters that moved from `before` to `now`: one event per kind,
// however many errors of it came (counters wrap, so any change counts).
std::vector<int> LineEventsBetween(const LineErrorCounts& before, const LineErrorCounts& now);

}  // namespace plat
