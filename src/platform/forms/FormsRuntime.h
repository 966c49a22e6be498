#pragma once
// Program-wide state of the forms runtime: every form of the program, the order of the
// shown windows, the modal stack, the observers that mirror the model (the display, the
// test driver), the message-box presenter, the printer and the program services. Forms
// and their controls run on its event loop.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/EventLoop.h"
#include "platform/forms/AppServices.h"
#include "platform/forms/Types.h"

namespace plat {

class Form;
class Control;
class MenuItem;
class MessageBox;
class MessageBoxPresenter;

// Everything that happens to the model, for a display that mirrors it. Every callback
// comes after the change. Observers must not throw.
class FormsObserver {
 public:
  virtual ~FormsObserver() = default;
  virtual void formLoaded(Form& f) { (void)f; }
  virtual void formUnloaded(Form& f) { (void)f; }
  virtual void formShown(Form& f) { (void)f; }  // became visible (modal() tells how)
  virtual void formHidden(Form& f) { (void)f; }
  virtual void formToFront(Form& f) { (void)f; }
  virtual void formChanged(Form& f, Prop p) { (void)f, (void)p; }
  virtual void controlChanged(Control& c, Prop p) { (void)c, (void)p; }
  virtual void menuChanged(MenuItem& m, Prop p) { (void)m, (void)p; }
  virtual void focusChanged(Form& f, Control* now) { (void)f, (void)now; }
  virtual void modalStarted(Form& f) { (void)f; }  // its nested loop is about to run
  virtual void modalEnded(Form& f) { (void)f; }
  virtual void messageBoxOpened(const MessageBox& box) { (void)box; }
  virtual void messageBoxClosed(const MessageBox& box) { (void)box; }
  // A nested loop under the manual clock gave up (it throws LoopStalled next).
  virtual void loopStalled(const std::string& what) { (void)what; }
  virtual void beep() {}
  virtual void programEnded(int exitCode) { (void)exitCode; }
};

// Prints a form's window image. Implemented by the printing layer; tests install a stub.
class Printer {
 public:
  virtual ~Printer() = default;
  // One page per copy on the default printer; throws RuntimeError on failure. It may wait
  // for the printer in a nested run of the event loop, as a modal form does: timers and
  // ports go on meanwhile.
  virtual void printForm(Form& form, int copies) = 0;
};

class FormsRuntime {
 public:
  explicit FormsRuntime(EventLoop& loop) : loop_(loop) {}
  FormsRuntime(const FormsRuntime&) = delete;
  FormsRuntime& operator=(const FormsRuntime&) = delete;

  // The loop that runs timers and modal forms.
  EventLoop& loop() const { return loop_; }
  // Title, beep, end, starting programs.
  AppServices app{*this};

  // Every form of the program, in order of construction.
  const std::vector<Form*>& all() const { return forms_; }
  Form* find(std::string_view name) const;
  std::vector<Form*> loaded() const;
  // Shown forms, back to front.
  const std::vector<Form*>& zOrder() const { return zOrder_; }
  Form* activeForm() const { return zOrder_.empty() ? nullptr : zOrder_.back(); }

  // Modal forms and message boxes open now, innermost last.
  int modalDepth() const { return static_cast<int>(modal_.size()); }
  Form* topModalForm() const;
  const MessageBox* openMessageBox() const;  // the innermost one, if any
  // Whether the operator can reach `f` now: shown, and not below an open modal form or
  // message box (forms shown after the innermost modal one opened are reachable).
  bool acceptsInput(const Form& f) const;
  // Manual-clock time a modal loop may run before it fails.
  Millis modalTimeLimit = 3'600'000;

  void addObserver(FormsObserver* o);
  void removeObserver(FormsObserver* o);
  void setMessageBoxPresenter(MessageBoxPresenter* p) { presenter_ = p; }
  MessageBoxPresenter* messageBoxPresenter() const { return presenter_; }
  void setPrinter(Printer* p) { printer_ = p; }
  Printer* printer() const { return printer_; }

  // Records the design of every form that has none yet (normally taken at its first
  // load). Called once every form is built (by main, the display, the test driver), it
  // makes a write to a form that was never loaded as short-lived as one to an unloaded form.
  void recordDesigns();

  // Stops every timer of every form (the program ends).
  void stopAllTimers();

  // For the model's own classes: notifications and bookkeeping.
  template <class F>
  void notify(F&& f) {
    const auto copy = observers_;
    for (FormsObserver* o : copy)
      if (isObserver(o)) f(*o);
  }
  void add(Form* f);
  void remove(Form* f);
  void toFront(Form* f);
  void removeFromZOrder(Form* f);
  struct ModalEntry {
    Form* form = nullptr;
    const MessageBox* box = nullptr;
    long serial = 0;
  };
  long nextSerial() { return ++serial_; }
  // Puts a modal form or box on the stack, runs `start`, then a nested loop until done() or
  // the end of the program, and `finish` after it however it ends. A stall is reported to
  // the observers and rethrown.
  void runModal(ModalEntry e, const std::function<void()>& start, const std::function<bool()>& done,
                const std::string& what, const std::function<void()>& finish);

 private:
  bool isObserver(FormsObserver* o) const;
  void popModal(const void* which);
  EventLoop& loop_;
  std::vector<Form*> forms_;
  std::vector<Form*> zOrder_;
  std::vector<ModalEntry> modal_;
  std::vector<FormsObserver*> observers_;
  MessageBoxPresenter* presenter_ = nullptr;
  Printer* printer_ = nullptr;
  long serial_ = 0;
};

}  // namespace plat
