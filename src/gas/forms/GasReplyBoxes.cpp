#include "gas/forms/GasReplyBoxes.h"

#include <algorithm>
#include <utility>

#include "platform/forms/MessageBox.h"

namespace vs {

void GasReplyBoxes::Exclamation(std::string text) {
  const auto notShown = waiting_.begin() + (showing_ ? 1 : 0);
  if (std::find(notShown, waiting_.end(), text) != waiting_.end()) return;
  waiting_.push_back(std::move(text));
  if (scheduled_) return;  // the run on screen or posted takes it in turn
  scheduled_ = true;
  forms_.loop().post([this] { ShowAll(); });
}

void GasReplyBoxes::ShowAll() {
  while (!waiting_.empty()) {
    showing_ = true;
    plat::MsgBox(forms_, waiting_.front(), plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
    showing_ = false;
    waiting_.pop_front();
  }
  scheduled_ = false;
}

}  // namespace vs
