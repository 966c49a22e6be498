#include "forms/shell/MessageForm.h"

#include "forms/Program.h"

namespace vs {

namespace {

void SetUpOkButton(plat::CommandButton& b) {
  b.setCaption("&OK");
  b.setDefault(true);
}

}  // namespace

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
  // Cleared however the unload ends, an error included.
  struct Replacing {
    bool& flag;
    explicit Replacing(bool& f) : flag(f) { flag = true; }
    ~Replacing() { flag = false; }
  } replacing(replacing_);
  Unload();
}

}  // namespace vs
