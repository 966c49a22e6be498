#include "forms/gas/PrtKYMRADIAGN.h"

#include "forms/Program.h"
#include "forms/gas/GasPageLayout.h"
#include "forms/shell/PrintPage.h"
#include "shell/LanguageKeys.h"

namespace vs {

using namespace gaspage;

PrtKYMRADIAGN::PrtKYMRADIAGN(Program& p) : plat::Form(p.rt.forms, "PrtKYMRADIAGN"), p_(p) {
  setBorderStyle(plat::BorderStyle::None);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setBackColor(plat::colors::kWhite);
  setSize(747, 625);
  const plat::Color blue = kDataBlue, yellow = kValueYellow;

  TopBar(Picture4, Label91, 0x80000005, Label30, Text5(1), Command2, Command1, 96);
  IdentitySections(*this, Label1, Label35, 128, 96, 256);

  Header(Label49, 17, 344, 713);
  Frame(Picture5, 17, 361, 713, 21);
  Pair(Picture5, Label34, Label32, 2, 2, 150, 70, yellow);
  Label42.setCaption("°C");
  Label42.setContainer(Picture5);
  Label42.setBackColor(plat::colors::kWhite);
  Label42.Move(226, 2, 30, kRowHeight - 1);
  Pair(Picture5, Label44, Label46, 300, 2, 150, 70, yellow);

  Header(Label70, 17, 400, 713);
  Frame(Picture8, 17, 417, 713, 38);
  EmissionReadings(Picture8, {{{&Label68, &Label69},
                               {&Label64, &Label66},
                               {&Label67, &Label65},
                               {&Label74, &Label75},
                               {&Label58, &Label72},
                               {&Label73, &Label71}}});
  Label33.setCaption("NOx(ppm)");
  Pair(Picture8, Label33, Label31, 536, 2, 90, 80, yellow);

  struct Row {
    plat::Label& caption;
    plat::Label* value;
    int left, top, captionWidth, valueWidth;
  };
  const Row foot[] = {
      {Label80, &Label81, 17, 504, 90, 100},  {Label84, &Label85, 350, 504, 90, 100},
      {Label86, &Label87, 17, 528, 90, 200},  {Label90, nullptr, 350, 528, 200, 0},
      {Label88, &Label89, 17, 552, 130, 300},
  };
  for (const Row& r : foot) {
    r.caption.setBackColor(plat::colors::kWhite);
    r.caption.Move(r.left, r.top, r.captionWidth, kRowHeight - 1);
    if (r.value == nullptr) continue;
    r.value->setBackColor(blue);
    r.value->Move(r.left + r.captionWidth + 2, r.top, r.valueWidth, kRowHeight - 1);
  }

  Command1.onClick = [this] { Unload(); };
  Command2.onClick = [this] { Command2_Click(); };
}

void PrtKYMRADIAGN::Form_Load() {
  const auto& t = p_.shell.LangText;
  Label91.setCaption(t[lang::PrtKYMRADiagnMis]);
  setCaption(Label91.Caption());  // names the window and the print job
  Label30.setCaption("N° " + t[lang::PrtKYMRADiagnCopie]);
  Command2.setToolTipText(t[lang::StampaOpaStampa]);
  IdentityCaptions(*this, Label1, Label35, t);
  Label49.setCaption(t[lang::PrtKYMRACERTParMot]);
  Label34.setCaption(t[lang::PrtKYMRACERTTolioMot]);
  Label44.setCaption(t[lang::PrtKYMRADiagnGirMot]);
  Label70.setCaption(t[lang::PrtKYMRACERTValEmis]);
  Label80.setCaption(t[lang::PrtKYMRACERTData]);
  Label84.setCaption(t[lang::PrtKYMRADiagnOra]);
  Label86.setCaption(t[lang::PrtKYMRADiagnOpe]);
  Label90.setCaption(t[lang::PrtKYMRACERTFirma]);
  Label88.setCaption(t[lang::PrtKYMRACERTNomeEnte]);
}

void PrtKYMRADIAGN::ShowSheet(const GasDiagnosisSheet& d) {
  ShowIdentity(*this, d);
  Label32.setCaption(d.Label32);
  Label46.setCaption(d.Label46);
  Label69.setCaption(d.Label69);
  Label66.setCaption(d.Label66);
  Label65.setCaption(d.Label65);
  Label75.setCaption(d.Label75);
  Label72.setCaption(d.Label72);
  Label71.setCaption(d.Label71);
  Label31.setCaption(d.Label31);
  Label81.setCaption(d.Label81);
  Label85.setCaption(d.Label85);
  Label87.setCaption(d.Label87);
  Label89.setCaption(d.Label89);
}

void PrtKYMRADIAGN::Command2_Click() {
  PrintPageCopies(*this, Text5(1).Text(), {&Command1, &Command2, &Text5(1), &Label30}, p_.shell,
                  p_.rt.regional);
}

}  // namespace vs
