#pragma once
// Exclam: the smoke test's warning box.
#include "forms/shell/MessageForm.h"

namespace vs {

class Exclam : public MessageForm {
 public:
  explicit Exclam(Program& p);

 protected:
  const std::string& Message() const override;
  void Closed() override;  // ExclamPending := 0

 private:
  // OK: closes the box; then, when the opacimeter's lock state asks for it, ExclamStampa.
  void Ok();
};

}  // namespace vs
