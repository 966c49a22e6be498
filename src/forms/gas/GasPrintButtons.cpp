#include "forms/gas/GasPrintButtons.h"

#include "forms/Program.h"
#include "forms/gas/GasTestSequence.h"
#include "gas/GasCertificate.h"
#include "gas/GasDiagnosisSheet.h"
#include "platform/core/Error.h"
#include "platform/forms/MessageBox.h"
#include "platform/text/Numbers.h"
#include "shell/LanguageKeys.h"
#include "shell/ProgramMessages.h"

namespace vs {

void PrintGasTest(ANGAS& f) {
  Program& p = f.program();
  f.EndMeasTime = p.rt.loop.localTime();
  PrtKYMRACERT& cert = p.prtKYMRACERT;
  StampEndMeasTime(cert.Certificate, f.EndMeasTime, p.rt.regional);

  if (f.GasMode != 0) {
    const GasTestInput in = GasTestInputOf(f);
    PrtKYMRADIAGN& sheet = p.prtKYMRADIAGN;
    sheet.Load();
    sheet.ShowSheet(FillGasDiagnosisSheet(in.print, in.shown, in.now, in.regional));
    sheet.Show(plat::ShowMode::Modal);
    return;
  }

  const std::filesystem::path file = p.rt.programFolder / "report.log";
  const plat::FileResult written =
      WriteGasReportLog(file, cert.Certificate, p.shell.LangText[lang::PrtKYMRACERTReferto]);
  if (!written) {
    // The certificate can still be printed; only the summary file is missing.
    plat::MsgBox(p.rt.forms,
                 MessageText(p.shell, Msg::FileNotWritten, {file.string(), written.reason}),
                 plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
  }
  cert.Load();
  cert.ShowCertificate();
  cert.Show(plat::ShowMode::Modal);
}

void EditGasLimits(ANGAS& f) {
  Program& p = f.program();
  ShellState& s = p.shell;
  LIMITIAN& dialog = p.limitian;
  dialog.Load();
  // Each limit goes through the text the dialog shows for it; one that does not read back
  // keeps its value.
  const std::pair<double*, std::string> fields[] = {
      {&s.GasLimitRpmIdle, dialog.Text1.Text()},
      {&s.GasLimitRpmRaisedLow, dialog.Text2.Text()},
      {&s.GasLimitRpmRaisedHigh, dialog.Text3.Text()},
      {&s.GasLimitLambdaLow, dialog.Text4.Text()},
      {&s.GasLimitLambdaHigh, dialog.Text5.Text()},
      {&s.GasLimitCOcorrIdle, dialog.CombCOcorMin.Text()},
      {&s.GasLimitCOcorrRaisedIdle, dialog.CombCOcorMinacc.Text()},
  };
  for (const auto& [limit, text] : fields) {
    try {
      *limit = plat::ParseDouble(text, p.rt.regional);
    } catch (const plat::RuntimeError&) {
    }
  }
  dialog.Show(plat::ShowMode::Modal);
}

}  // namespace vs
