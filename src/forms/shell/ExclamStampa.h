#pragma once
// ExclamStampa: the port hint and print notice box.
#include "forms/shell/MessageForm.h"

namespace vs {

class ExclamStampa : public MessageForm {
 public:
  explicit ExclamStampa(Program& p);

  // The port hint: closed if open, then shown non-modally with this text.
  void ShowHint(const std::string& text);

 protected:
  const std::string& Message() const override;
  // Switches the smoke test's request timer on when it is off and that form is loaded.
  void Closed() override;
};

}  // namespace vs
