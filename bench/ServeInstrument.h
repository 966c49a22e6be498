#pragma once
// The instrument's side of a benchmark: a simulated instrument answering on the master end
// of a pseudo-terminal, in a child process, until the line closes.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "sim/Instrument.h"

namespace bench {

[[noreturn]] inline void ServeInstrument(int master, vs::sim::Instrument& instrument) {
  instrument.send = [master](std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
      if (n <= 0) _exit(0);
      done += static_cast<std::size_t>(n);
    }
  };
  char buf[512];
  for (;;) {
    pollfd p{master, POLLIN, 0};
    if (::poll(&p, 1, -1) < 0) continue;
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n > 0) {
      instrument.received(std::string_view(buf, static_cast<std::size_t>(n)));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EIO)) {
      _exit(0);
    } else {
      ::usleep(1000);  // EIO: the program has not opened its end yet
    }
  }
}

}  // namespace bench
