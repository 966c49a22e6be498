#pragma once
// The gas test form: the operator runs a four-gas exhaust test here. Its 25 ms timer is the
// request scheduler of the analyser exchange (one request outstanding at a time, a time-out
// of 40 ticks with "ERRORE COM" and a re-send); its port's receive handler collects the
// reply and hands it to the branch of the protocol chosen when the form was loaded.
//
// The form's variables live as long as the program: unloading keeps them, and the load step
// resets only those it names.
#include <string>
#include <string_view>

#include "gas/GasTestVars.h"
#include "gas/OwnGasExchange.h"
#include "link/OwnProtocolExchange.h"
#include "platform/forms/Forms.h"
#include "platform/serial/SerialPort.h"

namespace vs {

class Program;

// What a reply branch made of the receive buffer.
enum class GasReplyOutcome {
  Incomplete,  // kept for more input
  Rejected,    // buffer emptied; the request is repeated after the time-out
  Handled,     // effects done; the common tail follows
};

class ANGAS : public plat::Form, public GasTestVars {
 public:
  explicit ANGAS(Program& p);

  // --- Controls, in drawing order ---
  plat::Label Label1{*this, "Label1"};     // analyser model (settings)
  plat::Label Label3{*this, "Label3"};     // analyser serial number (settings)
  plat::Label Label16{*this, "Label16"};   // "CO %"
  plat::Label Label17{*this, "Label17"};   // "COcorr %"
  plat::Label Label18{*this, "Label18"};   // "CO2 %"
  plat::Label Label19{*this, "Label19"};   // "RPM"
  plat::Label Label20{*this, "Label20"};   // "HC ppm"
  plat::Label Label22{*this, "Label22"};   // "O2 %"
  plat::Label Label23{*this, "Label23"};   // "Lambda"
  plat::Label Label21{*this, "Label21"};   // over the oil temperature
  plat::Label Label34{*this, "Label34"};   // "NOx ppm"
  plat::Label Label8{*this, "Label8"};     // CO
  plat::Label Label9{*this, "Label9"};     // corrected CO
  plat::Label Label10{*this, "Label10"};   // CO2
  plat::Label Label15{*this, "Label15"};   // engine speed
  plat::Label Label11{*this, "Label11"};   // HC
  plat::Label Label12{*this, "Label12"};   // O2
  plat::Label Label26{*this, "Label26"};   // lambda
  plat::Label Label13{*this, "Label13"};   // oil temperature
  plat::Label Label33{*this, "Label33"};   // NOx
  plat::Label Label37{*this, "Label37"};   // "Press."
  plat::Label Label38{*this, "Label38"};   // leak-test pressure
  plat::Label Label39{*this, "Label39"};   // "mbar"
  plat::Label Label5{*this, "Label5"};     // status line of the instrument
  plat::Label Label27{*this, "Label27"};   // message line of the sequence
  plat::Label Label28{*this, "Label28"};   // test verdict
  plat::Label Label6{*this, "Label6"};     // "P.E.F."
  plat::Label Label7{*this, "Label7"};     // P.E.F. value
  plat::Label Label14{*this, "Label14"};   // state word (hidden)
  plat::Label Label24{*this, "Label24"};   // "VER" (hidden)
  plat::Label Label25{*this, "Label25"};   // firmware version (hidden)
  plat::Label Label4{*this, "Label4"};     // check expiry (hidden)
  plat::Label Label30{*this, "Label30"};   // over the fuel list
  plat::Label Label31{*this, "Label31"};   // over the engine-cycle list
  plat::Label Label32{*this, "Label32"};   // over the mode list
  plat::ComboBox Combo1{*this, "Combo1"};  // fuel
  plat::ComboBox Combo3{*this, "Combo3"};  // engine cycle
  plat::ComboBox Combo4{*this, "Combo4"};  // certification / diagnosis
  plat::ProgressBar PBar1{*this, "PBar1"};
  plat::CommandButton Command1{*this, "Command1"};  // Start/Stop
  plat::CommandButton Command2{*this, "Command2"};  // print
  plat::CommandButton Command3{*this, "Command3"};  // vehicle data
  plat::CommandButton Command5{*this, "Command5"};  // limits
  plat::CommandButton Command4{*this, "Command4"};  // stand-by
  plat::CommandButton Command6{*this, "Command6"};  // leak test
  plat::CommandButton Command7{*this, "Command7"};  // logging on/off
  plat::CommandButton CmdOut1{*this, "CmdOut1"};    // "&ESC"
  plat::Timer Timer1{*this, "Timer1"};              // the 25 ms request scheduler
  plat::SerialPort MSComm2;                         // the analyser's port

  // Form variables: the GasTestVars record. The binary protocol's buffer and the command
  // its reply must echo are kept by this exchange (its ticks are not used: the handshake
  // is GasReplyReady and GasTicksSinceSend).
  OwnProtocolExchangeCore own;

  // Reads the analyser's model and serial number from the settings into Label1 and Label3.
  void LeggiConfini();
  // The port this form writes to: null while the form is not loaded.
  plat::SerialPort* Port() { return IsLoaded() ? &MSComm2 : nullptr; }

  Program& program() { return p_; }

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void CmdOut1_Click();
  void Combo1_Click();
  void Combo3_Click();
  void Combo4_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();
  void Timer1_Timer();
  void MSComm2_OnComm();
  void Layout();
  // Closes the port if open and opens it on the analyser's port and speed; a port that
  // cannot be opened is reported and stays closed.
  void OpenPort();

  // The maker's binary protocol: the request of the state word; received bytes (true when
  // they completed a reply that was handled).
  void SendOwnGasRequest();
  bool HandleOwnGasReply(std::string_view input);
  // Stores the command as the one the reply must echo and sends the frame.
  void SendOwnFrame(int command, const std::string& data);
  // '&' with the fuel code of FuelIndex and StrokesIndex, at once.
  void SendFuelCode();
  plat::Control& ControlOf(GasControl c);
  void Apply(const ScreenEdits& edits);

 public:
  // After the values of a measurement reply are on the screen (either protocol): the
  // "gas.log" line, then one step of the test sequence.
  void AfterMeasurementReply();

 private:
  Program& p_;
};

}  // namespace vs
