#include "forms/shell/PrintPage.h"

#include <cmath>

#include "platform/core/Error.h"
#include "platform/forms/MessageBox.h"
#include "platform/text/Numbers.h"
#include "shell/ProgramMessages.h"

namespace vs {

namespace {

// Prints the copies; what went wrong, or an empty text.
std::string PrintCopies(plat::Form& page, const std::string& copiesText, const ShellState& shell,
                        const plat::RegionalSettings& regional) {
  double copies = 0;
  try {
    copies = std::floor(plat::ParseDouble(copiesText, regional));
  } catch (const plat::RuntimeError&) {
    return MessageText(shell, Msg::CopiesNotANumber, {copiesText});
  }
  if (copies > kMaxPrintCopies)
    return MessageText(shell, Msg::CopiesTooMany, {std::to_string(kMaxPrintCopies)});
  if (copies < 1) return {};
  try {
    page.PrintForm(static_cast<int>(copies));
  } catch (const plat::RuntimeError& e) {
    return MessageText(shell, Msg::PrintFailed, {e.what()});
  }
  return {};
}

}  // namespace

bool PrintPageCopies(plat::Form& page, const std::string& copiesText,
                     std::initializer_list<plat::Control*> hidden, const ShellState& shell,
                     const plat::RegionalSettings& regional) {
  std::string problem;
  {
    HiddenWhilePrinting off(hidden);
    problem = PrintCopies(page, copiesText, shell, regional);
  }
  if (problem.empty()) return true;
  plat::MsgBox(page.rt(), problem, plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
  return false;
}

}  // namespace vs
