#pragma once
// The smoke test form: runs a free-acceleration smoke test with the opacimeter. It owns the
// opacimeter's port and the 25 ms request timer for as long as it is loaded; every tick
// sends the request of the link state when the previous reply has been handled, every
// reply is collected, checked and handed to the link of the protocol in use, and every
// measured-values reply is shown, logged and tracked by ShowSmokeReadings.
//
// The requests and the replies of each protocol are the link steps (SmokeLinkSteps.h).
#include <string>

#include "platform/forms/Forms.h"
#include "platform/serial/SerialPort.h"
#include "smoke/SeriesTypes.h"
#include "smoke/SmokeFormFields.h"

namespace vs {

class Program;

class ANFUMO : public plat::Form, public SmokeFormFields {
 public:
  explicit ANFUMO(Program& p);

  // Controls, in drawing order.
  plat::PictureBox Picture1{*this, "Picture1"};
  plat::ControlArray<plat::Frame> FrameOPA{*this, "FrameOPA", 0, 0};  // the two main readings
  plat::Label Label27{*this, "Label27"};                              // k
  plat::Label Label3{*this, "Label3"};                                // "K"
  plat::Label Label28{*this, "Label28"};                              // opacity N, % or HSU
  plat::Label Label4{*this, "Label4"};                                // its unit
  plat::Frame TEMPERATURE{*this, "TEMPERATURE"};
  plat::Label Label45{*this, "Label45"};  // "RPM"
  plat::Label Label31{*this, "Label31"};  // engine speed
  plat::Label Label46{*this, "Label46"};  // "rpm"
  plat::Label Label6{*this, "Label6"};    // oil temperature title
  plat::Label Label25{*this, "Label25"};  // oil temperature
  plat::Label Label48{*this, "Label48"};
  plat::Label Label7{*this, "Label7"};    // smoke temperature title
  plat::Label Label26{*this, "Label26"};  // smoke temperature
  plat::Label Label47{*this, "Label47"};
  plat::Label Label5{*this, "Label5"};    // cell temperature title
  plat::Label Label24{*this, "Label24"};  // cell temperature, red while too cold
  plat::Label Label49{*this, "Label49"};
  plat::Label Label2{*this, "Label2"};              // status line of the link
  plat::Label Label39{*this, "Label39"};            // phase and instruction line
  plat::Label Label33{*this, "Label33"};            // verdict of the series
  plat::Label Label16{*this, "Label16"};            // title of the result
  plat::Label Label8{*this, "Label8"};              // "K"
  plat::Label Label35{*this, "Label35"};            // mean k of the result
  plat::Label Label55{*this, "Label55"};            // opacity of the result
  plat::Label Label56{*this, "Label56"};            // its unit
  plat::Label Label43{*this, "Label43"};            // title of the mode list
  plat::ComboBox Combo1{*this, "Combo1"};           // test modes
  plat::CommandButton Command2{*this, "Command2"};  // START
  plat::CommandButton Command1{*this, "Command1"};  // manual capture
  plat::CommandButton Command3{*this, "Command3"};  // limits
  plat::CommandButton Command4{*this, "Command4"};  // print
  plat::CommandButton Command5{*this, "Command5"};  // vehicle data
  plat::CommandButton Command6{*this, "Command6"};  // Stand&By
  plat::CommandButton Command7{*this, "Command7"};  // log switch; default and cancel button
  plat::CommandButton CmdOut{*this, "CmdOut"};      // "&ESC"
  plat::Label Label17{*this, "Label17"};            // model text from the settings
  plat::Label Label44{*this, "Label44"};            // serial number text from the settings
  plat::Label Label32{*this, "Label32"};            // "Blocco Fumi"
  plat::Label Label29{*this, "Label29"};            // probe-lock state (MCTC-NET)
  plat::Label Label30{*this, "Label30"};            // supply-voltage warning
  plat::Frame PROINTER{*this, "PROINTER"};          // table of the accelerations
  plat::Label Label9{*this, "Label9"};              // "K"
  plat::Label Label19{*this, "Label19"};            // "rpm"
  // Row numbers "1" to "10".
  plat::Label Label12{*this, "Label12"}, Label13{*this, "Label13"}, Label14{*this, "Label14"};
  plat::Label Label15{*this, "Label15"}, Label20{*this, "Label20"}, Label21{*this, "Label21"};
  plat::Label Label22{*this, "Label22"}, Label23{*this, "Label23"}, Label50{*this, "Label50"};
  plat::Label Label51{*this, "Label51"};
  plat::ControlArray<plat::Label> Label36{*this, "Label36", 0, 10};  // peak k of a row
  plat::ControlArray<plat::Label> Label18{*this, "Label18", 0, 10};  // engine speed at it
  plat::ControlArray<plat::Label> Label37{*this, "Label37", 0, 10};  // hidden: row minimum
  plat::ControlArray<plat::Label> Label38{*this, "Label38", 0, 10};  // hidden: row maximum
  plat::Label Label54{*this, "Label54"};                             // "RPM"
  plat::Label Label10{*this, "Label10"};                             // "Min"
  plat::Label Label52{*this, "Label52"};  // lowest engine speed of the test
  plat::Label Label11{*this, "Label11"};  // "Max"
  plat::Label Label53{*this, "Label53"};  // highest engine speed of the test
  plat::Label Label40{*this, "Label40"};  // separator lines
  plat::Label Label41{*this, "Label41"};
  plat::Label Label42{*this, "Label42"};
  plat::Timer Timer1{*this, "Timer1"};  // 25 ms request scheduler
  plat::SerialPort MSComm1;             // the opacimeter

  // Blanks the six reading labels.
  void Linette();
  // One measured-values reply, its values in the reading variables: pressure correction,
  // display, log, trackers, acceleration row, then the phase step.
  void ShowSmokeReadings(smoke::Protocol protocol);
  // The common end of a handled frame: the buffer emptied, the next request may go out.
  void EndOfFrame();

  // What the form's handlers do, callable by the link and phase steps.
  void Timer1_Timer();
  void MSComm1_OnComm();
  void Combo1_Click();
  void Command1_Click();  // manual capture (the phase machine's)
  void Command2_Click();  // START
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();  // Stand&By
  void Command7_Click();  // log switch
  void CmdOut_Click();

  Program& program() { return p_; }

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void LeggiConfini();
  void OpenPort();

  Program& p_;
};

}  // namespace vs
