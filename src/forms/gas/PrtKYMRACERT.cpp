#include "forms/gas/PrtKYMRACERT.h"

#include "forms/Program.h"
#include "forms/gas/GasPageLayout.h"
#include "forms/shell/PrintPage.h"
#include "shell/LanguageKeys.h"

namespace vs {

using namespace gaspage;

namespace {

void ShowBox(plat::Label& box, const GasResultBox& value) {
  box.setCaption(value.Caption);
  box.setBackColor(value.BackColor);
}

}  // namespace

PrtKYMRACERT::PrtKYMRACERT(Program& p) : plat::Form(p.rt.forms, "PrtKYMRACERT"), p_(p) {
  setBorderStyle(plat::BorderStyle::None);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setBackColor(plat::colors::kWhite);
  setSize(747, 668);
  const plat::Color blue = kDataBlue, yellow = kValueYellow;

  TopBar(Picture9, Label91, plat::colors::kWhite, Label1, Text5, Command2, Command1, 88);
  IdentitySections(*this, Label92, Label42, 112, 88, 224);

  Header(Label41, 17, 288, 713);
  Frame(Picture4, 17, 305, 713, 21);
  Pair(Picture4, Label40, Label30, 2, 2, 130, 70, blue);
  Pair(Picture4, Label33, Label36, 240, 2, 130, 70, blue);
  Pair(Picture4, Label37, Label35, 478, 2, 130, 70, blue);
  Label39.setCaption("°C");
  Label38.setCaption("kPa");
  Label31.setCaption("%");
  int unitLeft = 206;
  for (plat::Label* unit : {&Label39, &Label38, &Label31}) {
    unit->setContainer(Picture4);
    unit->setBackColor(plat::colors::kWhite);
    unit->Move(unitLeft, 2, 30, kRowHeight - 1);
    unitLeft += 238;
  }

  Header(Label49, 17, 336, 713);
  Frame(Picture5, 17, 353, 713, 21);
  Pair(Picture5, Label34, Label32, 2, 2, 150, 70, yellow);
  Pair(Picture5, Label44, Label46, 240, 2, 150, 70, yellow);
  Pair(Picture5, Label59, Label60, 478, 2, 150, 70, yellow);

  Header(Label55, 17, 384, 713);
  Frame(Picture6, 17, 401, 713, 38);
  EmissionReadings(Picture6, {{{&Label45, &Label43},
                               {&Label53, &Label51},
                               {&Label50, &Label52},
                               {&Label101, &Label102},
                               {&Label103, &Label104},
                               {&Label105, &Label106}}});
  Pair(Picture6, Label48, Label47, 536, 2, 90, 80, yellow);

  Header(Label70, 17, 470, 200);
  Header(Label54, 218, 470, 512);
  Frame(Picture8, 17, 487, 713, 38);
  EmissionReadings(Picture8, {{{&Label68, &Label69},
                               {&Label64, &Label66},
                               {&Label67, &Label65},
                               {&Label74, &Label75},
                               {&Label58, &Label72},
                               {&Label73, &Label71}}});
  Pair(Picture8, Label62, Label63, 536, 2, 90, 80, yellow);
  Pair(Picture8, Label56, Label57, 536, 19, 90, 36, yellow);
  Label76.setCaption("/");
  Label76.setContainer(Picture8);
  Label76.setBackColor(plat::colors::kWhite);
  Label76.setAlignment(plat::Alignment::Center);
  Label76.Move(666, 19, 8, kRowHeight - 1);
  Label77.setContainer(Picture8);
  Label77.setBackColor(yellow);
  Label77.Move(675, 19, 36, kRowHeight - 1);

  struct Row {
    plat::Label& caption;
    plat::Label& value;
    int left, top, captionWidth, valueWidth;
    plat::Color color;
  };
  const Row outcome[] = {
      {Label78, Label79, 17, 540, 90, 150, yellow}, {Label80, Label81, 262, 540, 50, 80, yellow},
      {Label82, Label83, 396, 540, 88, 60, yellow}, {Label84, Label85, 550, 540, 118, 60, yellow},
      {Label86, Label87, 17, 564, 130, 190, blue},  {Label88, Label89, 350, 564, 130, 250, blue},
  };
  for (const Row& r : outcome) {
    r.caption.setBackColor(plat::colors::kWhite);
    r.caption.Move(r.left, r.top, r.captionWidth, kRowHeight - 1);
    r.value.setBackColor(r.color);
    r.value.Move(r.left + r.captionWidth + 2, r.top, r.valueWidth, kRowHeight - 1);
  }
  Label79.setFont({"Arial", 8.25, true, false});
  Label90.setBackColor(plat::colors::kWhite);
  Label90.Move(17, 600, 300, kRowHeight);

  Command1.onClick = [this] { Unload(); };
  Command2.onClick = [this] { Command2_Click(); };
}

void PrtKYMRACERT::Form_Load() {
  const auto& t = p_.shell.LangText;
  Label91.setCaption(t[lang::PrtKYMRACERTReferto]);
  setCaption(Label91.Caption());  // names the window and the print job
  Label1.setCaption("N° " + t[lang::PrtKYMRADiagnCopie]);
  Command2.setToolTipText(t[lang::StampaOpaStampa]);
  IdentityCaptions(*this, Label92, Label42, t);
  Label41.setCaption(t[lang::PrtKYMRACERTCondAmb]);
  Label40.setCaption(t[lang::DAMBTemp]);
  Label33.setCaption(t[lang::DAMBPress]);
  Label37.setCaption(t[lang::DAMBUmid]);
  Label49.setCaption(t[lang::PrtKYMRACERTParMot]);
  Label34.setCaption(t[lang::PrtKYMRACERTTolioMot]);
  Label44.setCaption(t[lang::PrtKYMRACERTGirMin]);
  Label59.setCaption(t[lang::PrtKYMRACERTGirMinAcc]);
  Label55.setCaption(t[lang::PrtKYMRACERTValEmis]);
  Label48.setCaption(t[lang::PrtKYMRACERTLimCOcorr]);
  Label70.setCaption(t[lang::PrtKYMRACERTValEmis]);
  Label54.setCaption(t[lang::PrtKYMRACERTProvSupl]);
  Label62.setCaption(t[lang::PrtKYMRACERTLimCOcorr]);
  Label56.setCaption(t[lang::PrtKYMRACERTLimLam]);
  Label78.setCaption(t[lang::ANFUMOEsito]);
  Label80.setCaption(t[lang::PrtKYMRACERTData]);
  Label82.setCaption(t[lang::PrtKYMRACERTInMis]);
  Label84.setCaption(t[lang::PrtKYMRACERTFinMis]);
  Label86.setCaption(t[lang::PrtKYMRACERTRespTec]);
  Label88.setCaption(t[lang::PrtKYMRACERTNomeEnte]);
  Label90.setCaption(t[lang::PrtKYMRACERTFirma]);
}

void PrtKYMRACERT::ShowCertificate() {
  const GasCertificate& c = Certificate;
  ShowIdentity(*this, c);
  Label30.setCaption(c.Label30);
  Label36.setCaption(c.Label36);
  Label35.setCaption(c.Label35);
  Label32.setCaption(c.Label32);
  ShowBox(Label46, c.Label46);
  ShowBox(Label60, c.Label60);
  Label43.setCaption(c.Label43);
  Label51.setCaption(c.Label51);
  ShowBox(Label52, c.Label52);
  Label47.setCaption(c.Label47);
  Label102.setCaption(c.Label102);
  Label104.setCaption(c.Label104);
  Label106.setCaption(c.Label106);
  Label69.setCaption(c.Label69);
  Label66.setCaption(c.Label66);
  ShowBox(Label65, c.Label65);
  Label63.setCaption(c.Label63);
  Label75.setCaption(c.Label75);
  Label72.setCaption(c.Label72);
  ShowBox(Label71, c.Label71);
  Label57.setCaption(c.Label57);
  Label77.setCaption(c.Label77);
  ShowBox(Label79, c.Label79);
  Label81.setCaption(c.Label81);
  Label83.setCaption(c.Label83);
  Label85.setCaption(c.Label85);
  Label87.setCaption(c.Label87);
  Label89.setCaption(c.Label89);
}

void PrtKYMRACERT::Command2_Click() {
  PrintPageCopies(*this, Text5.Text(), {&Command1, &Command2, &Text5, &Label1}, p_.shell,
                  p_.rt.regional);
}

}  // namespace vs
