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

  Picture4.setPicture("banner");
  Picture4.Move(11, 0, 715, 87);
  Label91.setFont({"Arial", 12, true, false});
  Label91.setAlignment(plat::Alignment::Center);
  Label91.setBackColor(0x80000005);  // the system's window colour
  Label91.Move(17, 96, 480, 22);
  Label30.setBackColor(plat::colors::kWhite);
  Label30.Move(500, 99, 75, 17);
  Text5(1).setText("1");
  Text5(1).setAlignment(plat::Alignment::Center);
  Text5(1).Move(577, 96, 30, 21);
  for (plat::CommandButton* b : {&Command2, &Command1}) b->setStyle(plat::ButtonStyle::Graphical);
  Command2.setPicture("print");
  Command2.Move(615, 94, 52, 24);
  Command1.setPicture("close");
  Command1.setDefault(true);
  Command1.setCancel(true);
  Command1.Move(674, 94, 52, 24);

  Header(Label1, 17, 128, 350);
  Frame(Picture1, 17, 145, 350, 96);
  Pair(Picture1, Label2, Text1, 2, 2, 150, 190, blue);
  Pair(Picture1, Label3, Text2, 2, 19, 150, 190, blue);
  Pair(Picture1, Label4, Label7, 2, 36, 150, 190, blue);
  Pair(Picture1, Label5, Label8, 2, 53, 150, 190, blue);
  Pair(Picture1, Label6, Label9, 2, 70, 150, 190, blue);

  Header(Label19, 384, 128, 346);
  Frame(Picture2, 384, 145, 346, 96);
  Pair(Picture2, Label18, Text3, 2, 2, 160, 176, blue);
  Pair(Picture2, Label16, Label13, 2, 19, 160, 176, blue);
  Pair(Picture2, Label15, Label12, 2, 36, 160, 176, blue);
  Pair(Picture2, Label14, Label11, 2, 53, 160, 176, blue);

  Header(Label25, 17, 256, 713);
  Frame(Picture3, 17, 273, 713, 38);
  Pair(Picture3, Label10, Text4, 2, 2, 95, 79, blue);
  Pair(Picture3, Label35, Text6, 180, 2, 95, 79, blue);
  Pair(Picture3, Label17, Label22, 358, 2, 95, 79, blue);
  Pair(Picture3, Label20, Label23, 536, 2, 95, 79, blue);
  Pair(Picture3, Label21, Label24, 2, 19, 95, 79, blue);
  Pair(Picture3, Label26, Label27, 180, 19, 95, 79, blue);
  Pair(Picture3, Label28, Label29, 358, 19, 95, 79, blue);
  Label21.setVisible(false);
  Label24.setVisible(false);

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
  Label68.setCaption("CO(%vol.)");
  Label64.setCaption("CO2(%vol.)");
  Label67.setCaption("COcorr(%vol.)");
  Label33.setCaption("NOx(ppm)");
  Label74.setCaption("HC(ppm)");
  Label58.setCaption("O2(%vol.)");
  Label73.setCaption("LAMBDA");
  Pair(Picture8, Label68, Label69, 2, 2, 90, 80, yellow);
  Pair(Picture8, Label64, Label66, 180, 2, 90, 80, yellow);
  Pair(Picture8, Label67, Label65, 358, 2, 90, 80, yellow);
  Pair(Picture8, Label33, Label31, 536, 2, 90, 80, yellow);
  Pair(Picture8, Label74, Label75, 2, 19, 90, 80, yellow);
  Pair(Picture8, Label58, Label72, 180, 19, 90, 80, yellow);
  Pair(Picture8, Label73, Label71, 358, 19, 90, 80, yellow);

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
  Label1.setCaption(t[lang::PrtKYMRACERTDatiAn]);
  Label2.setCaption(t[lang::ANSUMarc]);
  Label3.setCaption(t[lang::PrtKYMRACERTTipo]);
  Label4.setCaption(t[lang::ANSUNOm]);
  Label5.setCaption(t[lang::PrtKYMRACERTNserie]);
  Label6.setCaption(t[lang::PrtKYMRACERTDscadCon] + " " + t[lang::ANSUCaption]);
  Label19.setCaption(t[lang::PrtKYMRACERTDatiRPM]);
  Label18.setCaption(t[lang::DVeicoliFeT]);
  Label16.setCaption(t[lang::ANSUNOm]);
  Label15.setCaption(t[lang::PrtKYMRACERTNserie]);
  Label14.setCaption(t[lang::PrtKYMRACERTDscadCon] + " RPM");
  Label25.setCaption(t[lang::PrtKYMRACERTDatiVeic]);
  Label10.setCaption(t[lang::DVeicoliFeT]);
  Label35.setCaption(t[lang::DVeicoliMod]);
  Label17.setCaption(t[lang::DVeicoliTarga]);
  Label20.setCaption(t[lang::DVeicoliTelaio]);
  Label21.setCaption(t[lang::PrtKYMRACERTTipoMot]);
  Label26.setCaption(t[lang::PrtKYMRACERTCarb]);
  Label28.setCaption(t[lang::DVeicoliAImm]);
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
  Text1.setText(d.Text1);
  Label7.setCaption(d.Label7);
  Text2.setText(d.Text2);
  Text3.setText(d.Text3);
  Label13.setCaption(d.Label13);
  Label12.setCaption(d.Label12);
  Label11.setCaption(d.Label11);
  Label8.setCaption(d.Label8);
  Label9.setCaption(d.Label9);
  Label27.setCaption(d.Label27);
  Label24.setCaption(d.Label24);
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
  Text4.setText(d.Text4);
  Text6.setText(d.Text6);
  Label22.setCaption(d.Label22);
  Label23.setCaption(d.Label23);
  Label29.setCaption(d.Label29);
}

void PrtKYMRADIAGN::Command2_Click() {
  PrintPageCopies(*this, Text5(1).Text(), {&Command1, &Command2, &Text5(1), &Label30},
                  p_.rt.regional);
}

}  // namespace vs
