#pragma once
// The program's real windows. A Display, made on a forms runtime with the real clock, shows every
// form of the model as an FLTK window and keeps it in line with every property change;
// every click, key and edit of the operator goes to the model through plat::input, the
// same path the tests drive. Made on a runtime, it installs itself as
//   - the forms observer (windows follow the model),
//   - the message-box presenter (modal boxes with icon, title, OK and Cancel),
//   - the printer (plat::PdfPrinter: a PDF page per copy to `lp`),
//   - the event loop's waiter (sleeps in FLTK until input, a serial byte or the next timer),
// and takes all of that back when destroyed. Only one Display at a time (FLTK is one per
// process); it must go before the forms it shows (declare it after the Program).
//
// Keys: Enter, Esc, Tab, F1-F12, Ctrl+letter and Alt+letter go to input::pressKey (default
// and cancel buttons, menu shortcuts, access keys); typing goes into the focused widget.
// A window below an open modal form or message box takes no input.
// Pictures for picture boxes, images and graphical buttons: the names the program adds to
// pictures(), the built-in "print", "close" and "lamp" (see paint/Picture.h), else PNG, BMP
// or ICO files.
//
//   vs::Program program(plat::EventLoop::ClockKind::Real);
//   plat::Display display(program.rt.forms);   // needs $DISPLAY; throws std::runtime_error if
//   unset program.menu.Show(); return display.run();
#include <memory>

namespace plat {

class FormsRuntime;
class PdfPrinter;

namespace paint {
class PictureBook;
}

namespace display {
class Core;
}

class Display {
 public:
  explicit Display(FormsRuntime& rt);
  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  // Runs the event loop until the program ends (AppServices::End) or no form is loaded any
  // more; returns the exit code.
  int run();

  // The printer in use, e.g. to change how long `lp` may take.
  PdfPrinter& printer();

  // The program's own named pictures, drawn on screen and on the printed page.
  paint::PictureBook& pictures();

 private:
  std::unique_ptr<display::Core> core_;
};

}  // namespace plat
