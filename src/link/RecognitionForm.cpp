#include "link/RecognitionForm.h"

#include <string>

#include "app/Program.h"
#include "link/FrameCollector.h"
#include "link/ReplyParsers.h"
#include "link/Senders.h"
#include "platform/core/Error.h"

namespace vs {

namespace {

constexpr const char* kScanSettings = "9600,n,8,1";
constexpr const char* kCrLf = "\r\n";
constexpr const char* kGap = "   ";  // between the parts of an identity

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
  addDiscardAction([this] {
    ClosePort();
    p_.link.ports.RiconosciMSComm3 = nullptr;
  });
}

void RiconosciMCTC::Form_Load() {
  p_.link.ports.RiconosciMSComm3 = &MSComm3;
  buffer.clear();
  MaxPort = kMaxPorts;
  Port = 0;
  Step = 0;
  const auto& t = p_.shell.LangText;
  Label3.setCaption(t[lang::RiconoscimentoInizia]);
  Label3.setBackColor(plat::colors::kRed);
  Command1.setCaption(t[lang::RiconoscimentoRic]);
  setCaption(t[lang::RiconoscimentoCaption]);
}

void RiconosciMCTC::Command1_Click() {
  ClosePort();  // a port left open would keep the first port of this scan from opening
  Port = 1;
  Step = 0;
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
  Step = 0;
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
  buffer.clear();  // a reply must arrive within the tick after its request
  if (Port == 0) return;
  ++Step;
  if (Step == 4) {
    ClosePort();
    Step = 1;
    ++Port;
    if (Port == MaxPort + 1) {
      EndScan();
      return;
    }
  }
  std::string address;
  if (Step == 1) {
    try {
      MSComm3.setCommPort(Port);
      MSComm3.setSettings(kScanSettings);
      MSComm3.setRThreshold(1);
      MSComm3.setPortOpen(true);
    } catch (const plat::RuntimeError&) {
      ClosePort();
      Step = 3;  // the next tick moves on
      Results[static_cast<std::size_t>(Port)] = "0";
      Text2.setText(Com(Port) + " KO");
      return;
    }
    address = "GAS";
  } else if (Step == 2) {
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
  SendMctcNetFrameToRecognitionForm(p_, address, "ID", "1", "");
  Text2.setText(Com(Port) + " " + address);
}

void RiconosciMCTC::MSComm3_OnComm() {
  LinkState& l = p_.link;
  const McnCollected got = CollectSetupReply(l, buffer, MSComm3.Input());
  if (got.status != McnCollected::Status::Accepted || got.echo != "ID") return;
  ParseIdReply(p_, got.frame, l.McnCommandLen, l.McnDevNumberLen);
  Step = 3;  // the next tick moves on to the next port
  Results[static_cast<std::size_t>(Port)] =
      l.InstrMake + kGap + l.InstrModel + kGap + l.InstrSerial + kGap + l.InstrVersion;
}

void RiconosciMCTC::ShowRecognitionReport() {
  report.clear();
  for (int n = 1; n <= MaxPort; ++n) {
    const std::string& r = Results[static_cast<std::size_t>(n)];
    if (r == "0") continue;
    if (r == "1") {
      report += Com(n) + " no connect" + kCrLf;
    } else {
      report += Com(n) + kGap + r + kCrLf;
    }
  }
  Text3.setText(report);
}

}  // namespace vs
