#pragma once
// An open connection from a serial port control to its device (a terminal device or an
// in-memory one). SerialRegistry::open makes it; destroying it closes the device.
#include <functional>
#include <string_view>

namespace plat {

// Called on the event loop with the bytes that arrived from the device. It may close the
// link it came from (the receiving control may close its port), so a link calls it last.
using SerialReceiver = std::function<void(std::string_view bytes)>;

class SerialLink {
 public:
  virtual ~SerialLink() = default;
  // Line speed in baud; always 8 data bits, no parity, 1 stop bit, no flow control, raw.
  virtual void setSpeed(int baud) = 0;
  // Writes every byte, or throws RuntimeError.
  virtual void write(std::string_view bytes) = 0;
};

}  // namespace plat
