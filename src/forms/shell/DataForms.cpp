#include "forms/shell/DataForms.h"

#include <array>
#include <span>
#include <string>

#include "forms/Program.h"
#include "shell/SettingsStore.h"

namespace vs {

namespace {

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

// One row of a dialog: its caption label, its text box and the record field the box shows.
// The load fills each box from its field; the button copies the text as typed back.
struct Row {
  plat::Label& label;
  plat::TextBox& box;
  std::string& field;
};

// Lays the rows out one under the other.
void PlaceRows(std::span<const Row> rows, bool yellow, int labelWidth, int boxWidth,
               int rowHeight) {
  int i = 0;
  for (const Row& r : rows) {
    CaptionLabel(r.label, yellow);
    PlaceRow(r.label, r.box, i++, labelWidth, boxWidth, rowHeight);
  }
}

void ShowFields(std::span<const Row> rows) {
  for (const Row& r : rows) r.box.setText(r.field);
}

void TakeFields(std::span<const Row> rows) {
  for (const Row& r : rows) r.field = r.box.Text();
}

std::array<Row, 5> VehicleRows(DVeicoli& f, ShellState& s) {
  return {{{f.Label1, f.Text1, s.VehicleMakeType},
           {f.Label2, f.Text2, s.VehiclePlate},
           {f.Label3, f.Text3, s.VehicleChassis},
           {f.Label4, f.Text4, s.VehicleYear},
           {f.Label5, f.Text5, s.VehicleModel}}};
}

std::array<Row, 3> UserRows(UTENTE& f, ShellState& s) {
  return {{{f.Label1, f.Text1, s.OperatorName},
           {f.Label2, f.Text2, s.TechnicalManager},
           {f.Label3, f.Text3, s.AgencyName}}};
}

std::array<Row, 3> AmbientRows(DAMB& f, ShellState& s) {
  return {{{f.Label1, f.Text1, s.AmbientTemperature},
           {f.Label2, f.Text2, s.AmbientPressure},
           {f.Label3, f.Text3, s.AmbientHumidity}}};
}

}  // namespace

// ---- DVeicoli

DVeicoli::DVeicoli(Program& p) : plat::Form(p.rt.forms, "DVeicoli"), p_(p) {
  SetUpDialog(*this, 520, 330, Command1);
  const auto rows = VehicleRows(*this, p_.shell);
  PlaceRows(rows, true, 190, 298, 40);
  for (const Row& r : rows) r.box.setMultiLine(true);
  Command1.onClick = [this] {
    Save();
    Unload();
  };
}

void DVeicoli::Form_Load() {
  LoadVehicleData(p_.shell, ConfPlace(p_.rt));
  const auto& t = p_.shell.LangText;
  setCaption(t[lang::DVeicoliCaption]);
  Label1.setCaption(t[lang::DVeicoliFeT]);
  Label2.setCaption(t[lang::DVeicoliTarga]);
  Label3.setCaption(t[lang::DVeicoliTelaio]);
  Label4.setCaption(t[lang::DVeicoliAImm]);
  Label5.setCaption(t[lang::DVeicoliMod]);
  Command1.setCaption(t[lang::ANSUAppl]);
  ShowFields(VehicleRows(*this, p_.shell));
}

void DVeicoli::Form_Unload(bool& cancel) {
  (void)cancel;
  Save();
}

void DVeicoli::Save() {
  ShellState& s = p_.shell;
  TakeFields(VehicleRows(*this, s));
  ReportSaveProblem(p_.rt, SaveVehicleData(s, ConfPlace(p_.rt)));
}

// ---- UTENTE

UTENTE::UTENTE(Program& p) : plat::Form(p.rt.forms, "UTENTE"), p_(p) {
  SetUpDialog(*this, 580, 220, Command1);
  const auto rows = UserRows(*this, p_.shell);
  PlaceRows(rows, false, 230, 318, 40);
  for (const Row& r : rows) r.box.setMultiLine(true);
  Command1.onClick = [this] {
    ShellState& s = p_.shell;
    TakeFields(UserRows(*this, s));
    ReportSaveProblem(p_.rt, SaveUserData(s, ConfPlace(p_.rt)));
    Unload();
  };
}

void UTENTE::Form_Load() {
  const auto& t = p_.shell.LangText;
  setCaption(t[lang::UtenteCaption]);
  Label1.setCaption(t[lang::UtenteNeCOp]);
  Label2.setCaption(t[lang::UtenteNeCRT]);
  Label3.setCaption(t[lang::PrtKYMRACERTNomeEnte]);
  Command1.setCaption(t[lang::ANSUAppl]);
  ShowFields(UserRows(*this, p_.shell));
}

// ---- DAMB

DAMB::DAMB(Program& p) : plat::Form(p.rt.forms, "DAMB"), p_(p) {
  SetUpDialog(*this, 390, 200, Command1);
  const auto rows = AmbientRows(*this, p_.shell);
  PlaceRows(rows, true, 170, 120, 32);
  plat::Label* units[] = {&Label4, &Label5, &Label6};
  const char* unitTexts[] = {"°C", "kPa", "%"};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    plat::TextBox& box = rows[i].box;
    box.setAlignment(plat::Alignment::Center);
    CaptionLabel(*units[i], true);
    units[i]->setCaption(unitTexts[i]);
    units[i]->Move(box.Left() + box.Width() + 8, box.Top(), 54, 32);
  }
  Command1.onClick = [this] {
    ShellState& s = p_.shell;
    TakeFields(AmbientRows(*this, s));
    ReportSaveProblem(p_.rt, SaveAmbientData(s, ConfPlace(p_.rt)));
    Unload();
  };
}

void DAMB::Form_Load() {
  const auto& t = p_.shell.LangText;
  setCaption(t[lang::DAMBCaption]);
  Command1.setCaption(t[lang::ANSUAppl]);
  Label1.setCaption(t[lang::DAMBTemp]);
  Label2.setCaption(t[lang::DAMBPress]);
  Label3.setCaption(t[lang::DAMBUmid]);
  ShowFields(AmbientRows(*this, p_.shell));
}

}  // namespace vs
