#pragma once
// A serial device that lives in memory, for tests and simulated instruments. The program
// opens it through a SerialPort like any other port; the other side of the line (the
// "instrument") is this object: it sends bytes that the program receives and sees every
// byte the program writes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/serial/SerialLink.h"

namespace plat {

class EventLoop;

class MemoryDevice : public std::enable_shared_from_this<MemoryDevice> {
 public:
  // Made by SerialRegistry::attachMemory; used while its event loop lives.
  MemoryDevice(EventLoop& loop, int port);
  MemoryDevice(const MemoryDevice&) = delete;
  MemoryDevice& operator=(const MemoryDevice&) = delete;

  // --- The instrument's side ---

  // Bytes for the program. They arrive through the event loop (under the manual clock on
  // the next advance() or processPending()), as a receive of the port that holds the device
  // open at that moment. Bytes sent while no port holds it open are lost, as on a line.
  void send(std::string_view bytes);

  // Everything the program wrote since the last call.
  std::string takeWritten();

  // Called with the bytes of each write of the program (one call per SerialPort::Output),
  // during that write. A simulator answers from here with send(); the answer reaches the
  // program later, through the loop.
  std::function<void(std::string_view bytes)> onWrite;

  // True while a SerialPort holds the device open.
  bool isOpen() const;
  // The line speed the program set (at open or a later settings change); 0 before the
  // first open. Kept after close.
  int baud() const;
  // An unavailable device cannot be opened (as a missing or unplugged device). A port that
  // holds it open already keeps it until it closes.
  void setAvailable(bool available);
  bool available() const;
  // The port number the device is attached to.
  int port() const;

  // --- Used by SerialRegistry ---

  // Opens the device for a port; throws RuntimeError when it is unavailable.
  std::unique_ptr<SerialLink> open(int baud, SerialReceiver receiver);

 private:
  class Link;
  void programWrote(std::string_view bytes);

  EventLoop& loop_;
  int port_;
  SerialReceiver receiver_;    // empty while closed
  std::uint64_t session_ = 0;  // one per open, so late bytes never reach a later session
  std::string written_;
  int baud_ = 0;
  bool available_ = true;
};

}  // namespace plat
