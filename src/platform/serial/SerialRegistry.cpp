#include "platform/serial/SerialRegistry.h"

#include <system_error>

#include "platform/core/Error.h"
#include "platform/serial/TermiosLink.h"

namespace plat {

// A link that marks its port as in use for as long as it lives.
class SerialRegistry::Claimed : public SerialLink {
 public:
  Claimed(SerialRegistry& registry, int port, std::unique_ptr<SerialLink> inner)
      : registry_(registry), port_(port), inner_(std::move(inner)) {
    registry_.inUse_.insert(port_);
  }
  ~Claimed() override {
    inner_.reset();
    registry_.inUse_.erase(port_);
  }
  void setSpeed(int baud) override { inner_->setSpeed(baud); }
  void write(std::string_view bytes) override { inner_->write(bytes); }

 private:
  SerialRegistry& registry_;
  int port_;
  std::unique_ptr<SerialLink> inner_;
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

std::unique_ptr<SerialLink> SerialRegistry::open(int port, int baud, SerialReceiver receiver) {
  checkPortNumber(port);
  const std::string com = "COM" + std::to_string(port);
  if (inUse(port))
    throw RuntimeError(kErrPortAlreadyOpen,
                       "Port already open: " + com + " is in use elsewhere in this program");
  std::unique_ptr<SerialLink> inner;
  if (auto it = memory_.find(port); it != memory_.end()) {
    inner = it->second->open(baud, std::move(receiver));
  } else {
    const auto path = devicePath(port);
    std::string label = path.string();
    std::error_code ec;
    if (std::filesystem::is_symlink(currentDirectory_ / com, ec)) label += " (link " + com + ")";
    inner = OpenTermios(loop_, path, label, baud, std::move(receiver));
  }
  return std::make_unique<Claimed>(*this, port, std::move(inner));
}

void SerialRegistry::checkPortNumber(int port) {
  if (port < kFirstPort || port > kLastPort)
    throw RuntimeError(kErrInvalidPortNumber, "Invalid port number " + std::to_string(port) +
                                                  ": serial ports are numbered 1 to 16");
}

}  // namespace plat
