#include "forms/smoke/SmokeReportPage.h"

#include <array>
#include <cstddef>
#include <string>

#include "forms/Program.h"

namespace vs {

namespace {

constexpr plat::Color kHeadingGreen = 0xFF00;
constexpr plat::Color kCyan = 0xFFFF80;
constexpr plat::Color kYellow = plat::colors::kYellow;
const plat::Font kLabelFont{"Arial", 8.25, false, false};

}  // namespace

void SmokeReportPage::Cell(plat::Control& c, plat::Color back) {
  c.setBackColor(back);
  if (auto* l = dynamic_cast<plat::Label*>(&c)) l->setBorderSingle(true);
}

void SmokeReportPage::Pair(plat::Control& caption, plat::Control& value, int left, int top,
                           int captionWidth, int valueWidth) {
  caption.Move(left, top, captionWidth, rows_.height());
  value.Move(left + captionWidth + 4, top, valueWidth, rows_.height());
}

void SmokeReportPage::Heading(plat::Label& l, int left, int top, int width) {
  l.setBackColor(kHeadingGreen);
  l.setFontBold(true);
  l.setAlignment(plat::Alignment::Center);
  l.Move(left, top, width, rows_.height());
}

SmokeReportPage::SmokeReportPage(Program& p, const char* name, int height, Rows rows)
    : plat::Form(p.rt.forms, name), p_(p), rows_(rows) {
  setCaption("Referto Opacimetro");
  setBorderStyle(plat::BorderStyle::None);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setBackColor(plat::colors::kWhite);
  setSize(kWidth, height);
  for (plat::Control* c : controls()) {
    c->setFont(kLabelFont);
    c->setBackColor(plat::colors::kWhite);
  }

  Picture2.setPicture("banner");
  Picture2.setBorderSingle(false);
  Picture2.Move(0, 0, kWidth, 50);
  Command2.setStyle(plat::ButtonStyle::Graphical);
  Command2.setPicture("print");
  Command2.Move(kWidth - 84, 54, 36, 32);
  Command1.setStyle(plat::ButtonStyle::Graphical);
  Command1.setPicture("close");
  Command1.setCancel(true);
  Command1.Move(kWidth - 44, 54, 36, 32);
  Label1.setFont({"Arial", 14.25, true, false});
  Label1.setAlignment(plat::Alignment::Center);
  Label1.Move(160, 58, kWidth - 320, 26);

  // The two instruments.
  const int top = rows_.instruments();
  constexpr int half = kRight - 16;
  Heading(Label92, 8, top, half);
  Heading(Label28, kRight, top, half);
  constexpr int caption = 176, value = 174;  // room for the longest caption
  Pair(Label27, Text1, 8, top + rows_.step, caption, value);
  Pair(Label3(8), Text2, 8, top + 2 * rows_.step, caption, value);
  Pair(Label26, Label23, 8, top + 3 * rows_.step, caption, value);
  Pair(Label25, Label22, 8, top + 4 * rows_.step, caption, value);
  Pair(Label24, Label21, 8, top + 5 * rows_.step, caption, value);
  Pair(Label18, Text3, kRight, top + rows_.step);
  Pair(Label16, Label17, kRight, top + 2 * rows_.step);
  Pair(Label15, Label19, kRight, top + 3 * rows_.step);
  Pair(Label14, Label20, kRight, top + 4 * rows_.step);
  for (plat::Control* c : std::initializer_list<plat::Control*>{
           &Text1, &Text2, &Label23, &Label22, &Label21, &Text3, &Label17, &Label19, &Label20})
    Cell(*c, kCyan);

  // The vehicle; the hidden engine-type and fuel pair stays empty.
  Heading(Label55, 8, rows_.vehicle(), kWidth - 16);
  Pair(Label52, Text4, 8, rows_.vehicle() + rows_.step);
  Pair(Label51, Label48, kRight, rows_.vehicle() + rows_.step);
  Pair(Label50, Label47, 8, rows_.vehicle() + 2 * rows_.step);
  Pair(Label41, Label29, kRight, rows_.vehicle() + 2 * rows_.step);
  Label42.setCaption("Motore tipo");
  Label45.setCaption("Carburante");
  Pair(Label42, Label43, 8, rows_.vehicle() + 3 * rows_.step);
  Pair(Label45, Label49, kRight, rows_.vehicle() + 3 * rows_.step);
  for (plat::Label* l : {&Label42, &Label43, &Label45, &Label49}) l->setVisible(false);
  for (plat::Control* c : std::initializer_list<plat::Control*>{&Text4, &Label48, &Label47,
                                                                &Label29, &Label43, &Label49})
    Cell(*c, kCyan);

  // The ambient conditions, each value with its unit.
  const int ambient = rows_.ambient();
  Heading(Label54, 8, ambient, kWidth - 16);
  Pair(Label40, Label30, 8, ambient + rows_.step, 150, 120);
  Pair(Label33, Label36, kRight, ambient + rows_.step, 150, 120);
  Pair(Label37, Label35, 8, ambient + 2 * rows_.step, 150, 120);
  Label39.setCaption("°C");
  Label39.Move(8 + 154 + 124, ambient + rows_.step, 40, rows_.height());
  Label38.setCaption("kPa");
  Label38.Move(kRight + 154 + 124, ambient + rows_.step, 40, rows_.height());
  Label31.setCaption("%");
  Label31.Move(8 + 154 + 124, ambient + 2 * rows_.step, 40, rows_.height());
  for (plat::Label* l : {&Label30, &Label36, &Label35}) Cell(*l, kYellow);

  // The engine.
  Heading(Label53, 8, rows_.engine(), half);
  Pair(Label34, Label32, 8, rows_.engine() + rows_.step);
  Pair(Label44, Label46, 8, rows_.engine() + 2 * rows_.step);
  Pair(Label56, Label57, 8, rows_.engine() + 3 * rows_.step);
  for (plat::Label* l : {&Label32, &Label46, &Label57}) Cell(*l, kYellow);

  // The acceleration values: numbers 1 to 8 over the k row; the mean block beside them.
  Heading(Label2, 8, rows_.values(), kWidth - 16);
  const std::array<plat::Label*, 8> numbers = {&Label5, &Label6,  &Label7,  &Label8,
                                               &Label9, &Label10, &Label11, &Label12};
  Label76.setCaption("K");
  Label76.Move(8, rows_.values() + 2 * rows_.step, 40, rows_.height());
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const int left = 52 + static_cast<int>(i) * 50;
    numbers[i]->setCaption(std::to_string(i + 1));
    numbers[i]->setAlignment(plat::Alignment::Center);
    numbers[i]->Move(left, rows_.values() + rows_.step, 46, rows_.height());
    plat::Label& k = Label3(static_cast<int>(i));
    k.setAlignment(plat::Alignment::Center);
    k.Move(left, rows_.values() + 2 * rows_.step, 46, rows_.height());
    Cell(k, kYellow);
  }
  constexpr int mean = 470;
  Label13.Move(mean, rows_.values() + rows_.step, kWidth - mean - 8, rows_.height());
  Label58.Move(mean, rows_.values() + 2 * rows_.step, kWidth - mean - 8, rows_.height());
  Label4.Move(mean, rows_.values() + 3 * rows_.step, 100, rows_.height());
  Label73.setCaption("K");
  Label73.Move(mean + 104, rows_.values() + 3 * rows_.step, 40, rows_.height());
  Label74.Move(mean, rows_.values() + 4 * rows_.step, 100, rows_.height());
  Label75.Move(mean + 104, rows_.values() + 4 * rows_.step, 40, rows_.height());
  for (plat::Label* l : {&Label58, &Label4, &Label74}) Cell(*l, kYellow);

