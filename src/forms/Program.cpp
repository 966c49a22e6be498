#include "forms/Program.h"

namespace vs {

Program::Program(plat::EventLoop::ClockKind clock) : ProgramState(clock) {
  rt.forms.recordDesigns();
  rt.app.title = "Vantoscope";
}

bool Program::SmokeTimerEnabled() const {
  bool on = false;
  IfLoaded(anfumo, [&](const ANFUMO& f) { on = f.Timer1.Enabled(); });
  return on;
}

void Program::SetSmokeTimerEnabled(bool on) {
  IfLoaded(anfumo, [&](ANFUMO& f) { f.Timer1.setEnabled(on); });
}

void Program::UnloadRpmBesideTest() {
  if (shell.ExternRpm != 1 && shell.ExternOilTemp != 1) return;
  IfLoaded(rpm, [](RPM& f) { f.Unload(); });
}

TestFormPorts Program::TestPorts() {
  TestFormPorts ports;
  ports.AnfumoMSComm1 = anfumo.IsLoaded() ? &anfumo.MSComm1 : nullptr;
  ports.AngasMSComm2 = angas.Port();
  return ports;
}

void Program::ShowPortHint(const PortHint& hint) {
  if (hint) exclamStampa.ShowHint(*hint);
}

void Program::ShowOpaAlarm(const OpaErrorAlarm& alarm) {
  SetSmokeTimerEnabled(false);
  critic.ShowAlarm(alarm.caption, alarm.text);
}

}  // namespace vs
