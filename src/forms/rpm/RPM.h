#pragma once
// The engine-speed form "  RPM": talks to the engine-speed counter on its own port. It
// tells the counter the engine's cylinders and strokes, then polls engine speed, oil
// temperature or both every 300 ms (rpm/RpmPoll.h), shows them, and leaves them in the
// link's ExternalRpmReading, where the gas and smoke readings take them when the counter is
// switched in (link/ExternalRpmReading.h). The operator can change the cylinder and stroke
// counts here; each change is saved at once and told to the counter.
//
// The start menu shows it modally (F5), or minimised beside a test when the counter is
// switched in; the test form's unload closes it then (Program::UnloadRpmBesideTest).
//
// A counter that stops answering: each send that found no reply since the one before
// blanks the engine speed ("- - -"), and from the third in a row the port is closed and
// opened again before each send (link/Senders.h).
#include "platform/forms/Forms.h"
#include "platform/serial/SerialPort.h"
#include "rpm/RpmPoll.h"

namespace vs {

class Program;

class RPM : public plat::Form {
 public:
  explicit RPM(Program& p);

  plat::PictureBox Picture1{*this, "Picture1"};     // "RPM.ico"
  plat::Label Label1{*this, "Label1"};              // engine speed
  plat::Label Label2{*this, "Label2"};              // "rpm"
  plat::PictureBox Picture2{*this, "Picture2"};     // "Temperature.ico"
  plat::Label Label3{*this, "Label3"};              // oil temperature
  plat::Label Label4{*this, "Label4"};              // "°C"
  plat::Label Label5{*this, "Label5"};              // "Cilindri"
  plat::TextBox Text5{*this, "Text5"};              // cylinder count
  plat::CommandButton Command2{*this, "Command2"};  // "&+"
  plat::CommandButton Command3{*this, "Command3"};  // "&-"
  plat::Frame Frame2{*this, "Frame2"};              // "Tempi"
  plat::OptionButton Option6{*this, "Option6"};     // "&4"
  plat::OptionButton Option7{*this, "Option7"};     // "&2"
  plat::CommandButton CmdOut{*this, "CmdOut"};      // "&ESC"
  plat::Timer Timer2{*this, "Timer2"};              // 300 ms poll
  plat::SerialPort MSComm6;

  // Form variables: the conversation with the counter, started afresh by each load.
  RpmPoll poll;

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void Timer2_Timer();
  void MSComm6_OnComm();
  void StepCylinders(bool up);
  void SetStrokes(std::int16_t strokes);
  // A count typed into Text5 (see vs::TakeTypedCylinders), stored when it changed. False
  // when refused.
  bool TakeTypedCylinders();
  void Save();
  void Send(const RpmRequest& request);
  void OpenPort();
  void ClosePort();

  Program& p_;
  bool portNamed_ = false;  // the stored port named one of COM1 to COM16 at load
};

}  // namespace vs
