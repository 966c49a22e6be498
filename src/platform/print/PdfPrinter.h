#pragma once
// Printing a form on the default printer: the form as it stands (what the form hid before
// printing stays off the page) is drawn to a PDF of one A4 page per copy, and the PDF is
// handed to `lp` (the first on PATH; run directly, no shell). A missing `lp`, one that
// cannot be started, that fails or that does not finish within the time limit is
// RuntimeError kErrPrintFailed ("Printer error"). The PDF is a temporary file, removed
// once `lp` has taken it.
//
//   plat::PdfPrinter printer;
//   forms.setPrinter(&printer);   // Form::PrintForm now prints
#include <chrono>
#include <string>

#include "platform/forms/FormsRuntime.h"
#include "platform/paint/Painter.h"

namespace plat {

class PdfPrinter : public Printer {
 public:
  // Copies below 1 print nothing.
  void printForm(Form& form, int copies) override;

  // What is left off every printed page besides the hidden controls.
  paint::PaintOptions options;
  // How long `lp` may take to accept the job.
  std::chrono::milliseconds timeLimit{30'000};
  // The program to hand the PDF to, found on PATH unless it has a slash.
  std::string command = "lp";
};

}  // namespace plat
