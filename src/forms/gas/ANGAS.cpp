#include "forms/gas/ANGAS.h"

#include <string>

#include "forms/Program.h"
#include "forms/gas/GasMcnStep.h"
#include "forms/gas/GasPrintButtons.h"
#include "forms/gas/GasTestSequence.h"
#include "forms/shell/ReadingLogBox.h"
#include "gas/GasLog.h"
#include "gas/GasSetUp.h"
#include "gas/OwnGasExchange.h"
#include "link/FrameCollector.h"
#include "link/PortOpening.h"
#include "link/PortSettings.h"
#include "link/Senders.h"
#include "platform/core/Error.h"
#include "platform/forms/MessageBox.h"
#include "platform/text/ValueText.h"
#include "shell/LanguageKeys.h"
#include "shell/RCLIni.h"
#include "shell/SettingsAccess.h"
#include "shell/SettingsStore.h"

namespace vs {

namespace {

constexpr int kTimeoutTicks = 40;

}  // namespace

ANGAS::ANGAS(Program& p) : plat::Form(p.rt.forms, "ANGAS"), MSComm2(p.rt.serial), p_(p) {
  setCaption("Analisi Gas");
  setBorderStyle(plat::BorderStyle::FixedSingle);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(800, 530);
  Layout();

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
  for (plat::Label* value : {&Label8, &Label9, &Label10, &Label15}) value->setCaption("- - -");
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

void ANGAS::Layout() {
  Label1.Move(12, 8, 300, 20);
  Label3.Move(320, 8, 200, 20);
  // Four columns of readings, each a caption over its value.
  struct Cell {
    plat::Label& caption;
    const char* text;
    plat::Label& value;
  };
  const Cell cells[] = {
      {Label16, "CO %", Label8},    {Label17, "COcorr %", Label9}, {Label18, "CO2 %", Label10},
      {Label19, "RPM", Label15},    {Label20, "HC ppm", Label11},  {Label22, "O2 %", Label12},
      {Label23, "Lambda", Label26}, {Label21, "T olio", Label13},  {Label34, "NOx ppm", Label33},
  };
  int k = 0;
  for (const Cell& c : cells) {
    const int x = 12 + 194 * (k % 4), y = 36 + 80 * (k / 4);
    c.caption.setCaption(c.text);
    c.caption.Move(x, y, 180, 20);
    c.value.Move(x, y + 22, 180, 44);
    c.value.setFont({"Arial", 18, true, false});
    c.value.setAlignment(plat::Alignment::Center);
    c.value.setBorderSingle(true);
    c.value.setBackColor(plat::colors::kWhite);
    ++k;
  }
  Label37.Move(206, 196, 60, 20);
  Label38.Move(270, 190, 80, 30);
  Label39.Move(354, 196, 40, 20);
  Label6.Move(400, 196, 60, 20);
  Label7.Move(464, 196, 80, 20);
  Label24.Move(550, 196, 30, 20);
  Label25.Move(584, 196, 40, 20);
  Label4.Move(630, 196, 80, 20);
  Label14.Move(714, 196, 74, 20);
  for (plat::Label* line : {&Label5, &Label27, &Label28}) {
    line->setFont({"Arial", 12, true, false});
    line->setAlignment(plat::Alignment::Center);
    line->setBorderSingle(true);
    line->setBackColor(plat::colors::kWhite);
  }
  Label5.Move(12, 276, 776, 28);
  Label27.Move(12, 308, 776, 28);
  Label28.Move(12, 340, 776, 28);
  Label30.Move(12, 376, 200, 20);
  Combo1.Move(12, 398, 200, 24);
  Label31.Move(224, 376, 200, 20);
  Combo3.Move(224, 398, 200, 24);
  Label32.Move(436, 376, 200, 20);
  Combo4.Move(436, 398, 200, 24);
  PBar1.Move(12, 432, 776, 18);
  int x = 12;
  for (plat::CommandButton* b :
       {&Command1, &Command2, &Command3, &Command5, &Command4, &Command6, &Command7, &CmdOut1}) {
    b->Move(x, 462, 92, 52);
    x += 98;
  }
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
  SetGasModelLink(s.GasModelIndex, g, l.ActiveComMode);
  if (s.GasModelIndex == kMcnGasModel) {
    AutoZeroCount = 0;
    l.McnAddress = "GAS";
    l.McnDevNumber = "1";
    l.McnDevNumberLen = 1;
  }
  OpenedComMode = l.ActiveComMode;
  // The analyser's status is unknown until it answers: the list handlers below must not
  // send a fuel code or ask for "@SA" on what the last opening was told.
  g.GasInstrumentState = 0;
  g.GasMcnStatus = 0;
  StatoRichiesto.clear();
  GasRxBuffer.clear();
  own.Reset();

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
  GasLogProblemTold = false;
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
  // When it cannot open, the form stays open with the port closed; the time-out shows
  // "ERRORE COM".
  ReopenPort(rt(), MSComm2, s.GasComPort, PortSettingsForSpeed(s.GasBaudIndex, MSComm2.Settings()),
             s.LangText[lang::RiconoscimentoImpo]);
}

void ANGAS::Form_Unload(bool& /*cancel*/) {
  ShellState& s = p_.shell;
  p_.UnloadRpmBesideTest();
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
  p_.prtKYMRACERT.Certificate = {};  // the test's results go with the window
}

void ANGAS::LeggiConfini() {
  ShellState& s = p_.shell;
  RCLIni ini;
  ini.File = RebuildConfIniPath(s, p_.rt.currentDirectory);
  ini.Section = "COMKYMRA";
  // A key that is missing or empty reads as empty, as the settings store reads it: the
  // serial number never shows the model's text.
  const auto text = [&ini](const char* key) {
    ini.key = key;
    return ini.GetValue() ? ini.Value : std::string();
  };
  Label1.setCaption(text("Modello"));
  Label3.setCaption(text("Nserie"));
}

void ANGAS::CmdOut1_Click() { Unload(); }

void ANGAS::SendOwnFrame(int command, const std::string& data) {
  p_.link.PendingCommand = static_cast<std::int16_t>(command);
  own.Sent(p_.gas.GasDeviceAddress, command);
  SendOwnProtocolFrame(p_.link, p_.TestPorts(), p_.gas.GasDeviceAddress, command, data);
}

void ANGAS::SendFuelCode() {
  OwnRequestData = std::string(1, static_cast<char>(OwnFuelCodeFor(FuelIndex, StrokesIndex)));
  SendOwnFrame('&', OwnRequestData);
}

namespace {
// The binary protocol takes a fuel or engine-cycle choice in these statuses only.
bool TakesFuelChoice(int state) { return state == 128 || state == 65 || state == 2; }
// MCTC-NET: warm-up, stand-by, auto-zero.
bool TakesMcnFuelChoice(int status) { return status == 1 || status == 2 || status == 4; }
}  // namespace

void ANGAS::Combo1_Click() {
  GasState& g = p_.gas;
  LinkState& l = p_.link;
  g.GasReplyReady = 0;
  const int index = Combo1.ListIndex();
  if (OpenedComMode == 1 && TakesFuelChoice(g.GasInstrumentState)) {
    FuelIndex = static_cast<std::int16_t>(index);
    KFactor = KFactorFor(index);
    SendFuelCode();
  } else if (OpenedComMode == 2 && TakesMcnFuelChoice(g.GasMcnStatus)) {
    FuelIndex = static_cast<std::int16_t>(index);
    static constexpr const char* kFuel[] = {"BENZINA", "METANO", "GPL"};
    static constexpr const char* kHcRatio[] = {"1.730", "4.000", "2.570"};
    const int kind = index / 2;
    l.McnFuelText = std::string(kFuel[kind]) + '\x17' + (index % 2 == 0 ? "NO CAT" : "CAT");
    l.McnHcRatio = kHcRatio[kind];
    l.McnOcRatio = "0.000";
    StatoRichiesto = "@SA";
  }
  g.GasReplyReady = 1;
}

void ANGAS::Combo3_Click() {
  GasState& g = p_.gas;
  LinkState& l = p_.link;
  g.GasReplyReady = 0;
  const int index = Combo3.ListIndex();
  if (OpenedComMode == 2 && TakesMcnFuelChoice(g.GasMcnStatus)) {
    StrokesIndex = static_cast<std::int16_t>(index);
    l.McnStrokes = index == 0 ? "4" : "2";
    l.McnSaField3 = "04";
    StatoRichiesto = "@SA";
  } else if (OpenedComMode == 1 && TakesFuelChoice(g.GasInstrumentState)) {
    StrokesIndex = static_cast<std::int16_t>(index);
    SendFuelCode();
  }
  g.GasReplyReady = 1;
}

void ANGAS::Combo4_Click() {
  GasMode = static_cast<std::int16_t>(Combo4.ListIndex());
  Command2.setEnabled(GasMode != 0);
}

void ANGAS::Command1_Click() {
  GasState& g = p_.gas;
  const auto& t = p_.shell.LangText;
  g.GasReplyReady = 0;
  StartMeasTime = p_.rt.loop.localTime();
  RedoFlag = 0;
  GasWindowStart = GasTickCount;
  Label9.setBackColor(plat::colors::kWhite);
  Label26.setBackColor(plat::colors::kWhite);
  if (OpenedComMode == 1 && Measuring == 0) {
    Stato = StatoRichiesto = "STARTMIS";
    if (GasMode == 0) Command2.setEnabled(false);
    Command1.setCaption("S&top");
    Measuring = 1;
  } else if (OpenedComMode == 1) {
    PBar1.setVisible(false);
    SendOwnFrame('$', "");
    Measuring = 0;
    Label27.setCaption(t[lang::ANFUMOFase]);
    Label27.setBackColor(plat::colors::kWhite);
    Label28.setCaption(t[lang::ANFUMOEsito]);
    Label28.setBackColor(plat::colors::kWhite);
    Command1.setCaption(t[lang::ANFUMOStart]);
  } else if (OpenedComMode == 2) {
    PBar1.setVisible(false);
    StatoRichiesto = "STARTMIS";
  }
  g.GasReplyReady = 1;
}

void ANGAS::Command2_Click() { PrintGasTest(*this); }

void ANGAS::Command3_Click() {
  ShellState& s = p_.shell;
  DVeicoli& d = p_.dveicoli;
  // Closed by its own buttons meanwhile: it opens again rather than saving empty fields.
  if (VehicleFormOpen == 0 || !d.IsLoaded()) {
    d.Load();
    d.setVisible(true);
    VehicleFormOpen = 1;
    return;
  }
  s.VehicleMakeType = d.Text1.Text();
  s.VehiclePlate = d.Text2.Text();
  s.VehicleChassis = d.Text3.Text();
  s.VehicleYear = d.Text4.Text();
  s.VehicleModel = d.Text5.Text();
  ReportSaveProblem(p_.rt, SaveVehicleData(s, ConfPlace(p_.rt)));
  d.Unload();
  VehicleFormOpen = 0;
}

void ANGAS::Command4_Click() {
  GasState& g = p_.gas;
  g.GasReplyReady = 0;
  StatoRichiesto = "STANDBY";
  g.GasReplyReady = 2;
}

void ANGAS::Command5_Click() { EditGasLimits(*this); }

void ANGAS::Command6_Click() {
  GasState& g = p_.gas;
  g.GasReplyReady = 0;
  if (plat::MsgBox(p_.rt.forms, p_.shell.LangText[lang::ANGASTTStart],
                   plat::MsgBoxButtons::OKCancel, plat::MsgBoxIcon::None) != plat::MsgBoxResult::OK)
    return;
  StatoRichiesto = "TT";
  if (p_.link.McnRsStatus1 != 12) {
    Command4.setEnabled(false);
    Command1.setEnabled(false);
    for (plat::Label* l : {&Label37, &Label38, &Label39}) l->setVisible(true);
  }
  g.GasReplyReady = 1;
}

void ANGAS::Command7_Click() {
  GasLogFlag = !GasLogFlag;
  Command7.setCaption(GasLogFlag ? "LOG ON" : "LOG OFF");
}

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
    // Whatever part of a reply came is dropped: a lost byte must not hold the next reply.
    own.DiscardInput();
    GasRxBuffer.clear();
    g.GasReplyReady = 1;
  }
}

