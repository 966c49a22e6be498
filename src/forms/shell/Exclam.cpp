#include "forms/shell/Exclam.h"

#include "forms/Program.h"

namespace vs {

Exclam::Exclam(Program& p) : MessageForm(p, "Exclam", "Vantoscope", "lamp") {
  LayOutAsWarning();
  Command1.onClick = [this] { Ok(); };
}

const std::string& Exclam::Message() const { return p_.shell.ExclamMessage; }

void Exclam::Closed() { p_.shell.ExclamPending = 0; }

void Exclam::Ok() {
  Unload();
  const LinkState& l = p_.link;
  if (l.OpaLuStatus1 == "00048" || l.OpaLuStatus2 == "00000")
    p_.exclamStampa.Open(plat::ShowMode::Modal);
}

}  // namespace vs
