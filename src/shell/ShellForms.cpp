#include "shell/ShellForms.h"

#include "app/Program.h"

namespace vs {

ShellForms::ShellForms(Program& p)
    : menu(p),
      dveicoli(p),
      utente(p),
      damb(p),
      critic(p),
      exclam(p),
      exclamStampa(p),
      about(p),
      password(p),
      sysSetUp(p),
      p_(p) {}

void ShellForms::ConnectLinkUi() {
  LinkUi& ui = p_.link.ui;
  ui.showCritic = [this](const std::string& caption, const std::string& text) {
    p_.shell.CriticMessage = text;
    critic.Open(plat::ShowMode::Modal, [&] { critic.setCaption(caption); });
  };
  ui.showPortHint = [this](const std::string& text) {
    p_.shell.ExclamStampaMessage = text;
    exclamStampa.Open(plat::ShowMode::Modeless);
  };
  ui.setSmokeTimerEnabled = [this](bool on) { SetSmokeTimerEnabled(on); };
}

bool ShellForms::SmokeTimerEnabled() const {
  return ANFUMO != nullptr && ANFUMO->IsLoaded() && ANFUMOTimer1 != nullptr &&
         ANFUMOTimer1->Enabled();
}

void ShellForms::SetSmokeTimerEnabled(bool on) {
  if (ANFUMO != nullptr && ANFUMO->IsLoaded() && ANFUMOTimer1 != nullptr)
    ANFUMOTimer1->setEnabled(on);
}

}  // namespace vs
