#pragma once
// Printing a form on the default printer: the form as it stands (what the form hid before
// printing stays off the page) is drawn to a PDF of one A4 page per copy, and the PDF is
// handed to `lp` (the first on PATH; run directly, no shell) as a child process. Until `lp`
// has taken the job, the caller waits in the event loop: timers, ports and windows go on
// (a modal wait, as a modal form's). A missing `lp`, one that cannot be started, that
// fails or that does not finish within the time limit (it is killed) is RuntimeError
// kErrPrintFailed: "Printer error", then on a line of its own `lp`'s reason (the first line
// it wrote to standard error) where it gave one. The PDF is a temporary file, removed once
// `lp` has ended.
//
//   plat::PdfPrinter printer;
//   forms.setPrinter(&printer);   // Form::PrintForm now prints
#include <chrono>
#include <string>

#include "platform/core/ChildProcess.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/paint/Painter.h"

namespace plat {

class PdfPrinter : public Printer {
 public:
  // Copies below 1 print nothing. Returns at once when the program ends meanwhile.
  void printForm(Form& form, int copies) override;

  // What is left off every printed page besides the hidden controls.
  paint::PaintOptions options;
  // How long `lp` may take to accept the job.
  std::chrono::milliseconds timeLimit{30'000};
  // The program to hand the PDF to, found on PATH unless it has a slash.
  std::string command = "lp";
  // What runs `command`: processes of the system unless a test stands in (nullptr).
  ChildStarter* starter = nullptr;

 private:
  ProcessStarter processes_;
};

}  // namespace plat