  // Result, date and times on one line; then the technical manager and the testing body.
  const std::array<std::pair<plat::Label*, plat::Label*>, 4> line = {
      {{&Label78, &Label79}, {&Label80, &Label81}, {&Label82, &Label83}, {&Label84, &Label85}}};
  for (std::size_t i = 0; i < line.size(); ++i)
    Pair(*line[i].first, *line[i].second, 8 + static_cast<int>(i) * 184, rows_.lines(), 80, 96);
  Cell(Label79, kYellow);
  for (plat::Label* l : {&Label81, &Label83, &Label85}) Cell(*l, kCyan);
  Pair(Label86, Label87, 8, rows_.lines() + rows_.step + 6);
  Label90.setFont({"Arial", 8.25, true, true});
  Label90.Move(kRight, rows_.lines() + rows_.step + 6, kWidth - kRight - 8, rows_.height());
  Pair(Label88, Label89, 8, rows_.lines() + 2 * rows_.step + 12);
  Cell(Label87, kCyan);
  Cell(Label89, kCyan);

  Command1.onClick = [this] { Unload(); };
}

void SmokeReportPage::FillShared(const smoke::SmokeReportValues& v,
                                 const smoke::SmokeReportCells& c) {
  const auto& t = p_.shell.LangText;
  Label1.setCaption(t[lang::StampaOPARefer]);
  Command2.setToolTipText(t[lang::StampaOpaStampa]);
  const std::array<std::pair<plat::Label*, std::size_t>, 29> captions = {{
      {&Label92, lang::StampaOPADatOp},
      {&Label27, lang::ANSUMarc},
      {&Label3(8), lang::PrtKYMRACERTTipo},
      {&Label26, lang::ANSUNOm},
      {&Label25, lang::PrtKYMRACERTNserie},
      {&Label28, lang::PrtKYMRACERTDatiRPM},
      {&Label18, lang::DVeicoliFeT},
      {&Label16, lang::ANSUNOm},
      {&Label15, lang::PrtKYMRACERTNserie},
      {&Label55, lang::PrtKYMRACERTDatiVeic},
      {&Label52, lang::DVeicoliFeT},
      {&Label51, lang::DVeicoliTarga},
      {&Label50, lang::DVeicoliTelaio},
      {&Label41, lang::DVeicoliAImm},
      {&Label54, lang::PrtKYMRACERTCondAmb},
      {&Label40, lang::DAMBTemp},
      {&Label33, lang::DAMBPress},
      {&Label37, lang::DAMBUmid},
      {&Label34, lang::PrtKYMRACERTTolioMot},
      {&Label44, lang::PrtKYMRACERTGirMin},
      {&Label53, lang::PrtKYMRACERTParMot},
      {&Label56, lang::StampaOPAGirMotMax},
      {&Label2, lang::StampaOPAValOp},
      {&Label78, lang::ANFUMOEsito},
      {&Label80, lang::PrtKYMRACERTData},
      {&Label82, lang::PrtKYMRACERTInMis},
      {&Label84, lang::PrtKYMRACERTFinMis},
      {&Label86, lang::PrtKYMRACERTRespTec},
      {&Label88, lang::PrtKYMRACERTNomeEnte},
  }};
  for (const auto& [label, index] : captions) label->setCaption(t[index]);
  Label24.setCaption(t[lang::PrtKYMRACERTDscadCon] + " " + t[lang::OPASUCaption]);
  Label14.setCaption(t[lang::PrtKYMRACERTDscadCon] + " RPM");
  Label90.setCaption(t[lang::PrtKYMRACERTFirma]);
  Label13.setCaption(t[lang::StampaOPAMedVal]);

  Text1.setText(v.InstrMake);
  Text2.setText(v.InstrModel);
  Label23.setCaption(v.InstrHomologation);
  Label22.setCaption(v.InstrSerial);
  Label21.setCaption(v.InstrExpiry);
  Text3.setText(v.RpmMake);
  Label17.setCaption(v.RpmHomologation);
  Label19.setCaption(v.RpmSerial);
  Label20.setCaption(v.RpmExpiry);
  Text4.setText(v.VehicleMakeType);
  Label48.setCaption(v.VehiclePlate);
  Label47.setCaption(v.VehicleChassis);
  Label29.setCaption(v.VehicleYear);
  Label30.setCaption(v.AmbientTemperature);
  Label36.setCaption(v.AmbientPressure);
  Label35.setCaption(v.AmbientHumidity);
  Label32.setCaption(c.oilTemp);
  Label46.setCaption(c.minRpm);
  Label57.setCaption(c.maxRpm);
  for (int i = 0; i < smoke::kAccelerationRows; ++i) {
    const auto row = static_cast<std::size_t>(i);
    Label3(i).setCaption(v.AccK[row]);
    Label3(i).setBackColor(smoke::AccelerationCellColour(p_.smoke.AccKState[row]));
  }
  Label58.setCaption(p_.smoke.AccelsUsed);
  Label4.setCaption(v.SmokeResultK);
  Label74.setCaption(v.SmokeResultOpacity);
  Label75.setCaption(c.unit);
  Label79.setCaption(v.SmokeResultText);
  Label81.setCaption(c.date);
  Label83.setCaption(c.start);
  Label85.setCaption(c.end);
  Label87.setCaption(v.TechnicalManager);
  Label89.setCaption(v.AgencyName);
}

}  // namespace vs
