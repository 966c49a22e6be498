#pragma once
// The serial port control: one port, its number and settings text, a receive threshold,
// open/close, output, input and a receive event delivered through the event loop. The data
// path is bytes end to end: 0x00 and bytes >= 0x80 pass untouched.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Error.h"

namespace plat {

class SerialLink;
class SerialRegistry;

// CommEvent() after a receive event.
inline constexpr int kCommEvReceive = 2;

class SerialPort {
 public:
  // Bytes that wait beyond this are dropped, as by a full receive buffer.
  static constexpr std::size_t kInBufferSize = 65536;

  // Opens its port through `serial`, which must outlive it.
  explicit SerialPort(SerialRegistry& serial);
  ~SerialPort();  // closes the port
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Port number 1..16 (default 1). Setting a number outside that range, or while the port
  // is open, throws and keeps the old number.
  int CommPort() const;
  void setCommPort(int port);

  // "1200,n,8,1", "9600,n,8,1" (default), "19200,n,8,1" or "38400,n,8,1"; any other text
  // throws "invalid property value" and keeps the old settings. Applies at once when open.
  const std::string& Settings() const;
  void setSettings(std::string_view settings);

  // 0: no receive events; n >= 1: a receive event whenever bytes arrive and at least n wait.
  int RThreshold() const;
  void setRThreshold(int threshold);

  // Opening a port that is open (here or in another control), outside 1..16, or whose
  // device is missing or unusable throws RuntimeError with a text for the operator.
  // Closing discards the waiting input; closing a closed port does nothing.
  bool PortOpen() const;
  void setPortOpen(bool open);

  // Writes the bytes as one write; throws when the port is closed or the write fails.
  void Output(std::string_view bytes);
  // Every waiting byte, and the buffer is empty afterwards ("" when closed).
  std::string Input();
  int InBufferCount() const;

  // The event that OnComm reports: kCommEvReceive; 0 before the first event.
  int CommEvent() const;
  // The receive event. Runs on the event loop when bytes arrive and at least RThreshold
  // bytes wait; never from inside Output. It may close the port or read the input.
  std::function<void()> OnComm;

 private:
  void received(std::string_view bytes);

  SerialRegistry& serial_;
  int port_ = 1;
  std::string settings_ = "9600,n,8,1";
  int baud_ = 9600;
  int threshold_ = 0;
  int commEvent_ = 0;
  std::string input_;
  std::unique_ptr<SerialLink> link_;
};

}  // namespace plat
