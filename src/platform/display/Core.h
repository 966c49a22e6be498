#pragma once
// The display's inner workings behind plat::Display: it mirrors the model in FLTK windows
// (one FormWindow per shown form, one MessageWindow per open message box), routes the
// operator's input to plat::input, and sleeps in FLTK between events.
#include <FL/Enumerations.H>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/display/FltkWaiter.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/MessageBox.h"
#include "platform/print/PdfPrinter.h"

class Fl_Widget;
class Fl_Window;

namespace plat::display {

class FormWindow;
class MessageWindow;

class Core : public FormsObserver, public MessageBoxPresenter {
 public:
  explicit Core(FormsRuntime& rt);
  ~Core() override;
  Core(const Core&) = delete;
  Core& operator=(const Core&) = delete;

  FormsRuntime& rt;
  paint::PictureBook pictures;  // the program's own, drawn on screen and on paper
  PdfPrinter printer;

  // FLTK font and pixel size of a form's font, and FLTK colour of a model colour.
  Fl_Font font(const Font& f);
  static int fontSize(const Font& f);
  static Fl_Color color(Color c);

  FormWindow* windowOf(const Form& f) const;
  // Events of our form windows pass here before FLTK handles them.
  int dispatch(int event, FormWindow& w);
  // Brings the window that holds the input (innermost modal form or box) to the front.
  void raiseModal();
  bool anyFormLoaded() const;
  // Takes a widget off the screen; it is deleted before the next wait, when no handler of
  // it can be running any more.
  void bury(Fl_Widget* w);

  // FormsObserver.
  void formLoaded(Form& f) override;
  void formUnloaded(Form& f) override;
  void formShown(Form& f) override;
  void formHidden(Form& f) override;
  void formToFront(Form& f) override;
  void formChanged(Form& f, Prop p) override;
  void controlChanged(Control& c, Prop p) override;
  void menuChanged(MenuItem& m, Prop p) override;
  void focusChanged(Form& f, Control* now) override;
  void beep() override;
  void programEnded(int exitCode) override;

  // MessageBoxPresenter.
  void open(MessageBox& box) override;
  void close(MessageBox& box) override;

 private:
  void syncFocusFromFltk();
  void collect();
  std::vector<Fl_Widget*> graveyard_;
  void place(FormWindow& w);
  FltkWaiter waiter_;
  std::map<const Form*, FormWindow*> windows_;
  std::map<const MessageBox*, MessageWindow*> boxes_;
  std::map<std::tuple<std::string, bool, bool>, Fl_Font> fonts_;
  std::deque<std::string> fontNames_;  // FLTK keeps the pointers
  int nextFont_;
  Fl_Widget* lastFocus_ = nullptr;
};

}  // namespace plat::display
