#include "forms/rpm/RPMSU.h"

#include <string>

#include "forms/Program.h"
#include "forms/rpm/CylinderBox.h"
#include "link/PortOpening.h"
#include "link/PortSettings.h"
#include "link/ReplyParsers.h"
#include "link/Senders.h"
#include "platform/text/Numbers.h"
#include "rpm/CounterSettings.h"
#include "rpm/RpmPoll.h"
#include "shell/SettingsStore.h"

namespace vs {

namespace {

constexpr plat::Color kSpinnerFocus = 0x80FFFF;  // pale yellow

void IdentityRow(plat::Frame& frame, plat::Label& label, plat::TextBox& box, int top) {
  label.setContainer(frame);
  label.Move(12, top + 4, 170, 22);
  box.setContainer(frame);
  box.Move(186, top, 330, 26);
}

void Option(plat::OptionButton& o, plat::Control& container, const char* caption, int left,
            int top) {
  o.setCaption(caption);
  o.setContainer(container);
  o.Move(left, top, 76, 24);
}

void ShowSwitch(plat::CheckBox& box, bool on) {
  box.setValue(on ? plat::CheckBox::kChecked : plat::CheckBox::kUnchecked);
  box.setCaption(on ? "ON" : "OFF");
  box.setBackColor(on ? plat::colors::kGreen : plat::colors::kRed);
}

std::string WithoutTrailingBlanks(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

RPMSU::RPMSU(Program& p) : plat::Form(p.rt.forms, "RPMSU"), MSComm5(p.rt.serial), p_(p) {
  setCaption("RPM");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(560, 384);

  Frame1.Move(16, 10, 528, 150);
  IdentityRow(Frame1, Label1, Text1, 22);
  IdentityRow(Frame1, Label2, Text2, 52);
  IdentityRow(Frame1, Label3, Text3, 82);
  IdentityRow(Frame1, Label4, Text4, 112);

  Label5.Move(16, 182, 80, 22);
  Text5.setText("1");
  Text5.setAlignment(plat::Alignment::Center);
  Text5.Move(100, 178, 44, 28);
  Command2.setCaption("+");
  Command2.Move(148, 178, 32, 28);
  Command3.setCaption("-");
  Command3.Move(184, 178, 32, 28);
  Frame2.Move(232, 168, 124, 54);
  Option(Option6, Frame2, "&4", 12, 22);
  Option(Option7, Frame2, "&2", 64, 22);
  FrameBR.setCaption("&Baud Rate");
  FrameBR.Move(368, 168, 176, 86);
  Option(Option1, FrameBR, "1&200", 12, 22);
  Option(Option2, FrameBR, "&9600", 90, 22);
  Option(Option3, FrameBR, "&19200", 12, 52);
  Option(Option4, FrameBR, "&38400", 90, 52);
  Option3.setEnabled(false);
  Option4.setEnabled(false);

  Label6.setCaption("COM");
  Label6.Move(16, 244, 40, 22);
  Text6.setText("1");
  Text6.setAlignment(plat::Alignment::Center);
  Text6.Move(58, 240, 40, 28);
  VScroll1.setMin(1);
  VScroll1.setMax(16);
  VScroll1.setValue(1);
  VScroll1.Move(100, 240, 17, 28);
  FrameTO.setCaption("Com.Toil");
  FrameTO.Move(136, 230, 136, 54);
  Option(Option8, FrameTO, "VA", 12, 22);
  Option(Option9, FrameTO, "VE", 70, 22);
  Option10.setCaption("TP+VA");
  Option10.Move(280, 252, 80, 24);

  Check1.setStyle(plat::ButtonStyle::Graphical);
  Check1.Move(16, 296, 64, 30);
  Label7.setCaption("RPM");
  Label7.Move(86, 302, 60, 22);
  Check2.setStyle(plat::ButtonStyle::Graphical);
  Check2.Move(160, 296, 64, 30);
  Label8.Move(230, 302, 130, 22);

  Command1.Move(16, 340, 140, 34);
  CmdApl.setCaption("&Applica");
  CmdApl.setDefault(true);
  CmdApl.Move(168, 340, 140, 34);
  Command4.setCaption("&ESC");
  Command4.setCancel(true);
  Command4.Move(404, 340, 140, 34);

  Command1.onClick = [this] { Command1_Click(); };
  CmdApl.onClick = [this] { CmdApl_Click(); };
  Command4.onClick = [this] { Unload(); };
  Command2.onClick = [this] { StepCylinders(true); };
  Command3.onClick = [this] { StepCylinders(false); };
  Text5.onLostFocus = [this] {
    // The buttons that act on the count check it themselves, and do nothing when refused.
    const plat::Control* to = ActiveControl();
    if (to == &Command2 || to == &Command3 || to == &CmdApl) return;
    TakeTypedCylinders();
  };
  Option6.onClick = [this] { p_.shell.RpmEngineStrokes = 4; };
  Option7.onClick = [this] { p_.shell.RpmEngineStrokes = 2; };
  Option1.onClick = [this] { p_.shell.RpmBaudIndex = 1; };
  Option2.onClick = [this] { p_.shell.RpmBaudIndex = 2; };
  Option3.onClick = [this] { p_.shell.RpmBaudIndex = 3; };
  Option4.onClick = [this] { p_.shell.RpmBaudIndex = 4; };
  Option8.onClick = [this] { SetPollSelect(0); };
  Option9.onClick = [this] { SetPollSelect(1); };
  Option10.onClick = [this] { SetPollSelect(2); };
  Check1.onClick = [this] { Switch(Check1, p_.shell.ExternRpm); };
  Check2.onClick = [this] { Switch(Check2, p_.shell.ExternOilTemp); };
  VScroll1.onChange = [this] { VScroll1_Change(); };
  VScroll1.onGotFocus = [this] { Text6.setBackColor(kSpinnerFocus); };
  VScroll1.onLostFocus = [this] { Text6.setBackColor(plat::colors::kWindowBackground); };
  Text6.onGotFocus = [this] { VScroll1.SetFocus(); };
  MSComm5.OnComm = [this] { MSComm5_OnComm(); };
  addDiscardAction([this] { plat::RunIgnoringErrors({[&] { MSComm5.setPortOpen(false); }}); });
}

void RPMSU::Form_Load() {
  ShellState& s = p_.shell;
  const auto& t = s.LangText;
  reply.Reset();
  Frame1.setCaption(t[lang::ANSUDat]);
  Label1.setCaption(t[lang::DVeicoliFeT]);
  Label2.setCaption(t[lang::ANSUNOm]);
  Label3.setCaption(t[lang::PrtKYMRACERTNserie]);
  Label4.setCaption(t[lang::PrtKYMRACERTDscadCon] + " RPM");
  Command1.setCaption(t[lang::OPASURil]);
  CmdApl.setCaption(t[lang::ANSUAppl]);
  Label5.setCaption(t[lang::RPMCilindri]);
  Frame2.setCaption(t[lang::RPMtempi]);
  Label8.setCaption(t[lang::ANFUMOTolio]);

  LoadRpmSettings(s, ConfPlace(p_.rt));
  Text1.setText(s.RpmMake);
  Text2.setText(s.RpmHomologation);
  Text3.setText(s.RpmSerial);
  Text4.setText(s.RpmExpiry);
  ShowCylinders(Text5, s);
  ShowSwitch(Check1, s.ExternRpm != 0);
  ShowSwitch(Check2, s.ExternOilTemp != 0);
  // A stored port the spinner cannot take shows as stored, until the spinner moves.
  if (RpmPortNamed(s)) VScroll1.setValue(s.RpmComPort);
  Text6.setText(plat::FormatInt(s.RpmComPort));
  plat::OptionButton* const speeds[] = {&Option1, &Option2, &Option3, &Option4};
  if (s.RpmBaudIndex >= 1 && s.RpmBaudIndex <= 4) speeds[s.RpmBaudIndex - 1]->setValue(true);
  if (s.RpmEngineStrokes == 2) Option7.setValue(true);
  if (s.RpmEngineStrokes == 4) Option6.setValue(true);
  plat::OptionButton* const polls[] = {&Option8, &Option9, &Option10};
  if (s.RpmPollSelect >= 0 && s.RpmPollSelect <= 2) polls[s.RpmPollSelect]->setValue(true);
}

void RPMSU::Switch(plat::CheckBox& box, std::int16_t& setting) {
  const bool on = box.Value() != plat::CheckBox::kUnchecked;
  setting = on ? 1 : 0;
  ShowSwitch(box, on);
}

void RPMSU::SetPollSelect(std::int16_t select) {
  p_.shell.RpmPollSelect = select;
  // "TP+VA" stands outside the frame: the three exclude each other here.
  if (select != 0) Option8.setValue(false);
  if (select != 1) Option9.setValue(false);
  if (select != 2) Option10.setValue(false);
}

void RPMSU::VScroll1_Change() {
  Text6.setText(plat::FormatInt(VScroll1.Value()));
  p_.shell.RpmComPort = static_cast<std::int16_t>(VScroll1.Value());
}

bool RPMSU::TakeTypedCylinders() {
  return vs::TakeTypedCylinders(rt(), Text5, p_.shell) != TypedCylinders::Refused;
}

void RPMSU::StepCylinders(bool up) { vs::StepCylinders(rt(), Text5, p_.shell, up); }

void RPMSU::OpenPort() {
  const ShellState& s = p_.shell;
  ReopenPort(rt(), MSComm5, s.RpmComPort, SearchPortSettings(s.RpmBaudIndex),
             s.LangText[lang::RiconoscimentoImpo]);
}

void RPMSU::Send(const char* command, const std::string& data) {
  // The sender would open the control's port itself.
  if (!RpmPortNamed(p_.shell)) return;
  LinkState& l = p_.link;
  NoteRpmRequest(reply, l, command);
  SendMctcNetFrameToRpmSetup(MSComm5, l.RpmMcnAddress, l.RpmMcnCommand, l.RpmMcnDevNumber, data);
}

bool RPMSU::Save() {
  const SaveResult saved = SaveRpmSettings(p_.shell, ConfPlace(p_.rt));
  ReportSaveProblem(p_.rt, saved);
  return static_cast<bool>(saved);
}

void RPMSU::Command1_Click() {
  OpenPort();
  Send("ID", "");
  reply.DiscardInput();
  for (plat::TextBox* box : {&Text1, &Text2, &Text3, &Text4}) box->setText(" ");
}

void RPMSU::CmdApl_Click() {
  if (!TakeTypedCylinders()) return;
  ShellState& s = p_.shell;
  s.RpmMake = Text1.Text();
  s.RpmHomologation = Text2.Text();
  s.RpmSerial = Text3.Text();
  s.RpmExpiry = Text4.Text();
  Save();
  OpenPort();
  Send("CI", plat::FormatInt(s.RpmCylinders));
}

void RPMSU::MSComm5_OnComm() {
  LinkState& l = p_.link;
  const McnCollected got = reply.Receive(MSComm5.Input());
  if (got.status != McnCollected::Status::Accepted) return;
  ReplyCommand = got.echo;
  if (ReplyCommand == "ID") {
    ParseIdReply(l, got.frame, static_cast<int>(ReplyCommand.size()),
                 static_cast<int>(l.RpmMcnDevNumberLen));
    l.InstrModel = WithoutTrailingBlanks(l.InstrModel);
    Text1.setText(l.InstrMake + "  " + l.InstrModel);
    Text2.setText(l.InstrHomologation);
    Text3.setText(l.InstrSerial);
    Text4.setText(l.InstrExpiry);
  } else if (ReplyCommand == "CI") {
    Send("TE", plat::FormatInt(p_.shell.RpmEngineStrokes));
  } else if (ReplyCommand == "TE") {
    if (Save()) plat::MsgBox(rt(), p_.shell.LangText[lang::RPMSUSave], plat::MsgBoxButtons::OK);
  }
}

}  // namespace vs
