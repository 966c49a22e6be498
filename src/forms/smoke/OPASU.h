#pragma once
// The opacimeter set-up: the model (which fixes the protocol and the binary address), the
// unit of opacity, the COM port and its speed, the identification of the instrument on that
// port over MCTC-NET, and SAVE into "Conf.ini" [COMOPA] and [MODOPA].
//
// Every choice takes effect in the program's records at once; SAVE makes it permanent. The
// identification has its own exchange: a smoke test running beside it keeps its own.
// Stored values the lists and the spinner cannot show are taken as: a model outside -1..5
// selects nothing (and is kept), a unit below -1 counts as percent, a port outside 1..16
// counts as COM1.
#include "link/MctcNetExchange.h"
#include "platform/forms/Forms.h"
#include "platform/serial/SerialPort.h"

namespace vs {

class Program;

// The set-up's one question: the instrument's identity.
enum class OpaSetupStep { Idle, AskIdentity };

class OPASU : public plat::Form {
 public:
  explicit OPASU(Program& p);

  plat::ComboBox Combo1{*this, "Combo1"};  // model
  plat::ComboBox Combo2{*this, "Combo2"};  // unit
  plat::Label Label5{*this, "Label5"};     // "COM"
  plat::TextBox Text5{*this, "Text5"};     // the port number; the spinner takes its focus
  plat::VScrollBar VScroll1{*this, "VScroll1"};
  plat::Frame FrameBr{*this, "FrameBr"};
  plat::OptionButton Option1{*this, "Option1"};  // 1200
  plat::OptionButton Option2{*this, "Option2"};  // 9600
  plat::OptionButton Option3{*this, "Option3"};  // 19200, not offered
  plat::OptionButton Option4{*this, "Option4"};  // 38400, not offered
  plat::Frame Frame1{*this, "Frame1"};           // the identity found or stored
  plat::Label Label1{*this, "Label1"};
  plat::TextBox Text1{*this, "Text1"};  // make
  plat::Label Label3{*this, "Label3"};
  plat::TextBox Text3{*this, "Text3"};  // model
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text2{*this, "Text2"};  // homologation number
  plat::Label Label4{*this, "Label4"};
  plat::TextBox Text4{*this, "Text4"};  // serial number
  plat::Label Label6{*this, "Label6"};
  plat::TextBox Text6{*this, "Text6"};  // version
  plat::Label Label7{*this, "Label7"};
  plat::TextBox Text7{*this, "Text7"};  // check expiry
  plat::CommandButton ComFind{*this, "ComFind"};
  plat::CommandButton ComSave{*this, "ComSave"};  // Enter
  plat::CommandButton ComEsc{*this, "ComEsc"};    // Esc
  plat::Frame FrameMod{*this, "FrameMod"};        // hidden; the protocol follows the model
  plat::OptionButton KARVESTON{*this, "KARVESTON"};
  plat::OptionButton MCTCNET{*this, "MCTCNET"};
  plat::SerialPort MSComm4;

  // The identification's exchange: the reply must come from "OPA" and echo "ID".
  MctcNetExchange<OpaSetupStep> identification;

 protected:
  void Form_Load() override;

 private:
  void LeggiConfini();
  void Combo1_Click();
  void ComFind_Click();
  void ComSave_Click();
  void MSComm4_OnComm();
  void ShowIdentity();
  void ClosePort();

  Program& p_;
};

}  // namespace vs
