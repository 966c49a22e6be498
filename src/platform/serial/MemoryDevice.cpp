#include "platform/serial/MemoryDevice.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/core/Error.h"
#include "platform/core/EventLoop.h"

namespace plat {

// The program's end of an open memory device.
// Once the device is unplugged it is inert: writes are dropped.
class MemoryDevice::Link : public SerialLink {
 public:
  explicit Link(std::shared_ptr<MemoryDevice> device)
      : device_(std::move(device)), session_(device_->session_) {}
  ~Link() override {
    if (held()) device_->close();
  }
  void setSpeed(int baud) override {
    if (held()) device_->baud_ = baud;
  }
  void write(std::string_view bytes) override {
    if (held()) device_->programWrote(bytes);
  }

 private:
  bool held() const { return device_->session_ == session_; }
  std::shared_ptr<MemoryDevice> device_;
  std::uint64_t session_;
};

MemoryDevice::MemoryDevice(EventLoop& loop, int port) : loop_(loop), port_(port) {}

void MemoryDevice::send(std::string_view bytes) {
  if (!isOpen() || bytes.empty()) return;
  loop_.post([weak = weak_from_this(), session = session_, data = std::string(bytes)] {
    auto self = weak.lock();
    if (!self || self->session_ != session || !self->isOpen()) return;
    auto receiver = self->events_.received;  // the receiver may close the port
    receiver(data);
  });
}

void MemoryDevice::raiseLineEvent(int code) {
  if (isOpen()) events_.lineEvent(code);
}

void MemoryDevice::unplug() {
  available_ = false;
  if (!isOpen()) return;
  auto gone = gone_;
  close();
  if (gone) gone();
}

std::string MemoryDevice::takeWritten() { return std::exchange(written_, {}); }

bool MemoryDevice::isOpen() const { return static_cast<bool>(events_.received); }

int MemoryDevice::baud() const { return baud_; }

void MemoryDevice::setAvailable(bool available) { available_ = available; }

bool MemoryDevice::available() const { return available_; }

int MemoryDevice::port() const { return port_; }

std::unique_ptr<SerialLink> MemoryDevice::open(int baud, SerialEvents events, SerialGone gone) {
  if (!available_)
    throw RuntimeError(kErrPortOpenFailed, "Cannot open serial device (simulated) COM" +
                                               std::to_string(port_) + ": " +
                                               std::strerror(ENOENT));
  if (isOpen())  // the registry lets one port hold a device; this is a guard only
    throw RuntimeError(kErrPortAlreadyOpen,
                       "Port already open: COM" + std::to_string(port_) + " is in use");
  ++session_;
  events_ = std::move(events);
  gone_ = std::move(gone);
  baud_ = baud;
  return std::make_unique<Link>(shared_from_this());
}

void MemoryDevice::close() {
  events_ = {};
  gone_ = nullptr;
  ++session_;
}

void MemoryDevice::programWrote(std::string_view bytes) {
  written_.append(bytes);
  if (auto cb = onWrite) cb(bytes);
}

}  // namespace plat
