#include "forms/shell/Critic.h"

#include "forms/Program.h"

namespace vs {

Critic::Critic(Program& p) : MessageForm(p, "Critic", "Form1", "close") {
  Move(0, 0, 380, 130);
  Picture1.Move(14, 22, 40, 40);
  Label1.Move(66, 14, 300, 62);
  Command1.Move(150, 88, 80, 30);
  Command1.onClick = [this] { Unload(); };
}

const std::string& Critic::Message() const { return p_.shell.CriticMessage; }

void Critic::ShowAlarm(const std::string& caption, const std::string& text) {
  p_.shell.CriticMessage = text;
  Open(plat::ShowMode::Modal, [&] { setCaption(caption); });
}

void Critic::Closed() { p_.SetSmokeTimerEnabled(true); }

}  // namespace vs
