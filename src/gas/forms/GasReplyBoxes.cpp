#include "gas/forms/GasReplyBoxes.h"

#include <utility>

#include "platform/forms/MessageBox.h"

namespace vs {

void GasReplyBoxes::Exclamation(std::string text) {
  waiting_.push_back(std::move(text));
  if (scheduled_) return;  // the run on screen or posted takes it in turn
  scheduled_ = true;
  forms_.loop().post([this] { ShowAll(); });
}

void GasReplyBoxes::ShowAll() {
  while (!waiting_.empty()) {
    plat::MsgBox(forms_, waiting_.front(), plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
    waiting_.pop_front();
  }
  scheduled_ = false;
}

}  // namespace vs
