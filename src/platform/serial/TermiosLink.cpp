#include "platform/serial/TermiosLink.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

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

class TermiosLink : public SerialLink {
 public:
  TermiosLink(EventLoop& loop, int fd, std::string label, SerialReceiver receiver)
      : loop_(loop), fd_(fd), label_(std::move(label)), receiver_(std::move(receiver)) {}

  ~TermiosLink() override {
    if (watch_) loop_.unwatchFd(watch_);
#ifdef TIOCNXCL
    // The exclusive mode belongs to the terminal, not to this descriptor: drop it, or a
    // later open fails while another descriptor (a simulator's) keeps the terminal alive.
    ::ioctl(fd_, TIOCNXCL);
#endif
    ::close(fd_);
  }

  void start() {
    watch_ = loop_.watchFd(fd_, [this] { onReadable(); });
  }

  void setSpeed(int baud) override {
    speed_t code{};
    if (!SpeedCode(baud, code))
      throw RuntimeError(kErrInvalidProperty, "Invalid property value: " + std::to_string(baud) +
                                                  " baud is not supported");
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
    baud_ = baud;
  }

  void write(std::string_view bytes) override {
    using Clock = std::chrono::steady_clock;
    // Time enough for the bytes at the line speed, plus two seconds for a busy driver.
    const auto lineMs =
        static_cast<long long>(bytes.size()) * 10 * 1000 / (baud_ > 0 ? baud_ : 1200);
    const auto deadline = Clock::now() + std::chrono::milliseconds(2000 + lineMs);
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
        throw RuntimeError(kErrPortIoFailed,
                           "Cannot write to serial device " + label_ + ": " + Reason(errno));
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0)
        throw RuntimeError(kErrPortIoFailed, "Cannot write to serial device " + label_ +
                                                 ": the device takes no more data");
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, static_cast<int>(left));
    }
  }

 private:
  RuntimeError Failure(const std::string& what, int err) const {
    return RuntimeError(kErrPortOpenFailed, what + " serial device " + label_ + ": " + Reason(err));
  }

  void onReadable() {
    std::string got;
    char buf[4096];
    while (got.size() < kMaxReadPerWake) {
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n > 0) {
        got.append(buf, static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      // End of line or a device error (adapter unplugged, the other end of a
      // pseudo-terminal closed): stop watching, or the loop would wake for it forever.
      loop_.unwatchFd(watch_);
      watch_ = 0;
      break;
    }
    if (got.empty()) return;
    auto receiver = receiver_;  // last: the receiver may close this link
    receiver(got);
  }

  EventLoop& loop_;
  int fd_;
  std::string label_;
  SerialReceiver receiver_;
  EventLoop::WatchId watch_ = 0;
  int baud_ = 0;
};

}  // namespace

std::unique_ptr<SerialLink> OpenTermios(EventLoop& loop, const std::filesystem::path& path,
                                        const std::string& label, int baud,
                                        SerialReceiver receiver) {
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
  auto link = std::make_unique<TermiosLink>(loop, fd, label, std::move(receiver));
#ifdef TIOCEXCL
  ::ioctl(fd, TIOCEXCL);  // other programs cannot open it while we hold it
#endif
  link->setSpeed(baud);  // throws; the link's destructor closes the descriptor
  ::tcflush(fd, TCIFLUSH);
  link->start();
  return link;
}

}  // namespace plat
