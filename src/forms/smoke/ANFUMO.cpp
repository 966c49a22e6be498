#include "forms/smoke/ANFUMO.h"

#include <string>

#include "forms/Program.h"
#include "forms/shell/ReadingLogBox.h"
#include "forms/smoke/SmokeLinkSteps.h"
#include "forms/smoke/SmokeSeriesSteps.h"
#include "link/PortOpening.h"
#include "link/PortSettings.h"
#include "platform/core/Error.h"
#include "platform/text/Numbers.h"
#include "shell/SettingsStore.h"
#include "smoke/PhaseMachine.h"
#include "smoke/SmokeCycle.h"
#include "smoke/SmokeReadings.h"

namespace vs {

namespace {

constexpr plat::Color kFormYellow = 0x0000FFFF;
constexpr plat::Color kDesignGreen = 0x000A8D10;
constexpr const char* kNoReading = "- - -";
constexpr const char* kPortDesignSettings = "9600,n,8,1";

// Bit of the binary status byte 9: the instrument asks for an automatic zero.
constexpr int kZeroRequestBit = 16;

void ValueCell(plat::Label& l, int x, int y, int w, int h) {
  l.setCaption(kNoReading);
  l.setBackColor(plat::colors::kWhite);
  l.setAlignment(plat::Alignment::Center);
  l.setBorderSingle(true);
  l.Move(x, y, w, h);
}

void Title(plat::Label& l, const char* caption, int x, int y, int w, int h) {
  l.setCaption(caption);
  l.setBackColor(kDesignGreen);
  l.setForeColor(plat::colors::kWhite);
  l.Move(x, y, w, h);
}

}  // namespace

ANFUMO::ANFUMO(Program& p) : plat::Form(p.rt.forms, "ANFUMO"), MSComm1(p.rt.serial), p_(p) {
  setCaption("Analisi Fumo");
  setBackColor(kFormYellow);
  setBorderStyle(plat::BorderStyle::FixedSingle);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(760, 566);

  Picture1.Move(8, 8, 120, 60);
  Picture1.setPicture("logo");

  FrameOPA(0).setCaption("                           Misura ");
  FrameOPA(0).setBackColor(kDesignGreen);
  FrameOPA(0).Move(140, 8, 300, 120);
  const plat::Font big{"Arial", 24, true, false};
  ValueCell(Label27, 150, 40, 160, 40);
  Label27.setFont(big);
  Title(Label3, "K", 316, 48, 40, 24);
  ValueCell(Label28, 150, 84, 160, 40);
  Label28.setFont(big);
  Title(Label4, "%", 316, 92, 60, 24);

  TEMPERATURE.setCaption("");
  TEMPERATURE.setBackColor(kDesignGreen);
  TEMPERATURE.Move(450, 8, 300, 150);
  Title(Label45, "RPM", 456, 20, 110, 24);
  ValueCell(Label31, 570, 20, 110, 28);
  Title(Label46, "rpm", 686, 20, 50, 24);
  Title(Label6, " Temp. Olio ", 456, 52, 110, 24);
  ValueCell(Label25, 570, 52, 110, 28);
  Title(Label48, "°C", 686, 52, 50, 24);
  Title(Label7, " Temp. Fumi  ", 456, 84, 110, 24);
  ValueCell(Label26, 570, 84, 110, 28);
  Title(Label47, "°C", 686, 84, 50, 24);
  Title(Label5, "Temp. Cella ", 456, 116, 110, 24);
  ValueCell(Label24, 570, 116, 110, 28);
  Label24.setCaption(" - - -");
  Title(Label49, "°C", 686, 116, 50, 24);

  Label2.setCaption("");
  Label2.setBackColor(plat::colors::kWhite);
  Label2.setBorderSingle(true);
  Label2.Move(8, 164, 742, 26);
  Label39.setCaption("");
  Label39.setBackColor(plat::colors::kWhite);
  Label39.setBorderSingle(true);
  Label39.setFont({"Arial", 12, true, false});
  Label39.Move(8, 194, 742, 30);

  Label33.setCaption("ESITO NEGATIVO");
  Label33.setBackColor(plat::colors::kWhite);
  Label33.setBorderSingle(true);
  Label33.setAlignment(plat::Alignment::Center);
  Label33.Move(8, 230, 300, 30);
  Title(Label16, "OPACITA'", 316, 230, 90, 30);
  Title(Label8, "K", 410, 230, 30, 30);
  ValueCell(Label35, 444, 230, 90, 30);
  ValueCell(Label55, 540, 230, 90, 30);
  Title(Label56, "%", 634, 230, 50, 30);

  Title(Label43, "Label43", 8, 268, 140, 26);
  Combo1.setStyle(plat::ComboStyle::DropDownList);
  for (const char* item : {"Continua", "RPM", "Limite Fumi", "Tempo", "Manuale", "Acq.diretta"})
    Combo1.AddItem(item);
  Combo1.setText("Sel.Mis");
  Combo1.Move(152, 268, 160, 26);

  Command2.setCaption("START &MISURA");
  Command2.Move(8, 300, 140, 34);
  Command1.setCaption("&Avanzamento");
  Command1.setEnabled(false);
  Command1.Move(152, 300, 140, 34);
  Command3.setCaption("&IMPOSTA LIMITI");
  Command3.Move(8, 338, 140, 34);
  Command4.setCaption("&STAMPA");
  Command4.Move(152, 338, 140, 34);
  Command5.setCaption("Command5");
  Command5.Move(8, 376, 140, 34);
  Command6.setCaption("Stand&By");
  Command6.Move(152, 376, 140, 34);
  Command7.setCaption("LOG OFF");
  Command7.setDefault(true);
  Command7.setCancel(true);
  Command7.Move(8, 414, 140, 34);
  CmdOut.setCaption("&ESC");
  CmdOut.Move(152, 414, 140, 34);
  for (plat::CommandButton* b :
       {&Command2, &Command1, &Command3, &Command4, &Command5, &Command6, &Command7, &CmdOut})
    b->setBackColor(kDesignGreen);

  Label17.setCaption("Label17");
  Label17.setBackColor(plat::colors::kWhite);
  Label17.Move(8, 456, 140, 24);
  Label44.setCaption("Label44");
  Label44.setBackColor(plat::colors::kWhite);
  Label44.Move(152, 456, 140, 24);
  Title(Label32, "Blocco Fumi", 8, 486, 140, 24);
  Label29.setCaption("");
  Label29.setBackColor(plat::colors::kWhite);
  Label29.Move(152, 486, 140, 24);
  Label30.setCaption("Vrete");
  Label30.setBackColor(plat::colors::kWhite);  // the low-voltage warning blinks from white
  Label30.setVisible(false);
  Label30.Move(8, 516, 284, 24);

  PROINTER.setCaption("Prove Intermedie");
  PROINTER.setBackColor(kDesignGreen);
  PROINTER.Move(320, 268, 430, 290);
  Title(Label9, "K", 370, 284, 110, 20);
  Title(Label19, "rpm", 490, 284, 110, 20);
  plat::Label* numbers[] = {&Label12, &Label13, &Label14, &Label15, &Label20,
                            &Label21, &Label22, &Label23, &Label50, &Label51};
  for (int i = 0; i < 10; ++i) {
    const int y = 306 + 22 * i;
    Title(*numbers[i], std::to_string(i + 1).c_str(), 330, y, 34, 20);
    ValueCell(Label36(i), 370, y, 110, 20);
    ValueCell(Label18(i), 490, y, 110, 20);
    Label37(i).setVisible(false);
    Label38(i).setVisible(false);
    if (i >= 8) {
      Label36(i).setCaption("");
      Label18(i).setCaption("");
    }
  }
  Label36(10).setVisible(false);
  Label18(10).setVisible(false);
  Label37(10).setVisible(false);
  Label38(10).setVisible(false);
  Title(Label54, "RPM", 610, 284, 130, 20);
  Title(Label10, "Min", 610, 306, 50, 20);
  ValueCell(Label52, 664, 306, 76, 20);
  Title(Label11, "Max", 610, 330, 50, 20);
  ValueCell(Label53, 664, 330, 76, 20);
  Label40.Move(8, 160, 742, 1);
  Label41.Move(8, 226, 742, 1);
  Label42.Move(8, 264, 742, 1);

  Timer1.setInterval(kSmokeTickMs);
  Timer1.setEnabled(false);

  Combo1.onClick = [this] { Combo1_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  Command6.onClick = [this] { Command6_Click(); };
  Command7.onClick = [this] { Command7_Click(); };
  CmdOut.onClick = [this] { CmdOut_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  MSComm1.OnComm = [this] { MSComm1_OnComm(); };
  addDiscardAction([this] {
    plat::RunIgnoringErrors({[this] {
      if (MSComm1.PortOpen()) MSComm1.setPortOpen(false);
    }});
    // The port control returns to its design with the others.
    MSComm1.setCommPort(1);
    MSComm1.setSettings(kPortDesignSettings);
    MSComm1.setRThreshold(0);
  });
}

void ANFUMO::Form_Load() {
  // Nothing of the last test survives a new opening: no START request, status word,
  // deadline or counter.
  static_cast<SmokeFormFields&>(*this) = SmokeFormFields{};
  ShellState& s = p_.shell;
  vs::LinkState& l = p_.link;
  const auto& t = s.LangText;

  setCaption(t[lang::ANFUMOCaption]);
  PROINTER.setCaption(t[lang::ANFUMOProve]);
  FrameOPA(0).setCaption(t[lang::ANFUMOFrame]);
  Label5.setCaption(t[lang::ANFUMOTcella]);
  Label6.setCaption(t[lang::ANFUMOTolio]);
  Label7.setCaption(t[lang::ANFUMOTfumi]);
  Label39.setCaption(t[lang::ANFUMOFase]);
  Label16.setCaption(t[lang::ANFUMOOp]);
  Label33.setCaption(t[lang::ANFUMOEsito]);
  Label33.setBackColor(plat::colors::kWhite);
  Label43.setCaption(t[lang::ANFUMOMis]);
  Command1.setCaption(t[lang::ANFUMOAvan]);
  Command2.setCaption(t[lang::ANFUMOStart]);
  Command3.setCaption(t[lang::ANFUMOLim]);
  Command4.setCaption(t[lang::ANFUMOStampa]);
  Command5.setCaption(t[lang::ANFUMODatVeic]);
  Combo1.setList(0, t[lang::ANFUMOMis1]);
  Combo1.setList(2, t[lang::ANFUMOMis2]);
  Combo1.setList(3, t[lang::ANFUMOMis3]);
  Combo1.setList(4, t[lang::ANFUMOMis4]);
  Combo1.setList(5, t[lang::ANFUMOMis15]);
  Label32.setCaption(t[lang::ANFUMOBlocco]);

  LogFlag = false;
  LogProblemTold = false;
  LeggiConfini();
  const SettingsPlace at = ConfPlace(p_.rt);
  LoadSmokeLimits(s, at);
  LoadInstrumentModels(s, at);

  static constexpr struct {
    std::int16_t address;
    const char* serialPrefix;
  } kBinaryModels[] = {{81, "AM"}, {65, "AQ"}, {65, "AN"}, {65, "AP"}, {65, "AB"}};
  const int model = s.OpaModelIndex;
  if (model >= 0 && model <= 4) {
    p_.smoke.OpaDeviceAddress = kBinaryModels[model].address;
    l.InstrSerial = kBinaryModels[model].serialPrefix;
  }
  const bool mctcNet = model == 5;
  if (mctcNet) {
    AutoZeroStatusCount = 0;
    l.McnAddress = "OPA";
    l.McnDevNumber = "1";
    l.McnDevNumberLen = 1;
    l.ShowParseWarning = -1;
    Combo1.AddItem(t[lang::ANFUMOMis5], 6);
  }
  Label29.setVisible(mctcNet);
  Label32.setVisible(mctcNet);
  Command6.setEnabled(mctcNet);
  l.ActiveComMode = mctcNet ? 2 : 1;

  const char* unit = s.OpaUnitIndex == 1 ? "HSU" : "%";
  Label4.setCaption(unit);
  Label56.setCaption(unit);

  LoadVehicleData(s, at);
  Linette();
  Combo1.setListIndex(0);
  OpenPort();

  LinkState = "INIZIO";
  p_.smoke.OpaReplyReady = 1;
  l.McnLuParam = "21";
  p_.smoke.OpaTicksSinceSend = 0;
  Timer1.setEnabled(true);
}

void ANFUMO::LeggiConfini() {
  ShellState& s = p_.shell;
  const SettingsPlace at = ConfPlace(p_.rt);
  const auto file = ReadConfIni(s, at);
  // A key that is missing or empty reads as empty, as the settings store reads it.
  const auto get = [&](const char* section, const char* key) {
    return file ? file->Value(section, key).value_or(std::string()) : std::string();
  };
  Label17.setCaption(get("COMOPA", "Modello"));
  Label44.setCaption(get("COMOPA", "Nserie"));
  try {
    const std::int16_t unit = plat::ParseInt16(get("MODOPA", "UnitOpa"), at.regional);
    s.OpaUnitIndex = unit > 1 ? std::int16_t{0} : unit;
  } catch (const plat::RuntimeError&) {
    // Not a number: the unit stays as it was.
  }
}

void ANFUMO::OpenPort() {
  const ShellState& s = p_.shell;
  ReopenPort(rt(), MSComm1, s.OpaComPort, PortSettingsForSpeed(s.OpaBaudIndex, MSComm1.Settings()),
             s.LangText[lang::RiconoscimentoImpo]);
}

void ANFUMO::Form_Unload(bool&) {
  ShellState& s = p_.shell;
  plat::RunIgnoringErrors({
      [&] { p_.UnloadRpmBesideTest(); },
      [&] { p_.menu.Timer1.setEnabled(true); },
  });
  p_.smoke.AccIndex = 0;
  WarmUpListSent = 0;
  CheckListSent = 0;
  TestPhase.clear();
  ReplyBuffer.clear();
  Timer1.setEnabled(false);
  ReportSaveProblem(p_.rt, SaveSmokeLimits(s, ConfPlace(p_.rt)));
  plat::RunIgnoringErrors({[&] {
    if (MSComm1.PortOpen()) MSComm1.setPortOpen(false);
  }});
  p_.link.OpaFormActive = 0;
}

void ANFUMO::Linette() {
  for (plat::Label* l : {&Label24, &Label25, &Label26, &Label28, &Label27, &Label31})
    l->setCaption(kNoReading);
}

void ANFUMO::EndOfFrame() { EndSmokeFrame(*this, p_.smoke); }

void ANFUMO::Timer1_Timer() {
  switch (SmokeTickStep(*this, p_.smoke, p_.link)) {
    case SmokeTick::Wait:
      break;
    case SmokeTick::SendMctcNet:
      SendMcnSmokeRequest(*this);
      break;
    case SmokeTick::SendOwn:
      SendOwnSmokeRequest(*this);
      break;
    case SmokeTick::TimedOut:
      Label2.setCaption(kSmokeComError);
      break;
  }
}

void ANFUMO::MSComm1_OnComm() {
  const int code = MSComm1.CommEvent();
  switch (code) {
    case plat::kCommEvReceive: {
      const SmokeFrame got = CollectSmokeReply(*this, p_.link, p_.smoke, MSComm1.Input());
      if (got.kind == SmokeFrame::Kind::MctcNet) HandleMcnSmokeReply(*this, got.mcn);
      if (got.kind == SmokeFrame::Kind::Own) HandleOwnSmokeReply(*this, got.own);
      break;
    }
    default:
      if (LineEventBeeps(code)) rt().app.Beep();
      break;
  }
}

void ANFUMO::ShowSmokeReadings(smoke::Protocol protocol) {
  const SmokeReadingsOutcome out =
      TakeSmokeReadings(*this, p_.smoke, p_.link, p_.shell,
                        {protocol, Label2.Caption() == p_.shell.LangText[lang::ANFUMOMisura],
                         rt().loop().localTime(), p_.rt.regional});
  if (out.shown) {
    const SmokeReadingTexts& t = *out.shown;
    Label24.setCaption(t.cellTemp);
    Label25.setCaption(t.oilTemp);
    Label26.setCaption(t.smokeTemp);
    Label28.setCaption(t.opacity);
    Label27.setCaption(t.k);
    Label31.setCaption(t.rpm);
  }
  // A line that cannot be written is lost and told once per opening; the test goes on.
  if (out.logLine) {
    const plat::FileResult logged = AppendSmokeLog(p_.rt.programFolder.string(), *out.logLine);
    if (!logged)
      TellLogNotWritten(p_, LogProblemTold, p_.rt.programFolder / kSmokeLogName, logged.reason);
  }
  if (out.row) {
    const int i = p_.smoke.AccIndex;
    Label36(i).setCaption(out.row->k);
    Label18(i).setCaption(out.row->rpmAtPeak);
    Label37(i).setCaption(out.row->min);
    Label38(i).setCaption(out.row->max);
  }
  if (out.lowest) Label52.setCaption(*out.lowest);
  if (out.highest) Label53.setCaption(*out.highest);
  // The phase step itself runs only while the series is open and the readings are usable;
  // the end of a closed series shows on every value reply.
  StepTestPhase(*this, protocol);
}

void ANFUMO::Combo1_Click() {
  TestMode = static_cast<std::int16_t>(Combo1.ListIndex());
  if (TestMode != 4) Command1.setEnabled(false);
  p_.smoke.AccIndex = 0;
}

void ANFUMO::Command1_Click() { CaptureAccelerationByHand(*this); }

void ANFUMO::Command2_Click() {
  SmokeState& m = p_.smoke;
  for (int i = 0; i < smoke::kAccelerationRows; ++i) {
    for (auto* row : {&Label36, &Label18, &Label37, &Label38}) (*row)(i).setCaption("0");
  }
  Label35.setCaption("0");
  Label55.setCaption("0");
  m.MeasureStart = rt().loop().localTime();
  Label2.setBackColor(plat::colors::kWhite);
  Label39.setBackColor(plat::colors::kWhite);
  Label39.setCaption(p_.shell.LangText[lang::ANFUMOFase]);
  RequestedLinkState = "STARTMIS";
  if ((m.OpaStatus3 & kZeroRequestBit) != 0) RequestedStart = "STARTMIS";
  if (p_.link.ActiveComMode == 2) {
    LinkState = "STARTMIS";
    p_.shell.ExclamPending = -1;
    p_.link.ShowParseWarning = -1;
  }
  m.SmokeLowestRpm = 10000.0;
  m.SmokeHighestRpm = 0;
  m.AccPeakK = 0;
  m.AccMinRpm = 10000.0;
  m.AccMaxRpm = 0;
  m.AccRpmAtPeak = 0;
  m.AccIndex = 0;
  Label52.setCaption("0");
  Label53.setCaption("0");
  Label33.setBackColor(plat::colors::kWhite);
  Label33.setCaption(p_.shell.LangText[lang::ANFUMOEsito]);
  if (TestMode == 4 || TestMode == 5) Command1.setEnabled(false);
  smoke::PhaseMachine(*this, m, *this).Start(TestMode);  // a new series, its first phase
}

void ANFUMO::Command3_Click() {
  p_.limiti.Load();
  p_.limiti.Show(plat::ShowMode::Modal);
}

void ANFUMO::Command4_Click() {
  p_.smoke.MeasureEnd = rt().loop().localTime();
  p_.stampaOpaB.Show(plat::ShowMode::Modal);
}

void ANFUMO::Command5_Click() { p_.dveicoli.Show(plat::ShowMode::Modal); }

void ANFUMO::Command6_Click() {
  LinkState = "STANDBY";
  p_.link.ShowParseWarning = -1;
  RequestedLinkState = "RSTSB";
}

void ANFUMO::Command7_Click() {
  LogFlag = !LogFlag;
  Command7.setCaption(LogFlag ? "LOG ON" : "LOG OFF");
}

void ANFUMO::CmdOut_Click() { Unload(); }

}  // namespace vs
