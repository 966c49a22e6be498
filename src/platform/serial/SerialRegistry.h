#pragma once
// Which device stands behind serial port n: an in-memory device attached by a test, else
// the device that a link named COM<n> in the current directory points to, else
// /dev/ttyS<n-1>. It also knows which ports the program holds open, so that a second
// control cannot open a port that is in use, and it keeps an open port open while its
// device is away, opening it again as it is named then until the device is back.
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/serial/MemoryDevice.h"
#include "platform/serial/SerialLink.h"

namespace plat {

class EventLoop;

class SerialRegistry {
 public:
  static constexpr int kFirstPort = 1;
  static constexpr int kLastPort = 16;
  // How often a port whose device went away tries to open it again.
  static constexpr int kReopenMs = 500;

  // Received bytes arrive through `loop`. COM<n> links are looked up in `currentDirectory`,
  // read at every lookup (the owner may set the folder after making the registry).
  SerialRegistry(EventLoop& loop, const std::filesystem::path& currentDirectory)
      : loop_(loop), currentDirectory_(currentDirectory) {}
  SerialRegistry(const SerialRegistry&) = delete;
  SerialRegistry& operator=(const SerialRegistry&) = delete;

  // From now on port `port` is a new in-memory device (replacing one attached before). A
  // control that holds the port open keeps its old device until it closes.
  std::shared_ptr<MemoryDevice> attachMemory(int port);
  // Port `port` is the file-system device again (COM<n> link or /dev/ttyS<n-1>).
  void detach(int port);

  // The device file of port `port` when no memory device is attached: the target of the
  // link COM<port> in the current directory (relative targets taken from there), else
  // /dev/ttyS<port-1>.
  std::filesystem::path devicePath(int port) const;

  // True while a control of this registry holds port `port` open.
  bool inUse(int port) const;

  // Opens port `port` at `baud` for a control, which `events` tell what arrives. Throws
  // RuntimeError: port outside 1..16, port in use, device missing or unusable. When the
  // device goes away later the link stays: writes are dropped and the port is opened again
  // (at the last speed set) every kReopenMs, until that succeeds or the link is destroyed.
  // The returned link must not outlive this registry.
  std::unique_ptr<SerialLink> open(int port, int baud, SerialEvents events);

  // The loop that delivers what arrives.
  EventLoop& loop() { return loop_; }

  // Throws the invalid-port-number error unless 1 <= port <= 16.
  static void checkPortNumber(int port);

 private:
  class PortLink;
  // The device that stands behind port `port` now, opened.
  std::unique_ptr<SerialLink> openDevice(int port, int baud, const SerialEvents& events,
                                         SerialGone gone);

  EventLoop& loop_;
  const std::filesystem::path& currentDirectory_;
  std::map<int, std::shared_ptr<MemoryDevice>> memory_;
  std::set<int> inUse_;
};

}  // namespace plat
