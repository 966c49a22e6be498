#include "forms/smoke/OPASU.h"

#include <array>
#include <string>

#include "forms/Program.h"
#include "forms/link/InstrumentIdentity.h"
#include "link/PortOpening.h"
#include "link/PortSettings.h"
#include "link/Senders.h"
#include "shell/SettingsStore.h"
#include "smoke/OpaSetUp.h"

namespace vs {

namespace {

constexpr plat::Color kPaleYellow = 0x80FFFF;
constexpr int kIdUnitLen = 1;  // the unit number "1"

void PlaceLabel(plat::Label& l, const char* text, int left, int top) {
  l.setCaption(text);
  l.Move(left, top, 80, 22);
}

}  // namespace

OPASU::OPASU(Program& p) : plat::Form(p.rt.forms, "OPASU"), MSComm4(p.rt.serial), p_(p) {
  setCaption("Set-up Opacimetro");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(470, 330);

  for (const char* model : kOpaModelNames) Combo1.AddItem(model);
  Combo1.setText("select OPA");
  Combo1.Move(16, 16, 200, 24);
  Combo2.AddItem("% unit range");
  Combo2.AddItem("HSU unit range");
  Combo2.setText("select unit");
  Combo2.Move(16, 50, 200, 24);

  Label5.setCaption("COM");
  Label5.Move(16, 88, 40, 22);
  Text5.setText("1");
  Text5.setAlignment(plat::Alignment::Center);
  Text5.Move(60, 86, 40, 24);
  VScroll1.Move(100, 86, 17, 24);
  VScroll1.setMin(1);
  VScroll1.setMax(16);
  VScroll1.setValue(1);

  FrameBr.setCaption("&Baud Rate");
  FrameBr.Move(240, 10, 210, 100);
  const std::array<std::pair<plat::OptionButton*, const char*>, 4> speeds = {
      {{&Option1, "1&200"}, {&Option2, "&9600"}, {&Option3, "&19200"}, {&Option4, "&38400"}}};
  for (std::size_t i = 0; i < speeds.size(); ++i) {
    plat::OptionButton& o = *speeds[i].first;
    o.setContainer(FrameBr);
    o.setCaption(speeds[i].second);
    o.Move(12 + static_cast<int>(i % 2) * 100, 26 + static_cast<int>(i / 2) * 34, 90, 24);
  }
  Option3.setEnabled(false);
  Option4.setEnabled(false);

  Frame1.Move(16, 122, 434, 130);
  const std::array<std::pair<plat::Label*, const char*>, 6> labels = {{{&Label1, "Mark"},
                                                                       {&Label3, "Model"},
                                                                       {&Label2, "N. homol."},
                                                                       {&Label4, "S. n."},
                                                                       {&Label6, "Ver."},
                                                                       {&Label7, "Exp."}}};
  const std::array<plat::TextBox*, 6> boxes = {&Text1, &Text3, &Text2, &Text4, &Text6, &Text7};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const int left = 10 + static_cast<int>(i % 2) * 212;
    const int top = 24 + static_cast<int>(i / 2) * 34;
    labels[i].first->setContainer(Frame1);
    PlaceLabel(*labels[i].first, labels[i].second, left, top + 2);
    boxes[i]->setContainer(Frame1);
    boxes[i]->Move(left + 80, top, 120, 24);
  }

  ComFind.Move(16, 270, 136, 34);
  ComSave.setDefault(true);
  ComSave.Move(166, 270, 136, 34);
  ComEsc.setCaption("&ESC");
  ComEsc.setCancel(true);
  ComEsc.Move(316, 270, 136, 34);

  FrameMod.setVisible(false);
  FrameMod.Move(240, 270, 10, 10);
  KARVESTON.setContainer(FrameMod);
  MCTCNET.setContainer(FrameMod);

