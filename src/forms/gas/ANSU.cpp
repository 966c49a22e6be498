#include "forms/gas/ANSU.h"

#include <array>
#include <string>

#include "forms/Program.h"
#include "forms/link/InstrumentIdentity.h"
#include "gas/GasSetUp.h"
#include "link/PortOpening.h"
#include "link/PortSettings.h"
#include "link/ReplyParsers.h"
#include "link/Senders.h"
#include "platform/core/Error.h"
#include "shell/SettingsStore.h"

namespace vs {

namespace {

constexpr plat::Color kIdentityLabel = 0x0A8D10;
constexpr plat::Color kSpinnerFocus = 0x80FFFF;
constexpr const char* kDashes = "----------";

}  // namespace

ANSU::ANSU(Program& p) : plat::Form(p.rt.forms, "ANSU"), MSComm6(p.rt.serial), p_(p) {
  setCaption("Analizzatore");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(520, 330);

  Label5.setCaption("COM");
  Label5.Move(16, 18, 40, 22);
  Text5.setText("1");
  Text5.setAlignment(plat::Alignment::Center);
  Text5.Move(60, 14, 44, 26);
  VScroll1.Move(104, 14, 17, 26);
  VScroll1.setMin(1);
  VScroll1.setMax(16);
  VScroll1.setValue(1);

  Frame2.setCaption("&Baud Rate");
  Frame2.Move(16, 52, 150, 130);
  const std::array<plat::OptionButton*, 4> speeds{&Option1, &Option2, &Option3, &Option4};
  const std::array<const char*, 4> speedCaptions{"1&200", "&9600", "&19200", "&38400"};
  for (std::size_t i = 0; i < speeds.size(); ++i) {
    speeds[i]->setContainer(Frame2);
    speeds[i]->setCaption(speedCaptions[i]);
    speeds[i]->Move(12, 22 + static_cast<int>(i) * 26, 120, 22);
    const auto code = static_cast<std::int16_t>(i + 1);
    speeds[i]->onClick = [this, code] { p_.shell.GasBaudIndex = code; };
  }
  Option3.setEnabled(false);
  Option4.setEnabled(false);

  Combo1.setStyle(plat::ComboStyle::DropDownList);
  for (const char* model : kGasModelNames) Combo1.AddItem(model);
  Combo1.setText("Sel.KYMRA");
  Combo1.Move(16, 196, 150, 26);

  Frame1.setCaption("&DATI");
  Frame1.Move(184, 10, 320, 214);
  const std::array<plat::Label*, 6> labels{&Label1, &Label2, &Label3, &Label4, &Label6, &Label7};
  const std::array<plat::TextBox*, 6> boxes{&Text1, &Text2, &Text3, &Text4, &Text6, &Text7};
  const std::array<const char*, 6> labelCaptions{"Mark",  "N. homol.", "Model",
                                                 "S. n.", "Ver.",      "Exp."};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const int top = 24 + static_cast<int>(i) * 30;
    labels[i]->setContainer(Frame1);
    labels[i]->setCaption(labelCaptions[i]);
    labels[i]->setBackColor(kIdentityLabel);
    labels[i]->Move(10, top, 84, 24);
    boxes[i]->setContainer(Frame1);
    boxes[i]->setText(kDashes);
    boxes[i]->Move(100, top, 206, 24);
  }

  Command2.setCaption("Ricerca");
  Command2.Move(16, 270, 150, 34);
  CmdApl.setCaption("&Applica");
  CmdApl.Move(184, 270, 150, 34);
  Command1.setCaption("&ESC");
  Command1.setDefault(true);
  Command1.setCancel(true);
  Command1.Move(354, 270, 150, 34);

  Combo1.onClick = [this] { Combo1_Click(); };
  VScroll1.onChange = [this] { VScroll1_Change(); };
  VScroll1.onGotFocus = [this] { Text5.setBackColor(kSpinnerFocus); };
  VScroll1.onLostFocus = [this] { Text5.setBackColor(plat::colors::kWindowBackground); };
  Text5.onGotFocus = [this] { VScroll1.SetFocus(); };
  Command2.onClick = [this] { Command2_Click(); };
  CmdApl.onClick = [this] { CmdApl_Click(); };
  Command1.onClick = [this] { Unload(); };
  MSComm6.OnComm = [this] { MSComm6_OnComm(); };
  addDiscardAction([this] { plat::RunIgnoringErrors({[this] { MSComm6.setPortOpen(false); }}); });
}

