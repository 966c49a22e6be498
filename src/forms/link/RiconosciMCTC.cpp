#include "forms/link/RiconosciMCTC.h"

#include <string>

#include "forms/Program.h"
#include "link/RecognitionReport.h"
#include "link/ReplyParsers.h"
#include "link/Senders.h"
#include "platform/core/Error.h"

namespace vs {

namespace {

constexpr const char* kScanSettings = "9600,n,8,1";

std::string Com(int port) { return "Com" + std::to_string(port); }

}  // namespace

RiconosciMCTC::RiconosciMCTC(Program& p)
    : plat::Form(p.rt.forms, "RiconosciMCTC"), MSComm3(p.rt.serial), p_(p) {
  setCaption("Lettura COM");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(540, 380);

  Label3.setFont({"Arial", 12, true, false});
  Label3.setAlignment(plat::Alignment::Center);
  Label3.setBorderSingle(true);
  Label3.setBackColor(plat::colors::kRed);
  Label3.Move(12, 12, 516, 34);

  Command1.setCaption("&Ricerca");
  Command1.setFontSize(9.75);
  Command1.setDefault(true);
  Command1.Move(262, 58, 130, 34);
  Command2.setCaption("&ESC");
  Command2.setFontSize(9.75);
  Command2.setCancel(true);
  Command2.Move(398, 58, 130, 34);

  Text2.setFont({"Arial", 11.25, true, false});
  Text2.setAlignment(plat::Alignment::Center);
  Text2.setLocked(true);
  Text2.Move(12, 60, 190, 30);

  Text3.setFont({"Courier New", 9.75, false, false});
  Text3.setMultiLine(true);
  Text3.setVerticalScrollBar(true);
  Text3.setLocked(true);
  Text3.Move(12, 104, 516, 264);

  Timer1.setInterval(500);
  Timer1.setEnabled(false);

  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  MSComm3.OnComm = [this] { MSComm3_OnComm(); };
  addDiscardAction([this] { ClosePort(); });
}

void RiconosciMCTC::Form_Load() {
  scan.Reset();
  MaxPort = kMaxPorts;
  Port = 0;
  scan.step = RecognitionStep::Idle;
  const auto& t = p_.shell.LangText;
  Label3.setCaption(t[lang::RiconoscimentoInizia]);
  Label3.setBackColor(plat::colors::kRed);
  Command1.setCaption(t[lang::RiconoscimentoRic]);
  setCaption(t[lang::RiconoscimentoCaption]);
}

void RiconosciMCTC::Command1_Click() {
  ClosePort();  // a port left open would keep the first port of this scan from opening
  Port = 1;
  scan.step = RecognitionStep::Idle;
  for (int n = 1; n <= MaxPort; ++n) Results[static_cast<std::size_t>(n)] = "1";
  Timer1.setEnabled(true);
  Command1.setEnabled(false);
  Label3.setCaption(p_.shell.LangText[lang::RiconoscimentoAtto]);
  Label3.setBackColor(plat::colors::kGreen);
  report.clear();
  Text3.setText("");
}

void RiconosciMCTC::Command2_Click() {
  if (Port == 0) {
    Unload();
    return;
  }
  EndScan();
}

void RiconosciMCTC::EndScan() {
  ClosePort();
  Port = 0;
  scan.step = RecognitionStep::Idle;
  Label3.setCaption(p_.shell.LangText[lang::RiconoscimentoFine]);
  Label3.setBackColor(plat::colors::kYellow);
  Command1.setEnabled(true);
  Timer1.setEnabled(false);
  Text2.setText(Com(Port));
  ShowRecognitionReport();
}

void RiconosciMCTC::ClosePort() {
  if (MSComm3.PortOpen()) MSComm3.setPortOpen(false);
}

void RiconosciMCTC::Timer1_Timer() {
  scan.DiscardInput();  // a reply must arrive within the tick after its request
  if (Port == 0) return;
  switch (scan.step) {
    case RecognitionStep::Idle:
      scan.step = RecognitionStep::AskGas;
      break;
    case RecognitionStep::AskGas:
      scan.step = RecognitionStep::AskOpa;
      break;
    case RecognitionStep::AskOpa:
      scan.step = RecognitionStep::AskRpm;
      break;
    case RecognitionStep::AskRpm:
      ClosePort();
      scan.step = RecognitionStep::AskGas;
      ++Port;
      if (Port == MaxPort + 1) {
        EndScan();
        return;
      }
      break;
  }
  std::string address;
  if (scan.step == RecognitionStep::AskGas) {
    try {
      MSComm3.setCommPort(Port);
      MSComm3.setSettings(kScanSettings);
      MSComm3.setRThreshold(1);
      MSComm3.setPortOpen(true);
    } catch (const plat::RuntimeError&) {
      ClosePort();
      scan.step = RecognitionStep::AskRpm;  // the next tick moves on
      Results[static_cast<std::size_t>(Port)] = "0";
      Text2.setText(Com(Port) + " KO");
      return;
    }
    address = "GAS";
  } else if (scan.step == RecognitionStep::AskOpa) {
    address = "OPA";
  } else {
    address = "RPM";
  }
  LinkState& l = p_.link;
  l.McnAddress = address;
  l.McnCommand = "ID";
  l.McnCommandLen = 2;
  l.McnDevNumber = "1";
  l.McnDevNumberLen = 1;
  SendMctcNetFrameToRecognitionForm(MSComm3, address, "ID", "1", "");
  scan.Sent(address, "ID", 1);
  Text2.setText(Com(Port) + " " + address);
}

void RiconosciMCTC::MSComm3_OnComm() {
  LinkState& l = p_.link;
  const McnCollected got = scan.Receive(MSComm3.Input());
  if (got.status != McnCollected::Status::Accepted) return;
  ParseIdReply(l, got.frame, l.McnCommandLen, l.McnDevNumberLen);
  scan.step = RecognitionStep::AskRpm;  // the next tick moves on to the next port
  Results[static_cast<std::size_t>(Port)] = IdentityLine(l);
}

void RiconosciMCTC::ShowRecognitionReport() {
  report = RecognitionReport(
      std::span<const std::string>(Results).first(static_cast<std::size_t>(MaxPort) + 1));
  Text3.setText(report);
}

}  // namespace vs
