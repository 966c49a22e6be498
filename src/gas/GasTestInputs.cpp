#include "gas/GasTestInputs.h"

namespace vs {

GasTexts GasTextsFrom(const std::array<std::string, kLanguageTextCount>& LangText) {
  GasTexts t;
  t.Esito = LangText[lang::ANFUMOEsito];
  t.Dec = LangText[lang::ANFUMODec];
  t.Acc = LangText[lang::ANFUMOAcc];
  t.ManMin = LangText[lang::ANFUMOManMin];
  t.Concl = LangText[lang::ANFUMOConcl];
  t.ConPro = LangText[lang::ANGASConPro];
  t.ProSup = LangText[lang::ANGASProSup];
  t.P1Concl = LangText[lang::ANGASP1Concl];
  t.ProNnSup = LangText[lang::ANGASProNnSup];
  t.ManMinAcc = LangText[lang::ANGASManMinAcc];
  t.P2Concl = LangText[lang::ANGASP2Concl];
  t.DurationBad = LangText[lang::MsgBox1];
  t.ReportTitle = LangText[lang::PrtKYMRACERTReferto];
  return t;
}

}  // namespace vs
