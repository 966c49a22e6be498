#include "shell/MessageForms.h"

#include "app/Program.h"

namespace vs {

namespace {

void SetUpOkButton(plat::CommandButton& b) {
  b.setCaption("&OK");
  b.setDefault(true);
}

}  // namespace

// ---- MessageForm

MessageForm::MessageForm(Program& p, std::string name, std::string caption, const char* picture)
    : plat::Form(p.rt.forms, std::move(name)), p_(p) {
  setCaption(caption);
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  Picture1.setPicture(picture);
  Picture1.setBorderSingle(false);
  Label1.setAlignment(plat::Alignment::Center);
  Label1.setFontSize(9.75);
  SetUpOkButton(Command1);
}

void MessageForm::LayOutAsWarning() {
  Move(0, 0, 500, 170);
  Picture1.Move(16, 26, 40, 40);
  Label1.Move(68, 14, 416, 86);
  Command1.Move(195, 116, 110, 38);
  Command1.setFontSize(12);
  Command1.setFontBold(true);
}

void MessageForm::Form_Load() { Label1.setCaption(Message()); }

void MessageForm::Form_Unload(bool& cancel) {
  (void)cancel;
  if (!replacing_) Closed();
}

void MessageForm::Close() {
  if (!IsLoaded()) return;
  replacing_ = true;
  try {
    Unload();
  } catch (...) {
    replacing_ = false;
    throw;
  }
  replacing_ = false;
}

// ---- Critic

Critic::Critic(Program& p) : MessageForm(p, "Critic", "Form1", "close") {
  Move(0, 0, 380, 130);
  Picture1.Move(14, 22, 40, 40);
  Label1.Move(66, 14, 300, 62);
  Command1.Move(150, 88, 80, 30);
  Command1.onClick = [this] { Unload(); };
}

const std::string& Critic::Message() const { return p_.shell.CriticMessage; }

void Critic::Closed() { p_.shellForms.SetSmokeTimerEnabled(true); }

// ---- Exclam

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
    p_.shellForms.exclamStampa.Open(plat::ShowMode::Modal);
}

// ---- ExclamStampa

ExclamStampa::ExclamStampa(Program& p) : MessageForm(p, "ExclamStampa", "Vantoscope", "lamp") {
  LayOutAsWarning();
  Command1.onClick = [this] { Unload(); };
}

const std::string& ExclamStampa::Message() const { return p_.shell.ExclamStampaMessage; }

void ExclamStampa::Closed() {
  // Switching on a timer that runs would change nothing: only an idle one is started.
  if (!p_.shellForms.SmokeTimerEnabled()) p_.shellForms.SetSmokeTimerEnabled(true);
}

}  // namespace vs
