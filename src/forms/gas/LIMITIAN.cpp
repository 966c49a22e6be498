#include "forms/gas/LIMITIAN.h"

#include <cmath>
#include <optional>
#include <string>

#include "forms/Program.h"
#include "platform/core/Error.h"
#include "platform/forms/MessageBox.h"
#include "platform/text/Numbers.h"
#include "shell/LanguageKeys.h"
#include "shell/ProgramMessages.h"

namespace vs {

namespace {

constexpr double kTickSeconds = 0.025;
// The longest test duration: its ticks must fit the 16-bit setting.
constexpr int kMaxSeconds = 819;
// The corrected-CO limits offered in the lists (%vol); any other value can be typed.
constexpr double kIdleCOcorrChoices[] = {4.5, 3.5, 0.5, 0.3};
constexpr double kRaisedIdleCOcorrChoices[] = {0.3, 0.2};

void FillChoices(plat::ComboBox& list, const auto& values, const plat::RegionalSettings& r) {
  list.Clear();
  for (double v : values) list.AddItem(plat::FormatDouble(v, r));
}

}  // namespace

LIMITIAN::LIMITIAN(Program& p) : plat::Form(p.rt.forms, "LIMITIAN"), p_(p) {
  setCaption("Limiti");
  setBorderStyle(plat::BorderStyle::FixedDialog);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(378, 291);

  struct Row {
    plat::Label& label;
    plat::Control& box;
    const char* caption;
  };
  const Row rows[] = {
      {Label1, Text1, "RPMmin"},
      {Label2, Text2, "RPMmaccLI"},
      {Label3, Text3, "RPMmaccLS"},
      {Label4, Text4, "LambdaLI"},
      {Label5, Text5, "LambdaLS"},
      {Label6, CombCOcorMin, "LCOcorMin"},
      {Label7, CombCOcorMinacc, "LCOcorMinacc"},
      {Label8, Text8, "Durata Prova"},
  };
  int top = 12;
  for (const Row& row : rows) {
    row.label.setCaption(row.caption);
    row.label.Move(16, top, 150, 22);
    row.box.Move(176, top - 2, 90, 24);
    top += 28;
  }
  for (plat::Label* l : {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7})
    l->setBackColor(plat::colors::kYellow);
  Text1.setText("1000");
  Text2.setText("2000");
  Text2.setEnabled(false);
  Text3.setText("2500");
  Text3.setEnabled(false);
  Text4.setText("0.97");
  Text5.setText("1.03");
  Text8.setText("145");
  Text8.setEnabled(false);
  for (plat::ComboBox* list : {&CombCOcorMin, &CombCOcorMinacc})
    list->setStyle(plat::ComboStyle::DropDownCombo);
  for (const char* item : {"4,5", "3,5", "0,5", "0,3"}) CombCOcorMin.AddItem(item);
  for (const char* item : {"0,3", "0,2"}) CombCOcorMinacc.AddItem(item);
  Check1.setCaption("Abilitazione &RPM");
  Check1.Move(16, top + 4, 200, 24);
  CmdApl.setCaption("Command1");
  CmdApl.setDefault(true);
  CmdApl.setCancel(true);
  CmdApl.Move(250, top, 112, 32);

  Check1.onClick = [this] { Check1_Click(); };
  CmdApl.onClick = [this] { CmdApl_Click(); };
}

void LIMITIAN::Form_Load() {
  const ShellState& s = p_.shell;
  const plat::RegionalSettings& r = p_.rt.regional;
  const auto& t = s.LangText;
  Check1.setValue(s.GasRpmCheckEnabled == 1 ? plat::CheckBox::kChecked
                                            : plat::CheckBox::kUnchecked);
  for (plat::TextBox* box : {&Text2, &Text3, &Text8}) box->setEnabled(true);
  setCaption(t[lang::LIMITICaption]);
  Label8.setCaption(t[lang::LIMITIANDProva]);
  CmdApl.setCaption(t[lang::ANSUAppl]);
  Check1.setCaption(t[lang::LIMITIANAbRPM]);
  // The suggestions in the user's own decimal form, so that a choice reads back as shown.
  FillChoices(CombCOcorMin, kIdleCOcorrChoices, r);
  FillChoices(CombCOcorMinacc, kRaisedIdleCOcorrChoices, r);
  Text1.setText(plat::FormatDouble(s.GasLimitRpmIdle, r));
  Text2.setText(plat::FormatDouble(s.GasLimitRpmRaisedLow, r));
  Text3.setText(plat::FormatDouble(s.GasLimitRpmRaisedHigh, r));
  Text4.setText(plat::FormatDouble(s.GasLimitLambdaLow, r));
  Text5.setText(plat::FormatDouble(s.GasLimitLambdaHigh, r));
  CombCOcorMin.setText(plat::FormatDouble(s.GasLimitCOcorrIdle, r));
  CombCOcorMinacc.setText(plat::FormatDouble(s.GasLimitCOcorrRaisedIdle, r));
  Text8.setText(plat::FormatDouble(plat::RoundHalfEven(kTickSeconds * s.GasTestDuration), r));
}

void LIMITIAN::Check1_Click() {
  p_.shell.GasRpmCheckEnabled = Check1.Value() == plat::CheckBox::kChecked ? 1 : 0;
}

void LIMITIAN::CmdApl_Click() {
  const plat::RegionalSettings& r = p_.rt.regional;
  // Every field is read before any is stored: one that does not convert is named, the
  // dialog stays open and the limits stay as they were.
  auto refuse = [&](Msg why, const plat::Label& field, const std::string& detail) {
    plat::MsgBox(rt(), MessageText(p_.shell, why, {field.Caption(), detail}),
                 plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
  };
  struct Field {
    const plat::Label& name;
    std::string text;
    std::optional<double> value;
  };
  Field fields[] = {{Label1, Text1.Text(), {}},          {Label2, Text2.Text(), {}},
                    {Label3, Text3.Text(), {}},          {Label4, Text4.Text(), {}},
                    {Label5, Text5.Text(), {}},          {Label6, CombCOcorMin.Text(), {}},
                    {Label7, CombCOcorMinacc.Text(), {}}};
  for (Field& f : fields) {
    try {
      f.value = plat::ParseDouble(f.text, r);
    } catch (const plat::RuntimeError&) {
      refuse(Msg::NotANumber, f.name, f.text);
      return;
    }
  }
  std::int16_t ticks = 0;
  try {
    const std::int16_t seconds = plat::ParseInt16(Text8.Text(), r);
    ticks = plat::ToInt16(plat::RoundHalfEven(seconds / kTickSeconds));
  } catch (const plat::RuntimeError& e) {
    if (e.number() == plat::kErrOverflow)
      refuse(Msg::AtMostSeconds, Label8, std::to_string(kMaxSeconds));
    else
      refuse(Msg::NotANumber, Label8, Text8.Text());
    return;
  }

  ShellState& s = p_.shell;
  s.GasLimitRpmIdle = *fields[0].value;
  s.GasLimitRpmRaisedLow = *fields[1].value;
  s.GasLimitRpmRaisedHigh = *fields[2].value;
  s.GasLimitLambdaLow = *fields[3].value;
  s.GasLimitLambdaHigh = *fields[4].value;
  s.GasLimitCOcorrIdle = *fields[5].value;
  s.GasLimitCOcorrRaisedIdle = *fields[6].value;
  s.GasTestDuration = ticks;
  Unload();
}

}  // namespace vs
