#pragma once
// The gas-analyser set-up: serial port, speed, model (which fixes the protocol and the
// binary address byte) and the instrument identity, which the search asks the analyser for
// with the MCTC-NET "ID". "Applica" keeps the link and the identity in "Conf.ini".
//
// The search has its own exchange (address, header lengths, buffer): it never touches the
// exchange of a test form that may be running at the same time.
#include <string>

#include "link/MctcNetExchange.h"
#include "platform/forms/Forms.h"
#include "platform/serial/SerialPort.h"

namespace vs {

class Program;

enum class AnsuStep { Idle, Identify };

class ANSU : public plat::Form {
 public:
  explicit ANSU(Program& p);

  plat::Label Label5{*this, "Label5"};  // "COM"
  plat::TextBox Text5{*this, "Text5"};  // the port number; the focus passes on to VScroll1
  plat::VScrollBar VScroll1{*this, "VScroll1"};
  plat::Frame Frame2{*this, "Frame2"};  // "&Baud Rate"
  plat::OptionButton Option1{*this, "Option1"};
  plat::OptionButton Option2{*this, "Option2"};
  plat::OptionButton Option3{*this, "Option3"};
  plat::OptionButton Option4{*this, "Option4"};
  plat::ComboBox Combo1{*this, "Combo1"};  // the model
  plat::Frame Frame1{*this, "Frame1"};     // the identity
  plat::Label Label1{*this, "Label1"};
  plat::TextBox Text1{*this, "Text1"};  // make
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text2{*this, "Text2"};  // homologation number
  plat::Label Label3{*this, "Label3"};
  plat::TextBox Text3{*this, "Text3"};  // model
  plat::Label Label4{*this, "Label4"};
  plat::TextBox Text4{*this, "Text4"};  // serial number
  plat::Label Label6{*this, "Label6"};
  plat::TextBox Text6{*this, "Text6"};  // version
  plat::Label Label7{*this, "Label7"};
  plat::TextBox Text7{*this, "Text7"};              // expiry
  plat::CommandButton Command2{*this, "Command2"};  // search
  plat::CommandButton CmdApl{*this, "CmdApl"};      // "&Applica"
  plat::CommandButton Command1{*this, "Command1"};  // "&ESC" (Enter and Esc)
  plat::SerialPort MSComm6;

  // The search's question and its reply buffer.
  MctcNetExchange<AnsuStep> identify;

 protected:
  void Form_Load() override;

 private:
  void LeggiConfini();
  void Combo1_Click();
  void VScroll1_Change();
  void Command2_Click();
  void MSComm6_OnComm();
  void CmdApl_Click();
  void ShowIdentity();

  Program& p_;
};

}  // namespace vs
