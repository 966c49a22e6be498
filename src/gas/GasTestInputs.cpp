#include "gas/GasTestInputs.h"

namespace vs {

GasTexts GasTextsFrom(const std::array<std::string, kLanguageTextCount>& LangText) {
  GasTexts t;
  t.Esito = LangText[11];         // ANFUMOEsito
  t.Dec = LangText[29];           // ANFUMODec
  t.Acc = LangText[30];           // ANFUMOAcc
  t.ManMin = LangText[32];        // ANFUMOManMin
  t.Concl = LangText[33];         // ANFUMOConcl
  t.ConPro = LangText[56];        // ANGASConPro
  t.ProSup = LangText[57];        // ANGASProSup
  t.P1Concl = LangText[58];       // ANGASP1Concl
  t.ProNnSup = LangText[59];      // ANGASProNnSup
  t.ManMinAcc = LangText[60];     // ANGASManMinAcc
  t.P2Concl = LangText[61];       // ANGASP2Concl
  t.ReportTitle = LangText[92];   // PrtKYMRACERTReferto
  t.DurationBad = LangText[137];  // MsgBox1
  return t;
}

}  // namespace vs
