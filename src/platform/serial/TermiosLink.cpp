#include "platform/serial/TermiosLink.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <linux/serial.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/core/Error.h"
#include "platform/core/EventLoop.h"
#include "platform/serial/SerialPort.h"

namespace plat {

namespace {

// At most this much is read in one wake-up, so a device that floods the line cannot keep
// the loop from its timers.
constexpr std::size_t kMaxReadPerWake = 65536;

std::string Reason(int err) { return std::strerror(err); }

bool SpeedCode(int baud, speed_t& code) {
  switch (baud) {
    case 1200:
      code = B1200;
      return true;
    case 9600:
      code = B9600;
      return true;
    case 19200:
      code = B19200;
      return true;
    case 38400:
      code = B38400;
      return true;
    default:
      return false;
  }
}

// Errors of a write that mean the device is gone: hung up, unplugged.
bool DeviceGone(int err) { return err == EIO || err == ENXIO || err == ENODEV || err == EPIPE; }

// The driver's error counters, or false when it keeps none (a pseudo-terminal: ENOTTY or
// EINVAL).
bool ReadCounts(int fd, LineErrorCounts& counts) {
  serial_icounter_struct ic{};
  if (::ioctl(fd, TIOCGICOUNT, &ic) != 0) return false;
  counts = {ic.overrun, ic.buf_overrun, ic.frame, ic.parity, ic.brk};
  return true;
}

class TermiosLink : public SerialLink {
 public:
  TermiosLink(EventLoop& loop, int fd, std::string label, SerialEvents events, SerialGone gone)
      : loop_(loop),
        fd_(fd),
        label_(std::move(label)),
        events_(std::move(events)),
        gone_(std::move(gone)) {}

  ~TermiosLink() override { closeDevice(); }

  void start() {
    counting_ = ReadCounts(fd_, counts_);
    watch_ = loop_.watchFd(fd_, [this] { onReadable(); });
  }

  void setSpeed(int baud) override {
    speed_t code{};
    if (!SpeedCode(baud, code))
      throw RuntimeError(kErrInvalidProperty, "Invalid property value: " + std::to_string(baud) +
                                                  " baud is not supported");
    if (fd_ < 0) return;  // gone
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) throw Failure("Cannot read the settings of", errno);
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= static_cast<tcflag_t>(CS8 | CLOCAL | CREAD);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 1;  // with O_NONBLOCK: "no data" reads as EAGAIN, end of line as 0
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, code) != 0 || ::cfsetospeed(&tio, code) != 0 ||
        ::tcsetattr(fd_, TCSANOW, &tio) != 0)
      throw Failure("Cannot set " + std::to_string(baud) + " baud on", errno);
  }

  void write(std::string_view bytes) override {
    std::size_t done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      const int err = n < 0 ? errno : EAGAIN;
      if (err == EINTR) continue;
      if (err == EAGAIN || err == EWOULDBLOCK) {
        // The driver's transmit buffer is full: the rest is lost, and the control says so.
        events_.lineEvent(kCommEventTxFull);
        return;
      }
      if (!DeviceGone(err))
        throw RuntimeError(kErrPortIoFailed,
                           "Cannot write to serial device " + label_ + ": " + Reason(err));
      hangUp();
    }
  }

 private:
  RuntimeError Failure(const std::string& what, int err) const {
    return RuntimeError(kErrPortOpenFailed, what + " serial device " + label_ + ": " + Reason(err));
  }

  void closeDevice() {
    if (fd_ < 0) return;
    if (watch_) loop_.unwatchFd(watch_);
    watch_ = 0;
#ifdef TIOCNXCL
    // The exclusive mode belongs to the terminal, not to this descriptor: drop it, or a
    // later open fails while another descriptor (a simulator's) keeps the terminal alive.
    ::ioctl(fd_, TIOCNXCL);
#endif
    ::close(fd_);
    fd_ = -1;
  }

  // The device went away: closed at once (so that it can come back, even under its old
  // name), and the owner told.
  void hangUp() {
    closeDevice();
    if (auto gone = std::exchange(gone_, nullptr)) gone();
  }

  // Line events for the driver's counters that moved since the last look.
  void noteLineErrors() {
    LineErrorCounts now;
    if (!counting_ || !ReadCounts(fd_, now)) return;
    for (const int code : LineEventsBetween(counts_, now)) events_.lineEvent(code);
    counts_ = now;
  }

  void onReadable() {
    std::string got;
    char buf[4096];
    bool hungUp = false;
    while (got.size() < kMaxReadPerWake) {
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n > 0) {
        got.append(buf, static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      // End of line or a device error (adapter unplugged, the other end of a
      // pseudo-terminal closed).
      hungUp = true;
      break;
    }
    noteLineErrors();
    auto received = events_.received;  // last: the receiver may close this link
    if (hungUp) hangUp();
    if (!got.empty()) received(got);
  }

  EventLoop& loop_;
  int fd_;
  std::string label_;
  SerialEvents events_;
  SerialGone gone_;
  EventLoop::WatchId watch_ = 0;
  bool counting_ = false;  // the driver keeps error counters
  LineErrorCounts counts_;
};

}  // namespace

std::vector<int> LineEventsBetween(const LineErrorCounts& before, const LineErrorCounts& now) {
  std::vector<int> codes;
  if (now.brk != before.brk) codes.push_back(kCommEventBreak);
  if (now.frame != before.frame) codes.push_back(kCommEventFrame);
  if (now.overrun != before.overrun) codes.push_back(kCommEventOverrun);
  // The driver's own receive buffer overflowed.
  if (now.bufferOverrun != before.bufferOverrun) codes.push_back(kCommEventRxOver);
  if (now.parity != before.parity) codes.push_back(kCommEventRxParity);
  return codes;
}

std::unique_ptr<SerialLink> OpenTermios(EventLoop& loop, const std::filesystem::path& path,
                                        const std::string& label, int baud, SerialEvents events,
                                        SerialGone gone) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    if (err == EBUSY)
      throw RuntimeError(kErrPortAlreadyOpen, "Serial device " + label +
                                                  " is in use by another program: " + Reason(err));
    throw RuntimeError(kErrPortOpenFailed,
                       "Cannot open serial device " + label + ": " + Reason(err));
  }
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) {
    const int err = errno;
    ::close(fd);
    throw RuntimeError(kErrPortOpenFailed, label + " is not a serial device: " + Reason(err));
  }
  auto link = std::make_unique<TermiosLink>(loop, fd, label, std::move(events), std::move(gone));
#ifdef TIOCEXCL
  ::ioctl(fd, TIOCEXCL);  // other programs cannot open it while we hold it
#endif
  link->setSpeed(baud);  // throws; the link's destructor closes the descriptor
  ::tcflush(fd, TCIFLUSH);
  link->start();
  return link;
}

}  // namespace plat
