#pragma once
// Critic: the box of a critical instrument error.
#include "forms/shell/MessageForm.h"

namespace vs {

class Critic : public MessageForm {
 public:
  explicit Critic(Program& p);

  // The box of an instrument error: this caption and text, shown modally.
  void ShowAlarm(const std::string& caption, const std::string& text);

 protected:
  const std::string& Message() const override;
  // Switches the smoke test's request timer on again, when that form is loaded.
  void Closed() override;
};

}  // namespace vs
