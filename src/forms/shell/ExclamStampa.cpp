#include "forms/shell/ExclamStampa.h"

#include "forms/Program.h"

namespace vs {

ExclamStampa::ExclamStampa(Program& p) : MessageForm(p, "ExclamStampa", "Vantoscope", "lamp") {
  LayOutAsWarning();
  Command1.onClick = [this] { Unload(); };
}

const std::string& ExclamStampa::Message() const { return p_.shell.ExclamStampaMessage; }

void ExclamStampa::ShowHint(const std::string& text) {
  p_.shell.ExclamStampaMessage = text;
  Open(plat::ShowMode::Modeless);
}

void ExclamStampa::Closed() {
  // Switching on a timer that runs would change nothing: only an idle one is started.
  if (!p_.SmokeTimerEnabled()) p_.SetSmokeTimerEnabled(true);
}

}  // namespace vs
