#include "platform/serial/SerialPort.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/core/Error.h"
#include "platform/core/EventLoop.h"
#include "platform/serial/SerialLink.h"
#include "platform/serial/SerialRegistry.h"

namespace plat {

namespace {

// The baud rate of a settings text, or 0 when the text is not one the control accepts.
int BaudOf(std::string_view settings) {
  std::string text(settings);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (text == "1200,n,8,1") return 1200;
  if (text == "9600,n,8,1") return 9600;
  if (text == "19200,n,8,1") return 19200;
  if (text == "38400,n,8,1") return 38400;
  return 0;
}

}  // namespace

SerialPort::SerialPort(SerialRegistry& serial) : serial_(serial) {}

SerialPort::~SerialPort() { link_.reset(); }

int SerialPort::CommPort() const { return port_; }

void SerialPort::setCommPort(int port) {
  SerialRegistry::checkPortNumber(port);
  if (link_ && port != port_)
    throw RuntimeError(kErrPortAlreadyOpen, "Port already open: close COM" + std::to_string(port_) +
                                                " before changing the port number");
  port_ = port;
}

const std::string& SerialPort::Settings() const { return settings_; }

void SerialPort::setSettings(std::string_view settings) {
  const int baud = BaudOf(settings);
  if (baud == 0)
    throw RuntimeError(kErrInvalidProperty,
                       "Invalid property value: serial settings \"" + std::string(settings) +
                           "\" (accepted: 1200, 9600, 19200 or 38400 baud, n,8,1)");
  if (link_) link_->setSpeed(baud);
  settings_ = std::string(settings);
  baud_ = baud;
}

int SerialPort::RThreshold() const { return threshold_; }

void SerialPort::setRThreshold(int threshold) {
  if (threshold < 0)
    throw RuntimeError(kErrInvalidProperty,
                       "Invalid property value: receive threshold " + std::to_string(threshold));
  threshold_ = threshold;
}

bool SerialPort::PortOpen() const { return link_ != nullptr; }

void SerialPort::setPortOpen(bool open) {
  if (!open) {
    link_.reset();
    opening_.reset();
    input_.clear();
    return;
  }
  if (link_) throw RuntimeError(kErrPortAlreadyOpen, "Port already open");
  input_.clear();
  link_ = serial_.open(
      port_, baud_,
      {[this](std::string_view bytes) { received(bytes); }, [this](int code) { raise(code); }});
  opening_ = std::make_shared<Opening>();
}

void SerialPort::Output(std::string_view bytes) {
  if (!link_) throw RuntimeError(kErrPortNotOpen, "Port is not open");
  if (!bytes.empty()) link_->write(bytes);
}

std::string SerialPort::Input() { return std::exchange(input_, {}); }

int SerialPort::InBufferCount() const { return static_cast<int>(input_.size()); }

int SerialPort::CommEvent() const { return commEvent_; }

void SerialPort::received(std::string_view bytes) {
  const std::size_t room = kInBufferSize - std::min(kInBufferSize, input_.size());
  if (bytes.size() > room) raise(kCommEventRxOver);
  input_.append(bytes.substr(0, room));
  if (threshold_ < 1 || input_.size() < static_cast<std::size_t>(threshold_)) return;
  commEvent_ = kCommEvReceive;
  if (auto handler = OnComm) handler();  // a copy: the handler may destroy this control
}

void SerialPort::raise(int code) {
  serial_.loop().post([this, opening = std::weak_ptr<Opening>(opening_), code] {
    if (opening.expired()) return;  // closed, reopened or destroyed since
    commEvent_ = code;
    if (auto handler = OnComm) handler();
  });
}

}  // namespace plat
