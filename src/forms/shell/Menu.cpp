#include "forms/shell/Menu.h"

#include <filesystem>
#include <system_error>

#include "forms/Program.h"
#include "shell/LanguageTable.h"
#include "shell/SettingsStore.h"
#include "shell/SystemSetup.h"

namespace vs {

namespace {

constexpr plat::Color kBrandGreen = 0x0A8D10;
constexpr int kWidth = 780;

void BrandLine(plat::Label& l, int top) {
  l.setBackColor(kBrandGreen);
  l.setFont({"Arial", 20.25, true, false});
  l.setAlignment(plat::Alignment::Center);
  l.Move(0, top, kWidth, 40);
}

void BigButton(plat::CommandButton& b, const char* caption, int slot) {
  b.setCaption(caption);
  b.setStyle(plat::ButtonStyle::Graphical);
  b.setBackColor(kBrandGreen);
  b.setFont({"Arial", 20.25, true, false});
  constexpr int w = 170, gap = (kWidth - 4 * w) / 5;
  b.Move(gap + slot * (w + gap), 212, w, 80);
}

// Deletes `name` in `folder`; a file that is not there is no error.
void DeleteLog(const std::filesystem::path& folder, const char* name) {
  if (folder.empty()) return;
  std::error_code ec;
  std::filesystem::remove(folder / name, ec);
}

}  // namespace

Menu::Menu(Program& p) : plat::Form(p.rt.forms, "Menù"), p_(p) {
  setCaption("Start menù");
  setBackColor(plat::colors::kYellow);
  setBorderStyle(plat::BorderStyle::FixedSingle);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  Move(0, 0, kWidth, 310);

  Label1.setCaption("KARVESTON");
  BrandLine(Label1, 10);
  BrandLine(LabelTit, 56);
  Image1.setPicture("banner");
  Image1.Move(kWidth / 2 - 150, 124, 300, 64);
  Picture1.setPicture("lamp");
  Picture1.setBorderSingle(false);
  Picture1.setBackColor(plat::colors::kYellow);
  Picture1.Move(kWidth - 120, 124, 64, 64);
  BigButton(CmdAnGas, "Kymra", 0);
  BigButton(CmdAnFumo, "Opa", 1);
  BigButton(CmdRPM, "Rpm", 2);
  BigButton(CmdOut, "ESC", 3);
  CmdOut.setDefault(true);
  CmdOut.setCancel(true);
  Command1.setCaption("TEST");
  Command1.setVisible(false);
  Command1.Move(20, 124, 90, 30);
  Timer1.setInterval(1000);

  Timer1.onTimer = [this] { Blink(); };
  CmdAnGas.onClick = MISURAG.onClick = [this] { OpenTest(true); };
  CmdAnFumo.onClick = MISURAO.onClick = [this] { OpenTest(false); };
  CmdRPM.onClick = MISURAR.onClick = [this] { MeasureRpm(); };
  SETG.onClick = [this] { ShowModalForm(&p_.ansu); };
  SETO.onClick = [this] { ShowModalForm(&p_.opasu); };
  SETR.onClick = [this] { ShowModalForm(&p_.rpmsu); };
  LINGITA.onClick = [this] { SetLanguage(1); };
  LINGING.onClick = [this] { SetLanguage(2); };
  LINGSPA.onClick = [this] { SetLanguage(3); };
  DVEIC.onClick = [this] { ShowModalForm(&p_.utente); };
  DAMBIENT.onClick = [this] { ShowModalForm(&p_.damb); };
  RICONOSCI.onClick = [this] { ShowModalForm(&p_.riconosciMCTC); };
  SYSSU.onClick = [this] { SystemSetUp(); };
  Image1.onClick = [this] { ShowAbout(); };
  CmdOut.onClick = [this] { EndProgram(); };
}

void Menu::Form_Load() {
  Program& p = p_;
  std::string languageProblem;  // told once, after the captions are set
  plat::RunIgnoringErrors({
      [&] { DeleteLog(p.rt.programFolder, "smoke.log"); },
      [&] { DeleteLog(p.rt.programFolder, "gas.log"); },
      [&] { LoadLanguage(p.shell, ConfPlace(p.rt)); },
      [&] {
        LoadComSettings(p.shell, {p.link.ActiveComMode, p.link.InstrMake, p.link.InstrHomologation},
                        ConfPlace(p.rt));
      },
      [&] { LoadUserData(p.shell, ConfPlace(p.rt)); },
      [&] { LoadRpmSettings(p.shell, ConfPlace(p.rt)); },
      [&] { LoadAmbientData(p.shell, ConfPlace(p.rt)); },
      [&] {
        languageProblem = LanguageLoadProblem(
            LoadLanguageTexts(p.shell, p.rt.currentDirectory, p.shell.LanguageCode));
      },
      [&] { LoadSystemSettings(p.shell, ConfPlace(p.rt)); },
      [&] { SetCaptions(); },
      [&] { TellLanguageProblem(languageProblem); },
  });
}

void Menu::TellLanguageProblem(const std::string& problem) {
  if (problem.empty()) return;
  plat::MsgBox(p_.rt.forms, problem, plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
}

void Menu::Form_Unload(bool& cancel) {
  (void)cancel;
  EndProgram();
}

void Menu::EndProgram() {
  plat::RunIgnoringErrors({
      [&] { ReportSaveProblem(p_.rt, SaveLanguage(p_.shell, ConfPlace(p_.rt))); },
      [&] { p_.rt.app.End(0); },
  });
}

void Menu::SetCaptions() {
  const ShellState& s = p_.shell;
  LabelTit.setCaption(s.LangText[lang::MenuTitolo]);
  // Menu captions never vanish: without a text they show its key.
  MISURAG.setCaption(TextOrKey(s, lang::ANFUMOMisura));
  MISURAO.setCaption(TextOrKey(s, lang::ANFUMOMisura));
  MISURAR.setCaption(TextOrKey(s, lang::ANFUMOMisura));
  DVEIC.setCaption(TextOrKey(s, lang::SetUpUtente));
  DAMBIENT.setCaption(TextOrKey(s, lang::DAMBCaption));
  RICONOSCI.setCaption(TextOrKey(s, lang::RiconoscimentoCaption));
  UTILITY.setCaption(TextOrKey(s, lang::MenuUtility));
  LINGUA.setCaption(TextOrKey(s, lang::MenuLingua));
}

void Menu::Blink() {
  plat::RunIgnoringErrors({[&] {
    if (blink_ == 1) {
      Picture1.setVisible(true);
      blink_ = 0;
    } else {
      Picture1.setVisible(false);
      blink_ = 1;
    }
  }});
}

void Menu::OpenTest(bool gas) {
  plat::Form* test = gas ? static_cast<plat::Form*>(&p_.angas) : &p_.anfumo;
  plat::Form* other = gas ? static_cast<plat::Form*>(&p_.anfumo) : &p_.angas;
  if (other->IsLoaded()) {
    // The other test runs: its form comes to the front, nothing else changes.
    plat::RunIgnoringErrors({[&] { other->ZOrder(); }});
    return;
  }
  RPM& rpm = p_.rpm;
  const ShellState& s = p_.shell;
  const bool externalCounter = s.ExternRpm == 1 || s.ExternOilTemp == 1;
  plat::RunIgnoringErrors({
      [&] { Timer1.setEnabled(false); },
      [&] {
        if (gas)
          p_.link.GasFormActive = 1;
        else
          p_.link.OpaFormActive = 1;
      },
      [&] {
        if (!gas) p_.shell.ExclamStampaPending = 1;
      },
      [&] {
        if (externalCounter) rpm.Show(plat::ShowMode::Modeless);
      },
      [&] {
        // Minimised, it goes on polling behind the test form.
        if (externalCounter && rpm.IsLoaded()) rpm.setWindowState(plat::WindowState::Minimized);
      },
      [&] { test->Show(plat::ShowMode::Modeless); },
  });
}

void Menu::MeasureRpm() {
  RPM& rpm = p_.rpm;
  if (rpm.IsLoaded() && rpm.Visible()) {
    // Already shown for a running test: brought to the front, the test goes on.
    plat::RunIgnoringErrors({
        [&] { rpm.setWindowState(plat::WindowState::Normal); },
        [&] { rpm.ZOrder(); },
    });
    return;
  }
  plat::RunIgnoringErrors({
      [&] { Timer1.setEnabled(false); },
      [&] { rpm.Show(plat::ShowMode::Modal); },
      [&] { p_.angas.Unload(); },
      [&] { p_.anfumo.Unload(); },
  });
}

void Menu::SetLanguage(std::int16_t code) {
  std::string languageProblem;  // told last: the code is saved before the box waits
  plat::RunIgnoringErrors({
      [&] { p_.shell.LanguageCode = code; },
      [&] {
        languageProblem = LanguageLoadProblem(
            LoadLanguageTexts(p_.shell, p_.rt.currentDirectory, p_.shell.LanguageCode));
      },
      [&] { SetCaptions(); },
      [&] { ReportSaveProblem(p_.rt, SaveLanguage(p_.shell, ConfPlace(p_.rt))); },
      [&] { TellLanguageProblem(languageProblem); },
  });
}

void Menu::SystemSetUp() {
  // The access-code form clears PassResult when it loads: closed by its close box, it counts
  // as wrong, never as an earlier right entry.
  ShowModalForm(&p_.password);
  switch (p_.shell.PassResult) {
    case 1:
      ShowModalForm(&p_.sysSetUp);
      break;
    case 0:
      plat::MsgBox(p_.rt.forms, "Password non Valida");
      break;
    default:
      break;
  }
}

void Menu::ShowAbout() {
  plat::RunIgnoringErrors({[&] { p_.about.setVisible(true); }});
}

void Menu::ShowModalForm(plat::Form* form) {
  if (form == nullptr) return;
  try {
    form->Show(plat::ShowMode::Modal);
  } catch (const plat::RuntimeError& e) {
    plat::MsgBox(p_.rt.forms, e.what(), plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Critical);
  }
}

}  // namespace vs
