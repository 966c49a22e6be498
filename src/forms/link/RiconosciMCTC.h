#pragma once
// The instrument recognition form: scans the serial ports 1 to 16 for MCTC-NET instruments.
// Every 500 ms tick asks one address for its identity ("GAS", then "OPA", then "RPM") on the
// port under test; the first that answers ends the questions on that port. At the end (or
// when the operator stops the scan with ESC) the report lists each port that opened: the
// identity of the instrument that answered, or " no connect".
//
// Ports held open by the scan are always closed when it stops, so that the next scan can
// open its first port again.
#include <array>
#include <string>

#include "link/MctcNetExchange.h"
#include "platform/forms/Forms.h"
#include "platform/serial/SerialPort.h"

namespace vs {

class Program;

// What the scan asks on the port under test; after AskRpm comes the next port.
enum class RecognitionStep { Idle, AskGas, AskOpa, AskRpm };

class RiconosciMCTC : public plat::Form {
 public:
  explicit RiconosciMCTC(Program& p);

  plat::Label Label3{*this, "Label3"};  // status: red before, green during, yellow after
  plat::TextBox Text2{*this, "Text2"};  // port and address asked now
  plat::TextBox Text3{*this, "Text3"};  // the report
  plat::CommandButton Command1{*this, "Command1"};  // start (Enter)
  plat::CommandButton Command2{*this, "Command2"};  // "&ESC" (Esc)
  plat::Timer Timer1{*this, "Timer1"};              // 500 ms, one question per tick
  plat::SerialPort MSComm3;

  // Builds the report from the results of the last scan and puts it into Text3.
  void ShowRecognitionReport();

  // Form variables: they keep their values when the form unloads.
  static constexpr int kMaxPorts = 16;
  int Port = 0;  // port under test, 1 to MaxPort; 0: no scan running
  int MaxPort = kMaxPorts;
  // Per port (1 to 16): "1" opened and nothing answered, "0" could not be opened, otherwise
  // the identity line of the instrument that answered.
  std::array<std::string, kMaxPorts + 1> Results;
  // The question on the port under test: one tick of the timer is its time-out.
  MctcNetExchange<RecognitionStep> scan;
  std::string report;  // what Text3 shows after a scan

 protected:
  void Form_Load() override;

 private:
  void Command1_Click();
  void Command2_Click();
  void Timer1_Timer();
  void MSComm3_OnComm();
  // Stops a running scan: the port is closed and the report of what was found is shown.
  void EndScan();
  void ClosePort();

  Program& p_;
};

}  // namespace vs
