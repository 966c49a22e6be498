#include "platform/display/FltkWaiter.h"

#include <FL/Fl.H>

#include <algorithm>

namespace plat::display {

FltkWaiter::~FltkWaiter() {
  for (int fd : watched_) Fl::remove_fd(fd);
}

void FltkWaiter::OnReadable(int fd, void* self) {
  auto* w = static_cast<FltkWaiter*>(self);
  if (std::find(w->ready_.begin(), w->ready_.end(), fd) == w->ready_.end()) w->ready_.push_back(fd);
}

std::vector<int> FltkWaiter::wait(const std::vector<int>& fds, int timeoutMs) {
  return waitMicros(fds, timeoutMs < 0 ? -1 : std::int64_t{timeoutMs} * 1000);
}

std::vector<int> FltkWaiter::waitMicros(const std::vector<int>& fds, std::int64_t timeoutUs) {
  if (beforeWait) beforeWait();
  const std::set<int> wanted(fds.begin(), fds.end());
  for (auto it = watched_.begin(); it != watched_.end();) {
    if (wanted.count(*it)) {
      ++it;
      continue;
    }
    Fl::remove_fd(*it);
    it = watched_.erase(it);
  }
  for (int fd : wanted)
    if (watched_.insert(fd).second) Fl::add_fd(fd, FL_READ, OnReadable, this);
  ready_.clear();
  // FLTK takes seconds; a huge value waits without limit.
  Fl::wait(timeoutUs < 0 ? 1e20 : static_cast<double>(timeoutUs) / 1e6);
  std::vector<int> out;
  for (int fd : ready_)
    if (wanted.count(fd)) out.push_back(fd);
  return out;
}

}  // namespace plat::display
