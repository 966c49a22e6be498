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

  // A line event as a driver reports it (kCommEventOverrun, kCommEventFrame, ...) for the
  // port that holds the device open (nothing while none does); the port raises it later,
  // through the loop.
  void raiseLineEvent(int code);

  // The device goes away as an unplugged adapter does: the port that holds it open is told
  // at once and keeps trying to open its port again; bytes it writes are dropped, and the
  // device cannot be opened until it is made available again.
  void unplug();

  // True while a SerialPort holds the device open (until it closes or the device is unplugged).
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

  // Opens the device for a port; throws RuntimeError when it is unavailable. `gone` is told
  // when it is unplugged.
  std::unique_ptr<SerialLink> open(int baud, SerialEvents events, SerialGone gone);

 private:
  class Link;
  void programWrote(std::string_view bytes);
  void close();

  EventLoop& loop_;
  int port_;
  SerialEvents events_;  // empty while closed
  SerialGone gone_;
  std::uint64_t session_ = 0;  // one per open and close: late bytes reach no later session
  std::string written_;
  int baud_ = 0;
  bool available_ = true;
};

}  // namespace plat
