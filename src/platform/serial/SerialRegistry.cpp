#include "platform/serial/SerialRegistry.h"

#include <system_error>
#include <utility>

#include "platform/core/Error.h"
#include "platform/core/EventLoop.h"
#include "platform/serial/TermiosLink.h"

namespace plat {

// The link a control holds. It marks its port as in use for as long as it lives, and it
// outlives the device behind it: when the device goes away it drops what is written and
// opens the port again, as it is named then, every kReopenMs until that succeeds.
class SerialRegistry::PortLink : public SerialLink {
 public:
  PortLink(SerialRegistry& registry, int port, int baud, SerialEvents events)
      : registry_(registry), port_(port), baud_(baud), events_(std::move(events)) {
    registry_.inUse_.insert(port_);
  }
  ~PortLink() override {
    if (retry_) registry_.loop_.stopTimer(retry_);
    device_.reset();
    registry_.inUse_.erase(port_);
  }
  // Opens the device; throws RuntimeError.
  void connect() {
    device_ = registry_.openDevice(port_, baud_, events_, [this] { deviceGone(); });
  }
  void setSpeed(int baud) override {
    if (!retry_) device_->setSpeed(baud);
    baud_ = baud;
  }
  void write(std::string_view bytes) override {
    if (!retry_) device_->write(bytes);
  }

 private:
  // Called by the device, maybe from inside its write: the device is only let go later.
  void deviceGone() {
    if (!retry_) retry_ = registry_.loop_.startTimer(kReopenMs, [this] { reopen(); });
  }
  void reopen() {
    device_.reset();
    try {
      connect();
    } catch (const RuntimeError&) {
      return;  // still away
    }
    registry_.loop_.stopTimer(std::exchange(retry_, 0));
  }

  SerialRegistry& registry_;
  int port_;
  int baud_;
  SerialEvents events_;
  std::unique_ptr<SerialLink> device_;
  EventLoop::TimerId retry_ = 0;  // while the device is away
};

std::shared_ptr<MemoryDevice> SerialRegistry::attachMemory(int port) {
  checkPortNumber(port);
  auto device = std::make_shared<MemoryDevice>(loop_, port);
  memory_[port] = device;
  return device;
}

void SerialRegistry::detach(int port) { memory_.erase(port); }

std::filesystem::path SerialRegistry::devicePath(int port) const {
  namespace fs = std::filesystem;
  const fs::path link = currentDirectory_ / ("COM" + std::to_string(port));
  std::error_code ec;
  const auto status = fs::symlink_status(link, ec);
  if (!ec && fs::exists(status)) {
    if (!fs::is_symlink(status)) return link;
    fs::path target = fs::read_symlink(link, ec);
    if (!ec) return target.is_absolute() ? target : currentDirectory_ / target;
    return link;
  }
  return "/dev/ttyS" + std::to_string(port - 1);
}

bool SerialRegistry::inUse(int port) const { return inUse_.count(port) != 0; }

std::unique_ptr<SerialLink> SerialRegistry::open(int port, int baud, SerialEvents events) {
  checkPortNumber(port);
  if (inUse(port))
    throw RuntimeError(kErrPortAlreadyOpen, "Port already open: COM" + std::to_string(port) +
                                                " is in use elsewhere in this program");
  auto link = std::make_unique<PortLink>(*this, port, baud, std::move(events));
  link->connect();  // throws; the link lets the port go
  return link;
}

std::unique_ptr<SerialLink> SerialRegistry::openDevice(int port, int baud,
                                                       const SerialEvents& events,
                                                       SerialGone gone) {
  if (auto it = memory_.find(port); it != memory_.end())
    return it->second->open(baud, events, std::move(gone));
  const std::string com = "COM" + std::to_string(port);
  const auto path = devicePath(port);
  std::string label = path.string();
  std::error_code ec;
  if (std::filesystem::is_symlink(currentDirectory_ / com, ec)) label += " (link " + com + ")";
  return OpenTermios(loop_, path, label, baud, events, std::move(gone));
}

void SerialRegistry::checkPortNumber(int port) {
  if (port < kFirstPort || port > kLastPort)
    throw RuntimeError(kErrInvalidPortNumber, "Invalid port number " + std::to_string(port) +
                                                  ": serial ports are numbered 1 to 16");
}

}  // namespace plat