void ANGAS::MSComm2_OnComm() {
  if (const int code = MSComm2.CommEvent(); code != plat::kCommEvReceive) {
    if (LineEventBeeps(code)) rt().app.Beep();
    return;
  }
  const std::string input = MSComm2.Input();
  if (input.empty()) return;
  bool handled = false;
  if (OpenedComMode == 1) {
    handled = HandleOwnGasReply(input);
  } else if (OpenedComMode == 2) {
    AppendReceived(GasRxBuffer, input, true);
    handled = HandleMcnGasReply(*this) == GasReplyOutcome::Handled;
  }
  if (!handled) return;
  if (OpenedComMode == 1) Label14.setCaption(Stato);
  GasRxBuffer.clear();
  p_.gas.GasReplyReady = 1;
}

void ANGAS::SendOwnGasRequest() {
  std::optional<OwnGasRequest> req = NextOwnGasRequest(*this, p_.shell, p_.gas);
  if (!req) return;
  Apply(req->edits);
  SendOwnFrame(req->command, req->data);
}

bool ANGAS::HandleOwnGasReply(std::string_view input) {
  OwnCollected got = own.Receive(input);
  if (got.status != OwnReplyCheck::Complete) return false;
  const ProgressView bar{PBar1.Visible(), PBar1.Min(), PBar1.Max(), PBar1.Value()};
  OwnGasReplyResult res =
      HandleOwnGasFrame(*this, p_.gas, p_.link, p_.shell, p_.rt.regional, bar, got.frame);
  if (!res.handled) return false;
  Apply(res.edits);
  if (res.measurement) {
    AfterMeasurementReply();
    PrevState = "ACQ";
  }
  return true;
}

