#pragma once
// An open connection from a serial port control to its device (a terminal device or an
// in-memory one). SerialRegistry::open makes it; destroying it closes the device.
#include <functional>
#include <string_view>

namespace plat {

// What a device tells the control that holds it open, on the event loop.
struct SerialEvents {
  // Bytes that arrived. It may close the link it came from (the receiving control may close
  // its port), so a link calls it last.
  std::function<void(std::string_view bytes)> received;
  // A line event, as the control's event code (an overrun, a framing error, a full transmit
  // buffer, ...). The control only notes it and raises its event later, so a link may call
  // it at any point, even from inside write().
  std::function<void(int code)> lineEvent;
};

// Told by a device link, at most once, that its device went away (hung up, unplugged). The
// link has closed the device by then: it reads nothing more and drops what is written. The
// call may come from inside write(), and must not destroy the link.
using SerialGone = std::function<void()>;

class SerialLink {
 public:
  virtual ~SerialLink() = default;
  // Line speed in baud; always 8 data bits, no parity, 1 stop bit, no flow control, raw.
  virtual void setSpeed(int baud) = 0;
  // Hands the bytes to the device without waiting. What the device cannot take at once is
  // dropped with a transmit-buffer-full line event; a device that went away drops them all.
  // Throws RuntimeError for any other failure.
  virtual void write(std::string_view bytes) = 0;
};

}  // namespace plat
