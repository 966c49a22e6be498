#pragma once
// The base of the three message boxes of the instrument forms: Critic (a critical error),
// Exclam (a warning) and ExclamStampa (a second warning). A caller puts the text into the box's own
// variable of ShellState (CriticMessage, ExclamMessage, ExclamStampaMessage) and then calls
// Open. The load step copies the text into Label1 once.
//
// Open on a box that is already open closes it and shows it again with the new text; that
// replacement is not the operator closing the box, so the unload step's effects (the smoke
// test's request timer, ExclamPending) are left to the new box's own closing.
#include "platform/forms/Forms.h"

namespace vs {

class Program;

// What the three boxes share: the picture, the text, the OK button and the reopening rule.
class MessageForm : public plat::Form {
 public:
  plat::PictureBox Picture1{*this, "Picture1"};
  plat::Label Label1{*this, "Label1"};
  plat::CommandButton Command1{*this, "Command1"};

  // Closes the box if it is open, loads it, runs `beforeShow` (a caption, say) and shows it.
  void Open(plat::ShowMode mode) {
    Open(mode, [] {});
  }
  template <class F>
  void Open(plat::ShowMode mode, F&& beforeShow) {
    Close();
    Load();
    if (!IsLoaded()) return;
    beforeShow();
    Show(mode);
  }

 protected:
  // `picture`: the icon, a built-in picture.
  MessageForm(Program& p, std::string name, std::string caption, const char* picture);
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  // The wide layout of the two warnings, with the larger OK button.
  void LayOutAsWarning();
  // The box's text variable.
  virtual const std::string& Message() const = 0;
  // The unload step proper: not run when the box is only replaced by a new one.
  virtual void Closed() {}
  Program& p_;

 private:
  void Close();
  bool replacing_ = false;
};

}  // namespace vs