void ANSU::Form_Load() {
  identify.Reset();
  identify.step = AnsuStep::Idle;
  LeggiConfini();
  const auto& t = p_.shell.LangText;
  setCaption(t[lang::ANSUCaption]);
  Frame1.setCaption(t[lang::ANSUDat]);
  CmdApl.setCaption(t[lang::ANSUAppl]);
  Command2.setCaption(t[lang::OPASURil]);

  ShellState& s = p_.shell;
  // A model the list does not hold shows no selection and changes nothing.
  Combo1.setListIndex(IsGasModel(s.GasModelIndex) ? s.GasModelIndex : -1);
  s.GasComPort = PortOrFirst(s.GasComPort);
  VScroll1.setValue(s.GasComPort);
  VScroll1_Change();  // also when the spinner already stood there
  const std::array<plat::OptionButton*, 4> speeds{&Option1, &Option2, &Option3, &Option4};
  if (s.GasBaudIndex >= 1 && s.GasBaudIndex <= 4) {
    speeds[static_cast<std::size_t>(s.GasBaudIndex - 1)]->setValue(true);
  }
}

void ANSU::LeggiConfini() {
  LoadGasAnalyserSetUp(p_.shell, IdentitySlot(p_.link), ConfPlace(p_.rt));
  ShowIdentity();
}

void ANSU::ShowIdentity() { ShowInstrumentIdentity(*this, p_.link); }

void ANSU::Combo1_Click() { ChooseGasModel(p_.shell, p_.gas, Combo1.ListIndex()); }

void ANSU::VScroll1_Change() {
  Text5.setText(std::to_string(VScroll1.Value()));
  p_.shell.GasComPort = static_cast<std::int16_t>(VScroll1.Value());
}

void ANSU::Command2_Click() {
  BlankInstrumentIdentity(*this);
  const ShellState& s = p_.shell;
  identify.Reset();
  identify.step = AnsuStep::Idle;
  // No question can go out on a closed port: the boxes keep their blanks.
  if (!ReopenPort(rt(), MSComm6, s.GasComPort, SearchPortSettings(s.GasBaudIndex),
                  s.LangText[lang::RiconoscimentoImpo])) {
    return;
  }
  identify.step = AnsuStep::Identify;
  identify.Sent("GAS", "ID", 1);
  SendMctcNetFrameToGasSetup(MSComm6, "GAS", "ID", "1", "");
}

void ANSU::MSComm6_OnComm() {
  const McnCollected got = identify.Receive(MSComm6.Input());
  if (got.status != McnCollected::Status::Accepted || identify.step != AnsuStep::Identify) return;
  identify.step = AnsuStep::Idle;
  const IdentifiedModel found = TakeGasIdentity(p_.link, got.frame, 2, 1);
  ShowIdentity();
  // Only an identity that parsed may change the configured analyser.
  if (found.parsed) {
    p_.shell.GasComMode = found.comMode;
    Combo1.setListIndex(found.modelIndex);
  }
}

void ANSU::CmdApl_Click() {
  const SettingsPlace at = ConfPlace(p_.rt);
  SaveResult r = SaveGasAnalyserSetUp(p_.shell, IdentitySlot(p_.link), at);
  // The model goes in only beside the link it belongs to.
  if (r) r = SaveGasAnalyserModel(p_.shell, at);
  if (!r) {
    ReportSaveProblem(p_.rt, r);
    return;
  }
  // The printed pages take make and homologation from the analyser's settings: they show
  // what was just stored, as they will after the next start.
  p_.shell.GasMake = p_.link.InstrMake;
  p_.shell.GasHomologation = p_.link.InstrHomologation;
  plat::MsgBox(rt(), p_.shell.LangText[lang::RPMSUSave]);
}

}  // namespace vs
