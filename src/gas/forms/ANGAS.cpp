#include "gas/forms/ANGAS.h"

#include <algorithm>
#include <string>

#include "app/Program.h"
#include "gas/forms/GasMcnStep.h"
#include "gas/forms/GasTestSequence.h"
#include "link/PortSettings.h"
#include "link/Senders.h"
#include "platform/core/Error.h"
#include "platform/forms/MessageBox.h"
#include "shell/LanguageKeys.h"
#include "shell/RCLIni.h"
#include "shell/SettingsAccess.h"
#include "shell/SettingsStore.h"

namespace vs {

namespace {

constexpr int kTimeoutTicks = 40;
constexpr char kStx = '\x02';

}  // namespace

ANGAS::ANGAS(Program& p) : plat::Form(p.rt.forms, "ANGAS"), MSComm2(p.rt.serial), p_(p) {
  setCaption("Analisi Gas");
  setBorderStyle(plat::BorderStyle::FixedSingle);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(800, 560);

  for (const char* fuel : {"BENZ", "BENZ CAT", "MET", "MET CAT", "GPL", "GPL CAT"})
    Combo1.AddItem(fuel);
  Combo1.setStyle(plat::ComboStyle::DropDownList);
  Combo3.AddItem("RPM conv(4T)");
  Combo3.AddItem("RPM dis(2T)");
  Combo3.setStyle(plat::ComboStyle::DropDownList);
  Combo4.AddItem("Certificazione");
  Combo4.AddItem("Diagnosi");
  Combo4.setStyle(plat::ComboStyle::DropDownList);
  PBar1.setMin(0);
  PBar1.setMax(800);
  for (plat::Label* value : {&Label8, &Label9, &Label10, &Label15}) {
    value->setCaption("- - -");
    value->setBackColor(plat::colors::kWhite);
  }
  Label37.setCaption("Press.");
  Label39.setCaption("mbar");
  for (plat::Label* hidden : {&Label37, &Label38, &Label39, &Label14, &Label24, &Label25, &Label4})
    hidden->setVisible(false);
  Label6.setCaption("P.E.F.");
  Label24.setCaption("VER");
  Label28.setCaption("ESITO PROVA");
  Command4.setCaption("S&B");
  Command6.setCaption("&TT");
  Command7.setCaption("LOG OFF");
  CmdOut1.setCaption("&ESC");
  CmdOut1.setCancel(true);

  Timer1.setInterval(25);
  Timer1.setEnabled(false);

  CmdOut1.onClick = [this] { CmdOut1_Click(); };
  Combo1.onClick = [this] { Combo1_Click(); };
  Combo3.onClick = [this] { Combo3_Click(); };
  Combo4.onClick = [this] { Combo4_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  Command6.onClick = [this] { Command6_Click(); };
  Command7.onClick = [this] { Command7_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  MSComm2.OnComm = [this] { MSComm2_OnComm(); };
  addDiscardAction([this] {
    try {
      if (MSComm2.PortOpen()) MSComm2.setPortOpen(false);
    } catch (const plat::RuntimeError&) {
    }
  });
}

void ANGAS::Form_Load() {
  ShellState& s = p_.shell;
  LinkState& l = p_.link;
  GasState& g = p_.gas;
  const SettingsPlace at = ConfPlace(p_.rt);
  LoadGasLimits(s, at);
  LoadInstrumentModels(s, at);
  LoadVehicleData(s, at);
  Label9.setBackColor(plat::colors::kWhite);
  Label26.setBackColor(plat::colors::kWhite);

  // The protocol of this opening, from the model, before anything can send; a model
  // outside 0 to 3 keeps the settings in force.
  switch (s.GasModelIndex) {
    case 0:
    case 1:
      g.GasDeviceAddress = 49;
      l.ActiveComMode = 1;
      break;
    case 2:
      g.GasDeviceAddress = 33;
      l.ActiveComMode = 1;
      break;
    case 3:
      AutoZeroCount = 0;
      l.ActiveComMode = 2;
      l.McnAddress = "GAS";
      l.McnDevNumber = "1";
      l.McnDevNumberLen = 1;
      break;
    default:
      break;
  }
  OpenedComMode = l.ActiveComMode;
  // The analyser's status is unknown until it answers: the list handlers below must not
  // send a fuel code or ask for "@SA" on what the last opening was told.
  g.GasInstrumentState = 0;
  g.GasMcnStatus = 0;
  StatoRichiesto.clear();
  GasRxBuffer.clear();

  Stato = "INIZIO";
  g.GasReplyReady = 1;
  PBar1.setValue(0);
  Combo1.setListIndex(1);
  FuelIndex = 1;
  Combo3.setListIndex(0);
  Combo4.setListIndex(1);

  const auto& t = s.LangText;
  setCaption(t[lang::ANGASCaption]);
  Command1.setCaption(Measuring == 1 ? "S&top" : t[lang::ANFUMOStart]);
  Command2.setCaption(t[lang::ANFUMOStampa]);
  Command3.setCaption(t[lang::ANFUMODatVeic]);
  Command5.setCaption(t[lang::ANFUMOLim]);
  Label30.setCaption(t[lang::ANGASCarbu]);
  Combo1.setList(0, t[lang::ANGASCarbu1]);
  Combo1.setList(1, t[lang::ANGASCarbu2]);
  Combo1.setList(4, t[lang::ANGASCarbu3]);
  Combo1.setList(5, t[lang::ANGASCarbu4]);
  Label31.setCaption(t[lang::ANGASMot]);
  Label32.setCaption(t[lang::ANGASSelMis]);
  Combo4.setList(0, t[lang::ANGASSelMis1]);
  Combo4.setList(1, t[lang::ANGASSelMis2]);
  Label21.setCaption(t[lang::ANFUMOTolio]);
  Label28.setCaption(t[lang::ANFUMOEsito]);
  GasLogFlag = false;
  LeggiConfini();

  if (OpenedComMode == 1) {
    Command4.setEnabled(false);
    Command6.setEnabled(false);
  }
  OpenPort();
  Timer1.setEnabled(true);
  EtWarningShown = 0;
  g.GasTicksSinceSend = 0;
}

void ANGAS::OpenPort() {
  const ShellState& s = p_.shell;
  try {
    if (MSComm2.PortOpen()) MSComm2.setPortOpen(false);
    MSComm2.setCommPort(s.GasComPort);
    MSComm2.setSettings(PortSettingsForSpeed(s.GasBaudIndex, MSComm2.Settings()));
    MSComm2.setRThreshold(1);
    MSComm2.setPortOpen(true);
  } catch (const plat::RuntimeError& e) {
    // The form stays open with the port closed; the time-out shows "ERRORE COM".
    plat::MsgBox(p_.rt.forms,
                 PortOpenErrorText(s.GasComPort, s.LangText[lang::RiconoscimentoImpo], e.what()),
                 plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Critical);
  }
}

void ANGAS::Form_Unload(bool& /*cancel*/) {
  ShellState& s = p_.shell;
  if (s.ExternRpm == 1 || s.ExternOilTemp == 1) {
    if (p_.unbuilt.RPM != nullptr) p_.unbuilt.RPM->Unload();
  }
  p_.menu.Timer1.setEnabled(true);
  Timer1.setEnabled(false);
  try {
    if (MSComm2.PortOpen()) MSComm2.setPortOpen(false);
  } catch (const plat::RuntimeError&) {
  }
  StatoRichiesto.clear();
  Stato = "INIZIO";
  ReportSaveProblem(p_.rt, SaveGasLimits(s, ConfPlace(p_.rt)));
  p_.link.GasFormActive = 0;
  Label9.setBackColor(plat::colors::kWhite);
  Label26.setBackColor(plat::colors::kWhite);
}

void ANGAS::LeggiConfini() {
  ShellState& s = p_.shell;
  RCLIni ini;
  ini.File = RebuildConfIniPath(s, p_.rt.currentDirectory);
  ini.Section = "COMKYMRA";
  ini.key = "Modello";
  ini.GetValue();
  Label1.setCaption(ini.Value);
  ini.key = "Nserie";
  ini.GetValue();
  Label3.setCaption(ini.Value);
}

void ANGAS::CmdOut1_Click() { Unload(); }
void ANGAS::Combo1_Click() {}
void ANGAS::Combo3_Click() {}
void ANGAS::Combo4_Click() {}
void ANGAS::Command1_Click() {}
void ANGAS::Command2_Click() {}
void ANGAS::Command3_Click() {}
void ANGAS::Command4_Click() {}
void ANGAS::Command5_Click() {}
void ANGAS::Command6_Click() {}
void ANGAS::Command7_Click() {}

void ANGAS::Timer1_Timer() {
  GasState& g = p_.gas;
  ++GasTickCount;
  ++g.GasTicksSinceSend;
  if (StatoRichiesto == "STARTMIS") Stato = "STARTMIS";
  if (OpenedComMode == 2) {
    for (const char* word : {"STANDBY", "@SA", "TT"})
      if (StatoRichiesto == word) Stato = word;
  } else if (OpenedComMode != 1) {
    return;
  }
  if (g.GasReplyReady == 1) {
    g.GasReplyReady = 0;
    g.GasTicksSinceSend = 0;
    if (OpenedComMode == 1)
      SendOwnGasRequest();
    else
      SendMcnGasRequest(*this);
  } else if (g.GasTicksSinceSend > kTimeoutTicks) {
    Label5.setCaption("ERRORE COM");
    GasRxBuffer.clear();  // a lost byte must not hold the next reply back
    g.GasReplyReady = 1;
  }
}

void ANGAS::MSComm2_OnComm() {
  if (MSComm2.CommEvent() != plat::kCommEvReceive) return;
  const std::string input = MSComm2.Input();
  if (input.empty()) return;
  GasRxBuffer += input;
  if (GasRxBuffer.size() == 1 && GasRxBuffer[0] != kStx) GasRxBuffer.clear();
  GasReplyOutcome outcome = GasReplyOutcome::Incomplete;
  if (OpenedComMode == 1)
    outcome = HandleOwnGasReply();
  else if (OpenedComMode == 2)
    outcome = HandleMcnGasReply(*this);
  if (outcome != GasReplyOutcome::Handled) return;
  if (OpenedComMode == 1) Label14.setCaption(Stato);
  GasRxBuffer.clear();
  p_.gas.GasReplyReady = 1;
}

void ANGAS::SendOwnGasRequest() {}

GasReplyOutcome ANGAS::HandleOwnGasReply() { return GasReplyOutcome::Incomplete; }

void ANGAS::AfterMeasurementReply() { AvanzaProva(*this); }

}  // namespace vs
