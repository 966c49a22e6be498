#include "shell/DataForms.h"

#include "app/Program.h"
#include "shell/SettingsStore.h"

namespace vs {

namespace {

constexpr int kApplyText = 71;  // ANSUAppl

void SetUpDialog(plat::Form& f, int width, int height, plat::CommandButton& apply) {
  f.setBorderStyle(plat::BorderStyle::FixedDialog);
  f.setStartUpPosition(plat::StartUpPosition::CenterScreen);
  f.Move(0, 0, width, height);
  apply.setFontSize(9.75);
  apply.setDefault(true);
  apply.setCancel(true);
  apply.Move((width - 130) / 2, height - 46, 130, 34);
}

// One row of a dialog: its caption label and its text box.
void PlaceRow(plat::Label& label, plat::TextBox& box, int row, int labelWidth, int boxWidth,
              int rowHeight) {
  const int top = 14 + row * (rowHeight + 10);
  label.Move(12, top, labelWidth, rowHeight);
  box.Move(12 + labelWidth + 8, top, boxWidth, rowHeight);
}

void CaptionLabel(plat::Label& label, bool yellow) {
  label.setFontSize(9.75);
  if (yellow) label.setBackColor(plat::colors::kYellow);
}

}  // namespace

// ---- DVeicoli

DVeicoli::DVeicoli(Program& p) : plat::Form(p.rt, "DVeicoli"), p_(p) {
  SetUpDialog(*this, 520, 330, Command1);
  plat::Label* labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5};
  plat::TextBox* boxes[] = {&Text1, &Text2, &Text3, &Text4, &Text5};
  for (int i = 0; i < 5; ++i) {
    CaptionLabel(*labels[i], true);
    boxes[i]->setMultiLine(true);
    PlaceRow(*labels[i], *boxes[i], i, 190, 298, 40);
  }
  Command1.onClick = [this] {
    Save();
    Unload();
  };
}

void DVeicoli::Form_Load() {
  LoadVehicleData(p_);
  const auto& t = p_.shell.LangText;
  setCaption(t[78]);
  Label1.setCaption(t[79]);
  Label2.setCaption(t[80]);
  Label3.setCaption(t[81]);
  Label4.setCaption(t[82]);
  Label5.setCaption(t[166]);
  Command1.setCaption(t[kApplyText]);
  const ShellState& s = p_.shell;
  Text1.setText(s.VehicleMakeType);
  Text2.setText(s.VehiclePlate);
  Text3.setText(s.VehicleChassis);
  Text4.setText(s.VehicleYear);
  Text5.setText(s.VehicleModel);
}

void DVeicoli::Form_Unload(bool& cancel) {
  (void)cancel;
  Save();
}

void DVeicoli::Save() {
  ShellState& s = p_.shell;
  s.VehicleMakeType = Text1.Text();
  s.VehiclePlate = Text2.Text();
  s.VehicleChassis = Text3.Text();
  s.VehicleYear = Text4.Text();
  s.VehicleModel = Text5.Text();
  SaveVehicleData(p_, s.VehicleMakeType, s.VehiclePlate, s.VehicleChassis, s.VehicleYear,
                  s.VehicleModel);
}

// ---- UTENTE

UTENTE::UTENTE(Program& p) : plat::Form(p.rt, "UTENTE"), p_(p) {
  SetUpDialog(*this, 580, 220, Command1);
  plat::Label* labels[] = {&Label1, &Label2, &Label3};
  plat::TextBox* boxes[] = {&Text1, &Text2, &Text3};
  for (int i = 0; i < 3; ++i) {
    CaptionLabel(*labels[i], false);
    boxes[i]->setMultiLine(true);
    PlaceRow(*labels[i], *boxes[i], i, 230, 318, 40);
  }
  Command1.onClick = [this] {
    ShellState& s = p_.shell;
    s.OperatorName = Text1.Text();
    s.TechnicalManager = Text2.Text();
    s.AgencyName = Text3.Text();
    SaveUserData(p_, s.OperatorName, s.TechnicalManager, s.AgencyName);
    Unload();
  };
}

void UTENTE::Form_Load() {
  const auto& t = p_.shell.LangText;
  setCaption(t[132]);
  Label1.setCaption(t[133]);
  Label2.setCaption(t[134]);
  Label3.setCaption(t[115]);
  Command1.setCaption(t[kApplyText]);
  Text1.setText(p_.shell.OperatorName);
  Text2.setText(p_.shell.TechnicalManager);
  Text3.setText(p_.shell.AgencyName);
}

// ---- DAMB

DAMB::DAMB(Program& p) : plat::Form(p.rt, "DAMB"), p_(p) {
  SetUpDialog(*this, 390, 200, Command1);
  plat::Label* labels[] = {&Label1, &Label2, &Label3};
  plat::TextBox* boxes[] = {&Text1, &Text2, &Text3};
  plat::Label* units[] = {&Label4, &Label5, &Label6};
  const char* unitTexts[] = {"°C", "kPa", "%"};
  for (int i = 0; i < 3; ++i) {
    CaptionLabel(*labels[i], true);
    boxes[i]->setAlignment(plat::Alignment::Center);
    PlaceRow(*labels[i], *boxes[i], i, 170, 120, 32);
    CaptionLabel(*units[i], true);
    units[i]->setCaption(unitTexts[i]);
    units[i]->Move(boxes[i]->Left() + boxes[i]->Width() + 8, boxes[i]->Top(), 54, 32);
  }
  Command1.onClick = [this] {
    ShellState& s = p_.shell;
    s.AmbientTemperature = Text1.Text();
    s.AmbientPressure = Text2.Text();
    s.AmbientHumidity = Text3.Text();
    SaveAmbientData(p_, s.AmbientTemperature, s.AmbientPressure, s.AmbientHumidity);
    Unload();
  };
}

void DAMB::Form_Load() {
  const auto& t = p_.shell.LangText;
  setCaption(t[74]);
  Command1.setCaption(t[kApplyText]);
  Label1.setCaption(t[75]);
  Label2.setCaption(t[76]);
  Label3.setCaption(t[77]);
  Text1.setText(p_.shell.AmbientTemperature);
  Text2.setText(p_.shell.AmbientPressure);
  Text3.setText(p_.shell.AmbientHumidity);
}

}  // namespace vs
