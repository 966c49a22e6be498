#pragma once
// The serial port control: one port, its number and settings text, a receive threshold,
// open/close, output, input and an event (data received, a line error) delivered through the
// event loop. The data path is bytes end to end: 0x00 and bytes >= 0x80 pass untouched.
// An open port outlives its device: when the device goes away (hangs up, is unplugged) the
// port stays open, drops what is written and opens port n again, as it is named then, every
// SerialRegistry::kReopenMs until that succeeds or the port is closed; no event tells it.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Error.h"

namespace plat {

class SerialLink;
class SerialRegistry;

// CommEvent() codes. This control raises kCommEvReceive and the line errors that the device
// reports: break, framing, overrun, parity (where the driver counts them), receive-buffer
// overflow and transmit buffer full. The others are named for the handlers that sort them.
inline constexpr int kCommEvSend = 1;
inline constexpr int kCommEvReceive = 2;
inline constexpr int kCommEvCTS = 3;
inline constexpr int kCommEvDSR = 4;
inline constexpr int kCommEvCD = 5;
inline constexpr int kCommEvRing = 6;
inline constexpr int kCommEvEOF = 7;
inline constexpr int kCommEventBreak = 1001;
inline constexpr int kCommEventCTSTO = 1002;
inline constexpr int kCommEventDSRTO = 1003;
inline constexpr int kCommEventFrame = 1004;
inline constexpr int kCommEventOverrun = 1005;
inline constexpr int kCommEventCDTO = 1006;
inline constexpr int kCommEventRxOver = 1007;
inline constexpr int kCommEventRxParity = 1008;
inline constexpr int kCommEventTxFull = 1009;

class SerialPort {
 public:
  // The input buffer: bytes that would wait beyond it are dropped, with a receive-buffer
  // overflow event.
  static constexpr std::size_t kInBufferSize = 1024;

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

  // Writes the bytes as one write; throws when the port is closed or the write fails. What
  // the device cannot take at once is dropped with a transmit-buffer-full event; while the
  // device is away everything is dropped, as by a line with nothing at its end.
  void Output(std::string_view bytes);
  // Every waiting byte, and the buffer is empty afterwards ("" when closed).
  std::string Input();
  int InBufferCount() const;

  // The event that OnComm reports (kCommEv..., kCommEvent...); 0 before the first event.
  int CommEvent() const;
  // The event. Runs on the event loop when bytes arrive and at least RThreshold bytes wait,
  // and for each line error, whatever the threshold; never from inside Output. It may close
  // the port or read the input.
  std::function<void()> OnComm;

 private:
  void received(std::string_view bytes);
  void raise(int code);  // a line event, later through the loop

  // One per opening: line events raised during an opening die with it.
  struct Opening {};

  SerialRegistry& serial_;
  int port_ = 1;
  std::string settings_ = "9600,n,8,1";
  int baud_ = 9600;
  int threshold_ = 0;
  int commEvent_ = 0;
  std::string input_;
  std::shared_ptr<Opening> opening_;
  std::unique_ptr<SerialLink> link_;
};

}  // namespace plat
