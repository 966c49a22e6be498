#pragma once
// A terminal device (serial adapter or pseudo-terminal) opened with termios and watched by
// the event loop.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/serial/SerialLink.h"

namespace plat {

class EventLoop;

// Opens `path` raw at `baud` (8 data bits, no parity, 1 stop bit, no flow control),
// exclusively where the system allows it, with pending input discarded. `label` names the
// device in error texts. Throws RuntimeError.
std::unique_ptr<SerialLink> OpenTermios(EventLoop& loop, const std::filesystem::path& path,
                                        const std::string& label, int baud,
                                        SerialReceiver receiver);

}  // namespace plat