  Combo1.onClick = [this] { Combo1_Click(); };
  Combo2.onClick = [this] {
    p_.shell.OpaUnitIndex = static_cast<std::int16_t>(Combo2.ListIndex());
  };
  Option1.onClick = [this] { p_.shell.OpaBaudIndex = 1; };
  Option2.onClick = [this] { p_.shell.OpaBaudIndex = 2; };
  Option3.onClick = [this] { p_.shell.OpaBaudIndex = 3; };
  Option4.onClick = [this] { p_.shell.OpaBaudIndex = 4; };
  VScroll1.onChange = [this] {
    Text5.setText(std::to_string(VScroll1.Value()));
    p_.shell.OpaComPort = static_cast<std::int16_t>(VScroll1.Value());
  };
  Text5.onGotFocus = [this] { VScroll1.SetFocus(); };
  VScroll1.onGotFocus = [this] { Text5.setBackColor(kPaleYellow); };
  VScroll1.onLostFocus = [this] { Text5.setBackColor(plat::colors::kWindowBackground); };
  ComFind.onClick = [this] { ComFind_Click(); };
  ComSave.onClick = [this] { ComSave_Click(); };
  ComEsc.onClick = [this] { Unload(); };
  MSComm4.OnComm = [this] { MSComm4_OnComm(); };
  addDiscardAction([this] { ClosePort(); });
}

void OPASU::Form_Load() {
  identification.Reset();
  identification.step = OpaSetupStep::Idle;
  LeggiConfini();
  for (plat::OptionButton* o : {&KARVESTON, &MCTCNET, &Option1, &Option2, &Option3, &Option4})
    o->setValue(false);

  const auto& t = p_.shell.LangText;
  setCaption(t[lang::OPASUCaption]);
  Frame1.setCaption(t[lang::ANSUDat]);
  ComSave.setCaption(t[lang::ANSUAppl]);
  ComFind.setCaption(t[lang::OPASURil]);

  ShellState& s = p_.shell;
  // A model the list does not hold selects nothing; -1 is the list's own "nothing".
  if (s.OpaModelIndex >= -1 && s.OpaModelIndex < static_cast<int>(kOpaModelNames.size()))
    Combo1.setListIndex(s.OpaModelIndex);
  Combo2.setListIndex(s.OpaUnitIndex);
  if (s.OpaComPort < VScroll1.Min() || s.OpaComPort > VScroll1.Max()) s.OpaComPort = 1;
  VScroll1.setValue(s.OpaComPort);
  switch (s.OpaBaudIndex) {
    case 1:
      Option1.setValue(true);
      break;
    case 2:
      Option2.setValue(true);
      break;
    case 3:
      Option3.setValue(true);
      break;
    case 4:
      Option4.setValue(true);
      break;
    default:
      break;
  }
}

void OPASU::LeggiConfini() {
  LoadOpacimeterSetUp(p_.shell, p_.link.ActiveComMode, IdentitySlot(p_.link), ConfPlace(p_.rt));
  ShowIdentity();
  std::int16_t& unit = p_.shell.OpaUnitIndex;
  if (unit > 1 || unit < -1) unit = 0;
}

void OPASU::ShowIdentity() { ShowInstrumentIdentity(*this, p_.link); }

void OPASU::Combo1_Click() { ChooseOpaModel(p_.shell, p_.smoke, p_.link, Combo1.ListIndex()); }

void OPASU::ClosePort() {
  if (MSComm4.PortOpen()) MSComm4.setPortOpen(false);
}

void OPASU::ComFind_Click() {
  BlankInstrumentIdentity(*this);
  const ShellState& s = p_.shell;
  // The question goes out also when the port did not open (the exchange gives up in time).
  ReopenPort(rt(), MSComm4, s.OpaComPort, SearchPortSettings(s.OpaBaudIndex),
             s.LangText[lang::RiconoscimentoImpo]);
  identification.step = OpaSetupStep::AskIdentity;
  identification.Sent("OPA", "ID", kIdUnitLen);
  SendMctcNetFrameToOpaSetup(MSComm4, "OPA", "ID", "1", "");
}

void OPASU::MSComm4_OnComm() {
  const McnCollected got = identification.Receive(MSComm4.Input());
  if (got.status != McnCollected::Status::Accepted) return;
  identification.step = OpaSetupStep::Idle;
  const std::optional<int> model = TakeOpaIdentity(
      p_.link, got.frame, static_cast<int>(identification.Command().size()), kIdUnitLen);
  ShowIdentity();
  if (model) Combo1.setListIndex(*model);  // the model step sets the protocol
}

void OPASU::ComSave_Click() {
  const SaveResult saved =
      SaveOpacimeterSetUp(p_.shell, p_.link.ActiveComMode, IdentitySlot(p_.link), ConfPlace(p_.rt));
  if (!saved) {
    ReportSaveProblem(p_.rt, saved);
    return;
  }
  plat::MsgBox(rt(), p_.shell.LangText[lang::RPMSUSave], plat::MsgBoxButtons::OK);
}

}  // namespace vs
