#include "forms/rpm/RPM.h"

#include <filesystem>
#include <string>

#include "forms/Program.h"
#include "forms/rpm/CylinderBox.h"
#include "link/PortOpening.h"
#include "link/PortSettings.h"
#include "link/Senders.h"
#include "platform/text/Numbers.h"
#include "rpm/CounterSettings.h"
#include "shell/SettingsStore.h"

namespace vs {

namespace {

constexpr const char* kNoReading = "- - -";
constexpr const char* kDesignSettings = "9600,n,8,1";

void Reading(plat::Label& l, int top) {
  l.setFont({"Arial", 24, true, false});
  l.setAlignment(plat::Alignment::Center);
  l.setBorderSingle(true);
  l.setBackColor(plat::colors::kWhite);
  l.Move(76, top, 190, 48);
}

void Unit(plat::Label& l, const char* caption, int top) {
  l.setCaption(caption);
  l.setFont({"Arial", 14.25, true, false});
  l.Move(276, top + 12, 60, 26);
}

}  // namespace

RPM::RPM(Program& p) : plat::Form(p.rt.forms, "RPM"), MSComm6(p.rt.serial), p_(p) {
  setCaption("  RPM");
  setBorderStyle(plat::BorderStyle::FixedSingle);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(420, 268);

  Picture1.setBorderSingle(false);
  Picture1.Move(16, 16, 48, 48);
  Reading(Label1, 16);
  Unit(Label2, "rpm", 16);
  Picture2.setBorderSingle(false);
  Picture2.Move(16, 76, 48, 48);
  Reading(Label3, 76);
  Unit(Label4, "°C", 76);

  Label5.Move(16, 154, 90, 22);
  Label5.setFontSize(9.75);
  Text5.setAlignment(plat::Alignment::Center);
  Text5.setFontSize(9.75);
  Text5.Move(108, 150, 44, 28);
  Command2.setCaption("&+");
  Command2.Move(158, 150, 32, 28);
  Command3.setCaption("&-");
  Command3.Move(194, 150, 32, 28);
  Frame2.setFontSize(9.75);
  Frame2.Move(244, 136, 160, 52);
  Option6.setCaption("&4");
  Option6.setContainer(Frame2);
  Option6.Move(16, 20, 56, 24);
  Option7.setCaption("&2");
  Option7.setContainer(Frame2);
  Option7.Move(84, 20, 56, 24);
  CmdOut.setCaption("&ESC");
  CmdOut.setFontSize(9.75);
  CmdOut.Move(304, 220, 100, 34);
  Timer2.setInterval(300);
  Timer2.setEnabled(false);

  Timer2.onTimer = [this] { Timer2_Timer(); };
  MSComm6.OnComm = [this] { MSComm6_OnComm(); };
  Command2.onClick = [this] { StepCylinders(true); };
  Command3.onClick = [this] { StepCylinders(false); };
  Text5.onLostFocus = [this] {
    // The buttons that act on the count check it themselves, and do nothing when refused.
    const plat::Control* to = ActiveControl();
    if (to == &Command2 || to == &Command3) return;
    TakeTypedCylinders();
  };
  Option6.onClick = [this] { SetStrokes(4); };
  Option7.onClick = [this] { SetStrokes(2); };
  CmdOut.onClick = [this] { Unload(); };
  addDiscardAction([this] { ClosePort(); });
}

void RPM::Form_Load() {
  ShellState& s = p_.shell;
  LinkState& l = p_.link;
  poll.Restart();
  LoadRpmSettings(s, ConfPlace(p_.rt));
  Label5.setCaption(s.LangText[lang::RPMCilindri]);
  Frame2.setCaption(s.LangText[lang::RPMtempi]);
  ShowCylinders(Text5, s);
  if (s.RpmEngineStrokes == 2) Option7.setValue(true);
  if (s.RpmEngineStrokes == 4) Option6.setValue(true);
  l.RpmCounterOilTemp = 0;
  // A picture that is not there leaves its box empty.
  const std::filesystem::path pictures = p_.rt.currentDirectory / "Immagini";
  plat::RunIgnoringErrors({
      [&] { Picture1.setPicture(plat::LoadPicture((pictures / "RPM.ico").string())); },
      [&] { Picture2.setPicture(plat::LoadPicture((pictures / "Temperature.ico").string())); },
  });
  Label1.setCaption(kNoReading);
  Label3.setCaption(kNoReading);
  OpenPort();
  if (s.ExternRpm == 1) Send({"ID", ""});
  Timer2.setEnabled(true);
}

void RPM::Form_Unload(bool& cancel) {
  (void)cancel;
  Timer2.setEnabled(false);
  ClosePort();
}

// When the port cannot be opened the form opens with it closed; the sender tries it again
// from the third unanswered request on, unless the stored port names none.
void RPM::OpenPort() {
  const ShellState& s = p_.shell;
  portNamed_ = RpmPortNamed(s);
  ReopenPort(rt(), MSComm6, s.RpmComPort, PortSettingsForSpeed(s.RpmBaudIndex, kDesignSettings),
             s.LangText[lang::RiconoscimentoImpo]);
}

void RPM::ClosePort() {
  plat::RunIgnoringErrors({[&] { MSComm6.setPortOpen(false); }});
}

void RPM::Timer2_Timer() { Send(NextRpmRequest(poll, p_.shell)); }

void RPM::Send(const RpmRequest& request) {
  if (!portNamed_) return;
  LinkState& l = p_.link;
  NoteRpmRequest(poll.exchange, l, request.command);
  if (SendMctcNetFrameToRpmForm(l, &MSComm6, l.RpmMcnAddress, l.RpmMcnCommand, l.RpmMcnDevNumber,
                                request.data)) {
    Label1.setCaption(kNoReading);
  }
}

void RPM::MSComm6_OnComm() {
  const LinkState& l = p_.link;
  const RpmShown shown = TakeRpmInput(poll, p_.link, MSComm6.Input());
  if (shown.rpm) Label1.setCaption(plat::FormatDouble(l.RpmCounterRpm, p_.rt.regional));
  if (shown.oilTemp) Label3.setCaption(plat::FormatDouble(l.RpmCounterOilTemp, p_.rt.regional));
}

bool RPM::TakeTypedCylinders() {
  const TypedCylinders typed = vs::TakeTypedCylinders(rt(), Text5, p_.shell);
  if (typed == TypedCylinders::Changed) Save();
  return typed != TypedCylinders::Refused;
}

void RPM::StepCylinders(bool up) {
  // The next tick in Misura tells the counter.
  if (vs::StepCylinders(rt(), Text5, p_.shell, up)) Save();
}

void RPM::SetStrokes(std::int16_t strokes) {
  ShellState& s = p_.shell;
  if (s.RpmEngineStrokes == strokes) return;
  s.RpmEngineStrokes = strokes;
  poll.TellEngineAgain();
  Save();
}

void RPM::Save() { ReportSaveProblem(p_.rt, SaveRpmSettings(p_.shell, ConfPlace(p_.rt))); }

}  // namespace vs
