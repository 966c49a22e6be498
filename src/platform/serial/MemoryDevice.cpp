#include "platform/serial/MemoryDevice.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/core/Error.h"
#include "platform/core/EventLoop.h"

namespace plat {

// The program's end of an open memory device.
class MemoryDevice::Link : public SerialLink {
 public:
  explicit Link(std::shared_ptr<MemoryDevice> device) : device_(std::move(device)) {}
  ~Link() override {
    device_->receiver_ = nullptr;
    ++device_->session_;
  }
  void setSpeed(int baud) override { device_->baud_ = baud; }
  void write(std::string_view bytes) override { device_->programWrote(bytes); }

 private:
  std::shared_ptr<MemoryDevice> device_;
};

MemoryDevice::MemoryDevice(EventLoop& loop, int port) : loop_(loop), port_(port) {}

void MemoryDevice::send(std::string_view bytes) {
  if (!receiver_ || bytes.empty()) return;
  loop_.post([weak = weak_from_this(), session = session_, data = std::string(bytes)] {
    auto self = weak.lock();
    if (!self || self->session_ != session || !self->receiver_) return;
    auto receiver = self->receiver_;  // the receiver may close the port
    receiver(data);
  });
}

std::string MemoryDevice::takeWritten() { return std::exchange(written_, {}); }

bool MemoryDevice::isOpen() const { return static_cast<bool>(receiver_); }

int MemoryDevice::baud() const { return baud_; }

void MemoryDevice::setAvailable(bool available) { available_ = available; }

bool MemoryDevice::available() const { return available_; }

int MemoryDevice::port() const { return port_; }

std::unique_ptr<SerialLink> MemoryDevice::open(int baud, SerialReceiver receiver) {
  if (!available_)
    throw RuntimeError(kErrPortOpenFailed, "Cannot open serial device (simulated) COM" +
                                               std::to_string(port_) + ": " +
                                               std::strerror(ENOENT));
  if (receiver_)  // the registry lets one port hold a device; this is a guard only
    throw RuntimeError(kErrPortAlreadyOpen,
                       "Port already open: COM" + std::to_string(port_) + " is in use");
  ++session_;
  receiver_ = std::move(receiver);
  baud_ = baud;
  return std::make_unique<Link>(shared_from_this());
}

void MemoryDevice::programWrote(std::string_view bytes) {
  written_.append(bytes);
  if (auto cb = onWrite) cb(bytes);
}

}  // namespace plat
