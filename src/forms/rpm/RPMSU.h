#pragma once
// The engine-speed counter's set-up "RPM": port and speed, cylinders and strokes, the
// quantity the engine-speed form polls, and the two switches that make the gas and smoke
// tests take engine speed and oil temperature from the counter. Every choice takes effect
// in the settings at once; "Applica" saves them to "Conf.ini" section RPM and tells the
// counter the cylinders ("CI") and, once it has acknowledged them, the strokes ("TE"),
// then saves again and confirms. The search button asks the counter for its identity.
// ESC closes without saving and without undoing what was chosen.
//
// The identity boxes open with the stored identity of the counter, so that applying without
// a search keeps it.
#include <string>

#include "link/MctcNetExchange.h"
#include "platform/forms/Forms.h"
#include "platform/serial/SerialPort.h"

namespace vs {

class Program;

class RPMSU : public plat::Form {
 public:
  explicit RPMSU(Program& p);

  plat::Frame Frame1{*this, "Frame1"};  // identity
  plat::Label Label1{*this, "Label1"};
  plat::TextBox Text1{*this, "Text1"};  // make and type
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text2{*this, "Text2"};  // homologation number
  plat::Label Label3{*this, "Label3"};
  plat::TextBox Text3{*this, "Text3"};  // serial number
  plat::Label Label4{*this, "Label4"};
  plat::TextBox Text4{*this, "Text4"};  // expiry of the check
  plat::Label Label5{*this, "Label5"};  // cylinders
  plat::TextBox Text5{*this, "Text5"};
  plat::CommandButton Command2{*this, "Command2"};  // "+"
  plat::CommandButton Command3{*this, "Command3"};  // "-"
  plat::Frame Frame2{*this, "Frame2"};              // strokes
  plat::OptionButton Option6{*this, "Option6"};     // "&4"
  plat::OptionButton Option7{*this, "Option7"};     // "&2"
  plat::Frame FrameBR{*this, "FrameBR"};            // speed
  plat::OptionButton Option1{*this, "Option1"};     // 1200
  plat::OptionButton Option2{*this, "Option2"};     // 9600
  plat::OptionButton Option3{*this, "Option3"};     // 19200 (not offered)
  plat::OptionButton Option4{*this, "Option4"};     // 38400 (not offered)
  plat::Label Label6{*this, "Label6"};              // "COM"
  plat::TextBox Text6{*this, "Text6"};              // port number, set by the spinner
  plat::VScrollBar VScroll1{*this, "VScroll1"};     // port 1 to 16
  plat::Frame FrameTO{*this, "FrameTO"};            // polled quantity
  plat::OptionButton Option8{*this, "Option8"};     // "VA"
  plat::OptionButton Option9{*this, "Option9"};     // "VE"
  plat::OptionButton Option10{*this, "Option10"};   // "TP+VA", beside the frame
  plat::CheckBox Check1{*this, "Check1"};           // external engine speed
  plat::Label Label7{*this, "Label7"};              // "RPM"
  plat::CheckBox Check2{*this, "Check2"};           // external oil temperature
  plat::Label Label8{*this, "Label8"};
  plat::CommandButton Command1{*this, "Command1"};  // search
  plat::CommandButton CmdApl{*this, "CmdApl"};      // "Applica" (Enter)
  plat::CommandButton Command4{*this, "Command4"};  // "&ESC" (Esc)
  plat::SerialPort MSComm5;

  // Form variables.
  MctcNetExchangeCore reply{ExchangeRules{}, McnRequests::Overlapping};  // collects MSComm5's input
  std::string ReplyCommand;  // the echo of the last accepted reply

 protected:
  void Form_Load() override;

 private:
  void Command1_Click();
  void CmdApl_Click();
  void MSComm5_OnComm();
  void StepCylinders(bool up);
  bool TakeTypedCylinders();
  void SetPollSelect(std::int16_t select);
  void Switch(plat::CheckBox& box, std::int16_t& setting);
  void VScroll1_Change();
  // Opens MSComm5 afresh on the stored port; a port that cannot be opened is reported.
  void OpenPort();
  // Sends to the counter; nothing while RpmComPort names no port.
  void Send(const char* command, const std::string& data);
  // Saves section RPM; false (and the operator told) when the write failed.
  bool Save();

  Program& p_;
};

}  // namespace vs