void ANGAS::AfterMeasurementReply() {
  const ShellState& s = p_.shell;
  if (GasLogFlag && Label5.Caption() == s.LangText[lang::ANFUMOMisura]) {
    const GasLogLine line{Label8.Caption(),  Label10.Caption(), Label11.Caption(),
                          Label12.Caption(), Label33.Caption(), Label9.Caption(),
                          Label26.Caption(), Label15.Caption(), Label13.Caption()};
    const std::string problem = AppendGasLog(
        p_.rt.programFolder, line, plat::FormatDateAndTime(p_.rt.loop.localTime(), p_.rt.regional),
        p_.link.InstrSerial);
    if (!problem.empty())
      TellLogNotWritten(p_, GasLogProblemTold, p_.rt.programFolder / kGasLogName, problem);
  }
  AvanzaProva(*this);
}

plat::Control& ANGAS::ControlOf(GasControl c) {
  switch (c) {
    case GasControl::Label4:
      return Label4;
    case GasControl::Label5:
      return Label5;
    case GasControl::Label7:
      return Label7;
    case GasControl::Label8:
      return Label8;
    case GasControl::Label9:
      return Label9;
    case GasControl::Label10:
      return Label10;
    case GasControl::Label11:
      return Label11;
    case GasControl::Label12:
      return Label12;
    case GasControl::Label13:
      return Label13;
    case GasControl::Label15:
      return Label15;
    case GasControl::Label25:
      return Label25;
    case GasControl::Label26:
      return Label26;
    case GasControl::Label27:
      return Label27;
    case GasControl::Label28:
      return Label28;
    case GasControl::Label33:
      return Label33;
    case GasControl::Combo1:
      return Combo1;
    case GasControl::Combo3:
      return Combo3;
    case GasControl::Command1:
      return Command1;
    case GasControl::PBar1:
      return PBar1;
  }
  return Label5;
}

void ANGAS::Apply(const ScreenEdits& edits) {
  using Kind = ScreenEdit::Kind;
  for (const ScreenEdit& e : edits) {
    plat::Control& c = ControlOf(e.control);
    switch (e.kind) {
      case Kind::Caption:
        if (auto* label = dynamic_cast<plat::Label*>(&c))
          label->setCaption(e.text);
        else if (auto* button = dynamic_cast<plat::CommandButton*>(&c))
          button->setCaption(e.text);
        break;
      case Kind::BackColor:
        c.setBackColor(e.color);
        break;
      case Kind::Enabled:
        c.setEnabled(e.on);
        break;
      case Kind::Visible:
        c.setVisible(e.on);
        break;
      case Kind::ShowEntry:
        if (auto* combo = dynamic_cast<plat::ComboBox*>(&c)) combo->setText(combo->List(e.entry));
        break;
      case Kind::Value:
        PBar1.setValue(e.value);
        break;
    }
  }
}

}  // namespace vs
