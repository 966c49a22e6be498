#pragma once
// Drives the forms of one runtime headless, as an operator would, on the manual clock.
// Every action goes the display's way (plat::input): one the operator could not do (a
// hidden, disabled or modally blocked control) returns false and fails the test saying why.
// A modal form or message box waiting with nothing registered fails the test (LoopStalled).
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Runtime.h"
#include "platform/core/Error.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuItem.h"
#include "platform/forms/MessageBox.h"
#include "platform/forms/UserInput.h"

namespace plat::test {

class FormDriver : public FormsObserver, public MessageBoxPresenter, public Printer {
 public:
  // Observer, box presenter, printer and program starter of `rt`; modal waits up to 10 min.
  explicit FormDriver(Runtime& rt);
  ~FormDriver() override;
  FormDriver(const FormDriver&) = delete;
  FormDriver& operator=(const FormDriver&) = delete;

  bool click(Control& c) { return did(input::click(c), "click", c); }
  bool type(TextBox& box, const std::string& text);  // the box then holds `text`
  bool type(ComboBox& b, const std::string& t) {
    return did(input::editText(b, t), "type into", b);
  }
  bool choose(ListControl& l, int i) {
    return did(input::choose(l, i), "choose item " + std::to_string(i) + " in", l);
  }
  bool choose(ListControl& list, const std::string& item);  // the first item with that text
  bool scroll(VScrollBar& b, int v) { return did(input::scrollTo(b, v), "scroll", b); }
  bool focus(Control& c) { return did(input::focus(c), "focus", c); }
  bool key(Form& f, const KeyPress& k) {
    return did(input::pressKey(f, k), "press " + k.describe(), f);
  }
  bool enter(Form& f) { return key(f, KeyPress::Enter()); }
  bool esc(Form& f) { return key(f, KeyPress::Escape()); }
  bool fkey(Form& f, int n) { return key(f, KeyPress::F(n)); }
  bool alt(Form& f, char letter) { return key(f, KeyPress::Alt(letter)); }
  bool ctrl(Form& f, char letter) { return key(f, KeyPress::Ctrl(letter)); }
  bool menu(MenuItem& m) { return did(input::menuClick(m), "click menu " + m.name(), m.form()); }
  using MessageBoxPresenter::close;
  bool close(Form& f) { return did(input::closeBox(f), "close", f); }  // the close box
  std::string whyNot(const Control& c) const;  // why the operator cannot reach it ("": can)
  std::string whyNot(const Form& f) const;

  void advance(Millis ms) { rt_.loop.advance(ms); }
  void settle() { rt_.loop.processPending(); }  // posted tasks, serial bytes; the clock stays

  // A box takes the next queued answer, `after` ms later; with none queued, the every-box one.
  void answerBox(MsgBoxResult r = MsgBoxResult::OK, Millis after = 0) {
    answers_.push_back({r, after});
  }
  void answerEveryBox(std::optional<MsgBoxResult> r) { everyBox_ = r; }
  const std::vector<MessageBoxRequest>& boxes() const { return boxes_; }  // all shown so far
  const MessageBoxRequest& lastBox() const;  // fails the test when none was shown
  void clearBoxes() { boxes_.clear(); }

  // Runs inside the form's modal loop the next time (or every time) it is shown modally.
  void onModal(Form& f, std::function<void()> action) { modal_[&f].push_back({action, false}); }
  void onEveryModal(Form& f, std::function<void()> action) { modal_[&f].push_back({action, true}); }

  // In order: "load F", "show F", "modal F", "modal end F", "hide F", "unload F", "box
  // <title>: <text>", "beep", "end <code>", "print F x<copies>", "start <program>".
  const std::vector<std::string>& journal() const { return journal_; }
  void clearJournal() { journal_.clear(); }

  bool ended() const { return rt_.app.endRequested(); }
  int exitCode() const { return rt_.app.exitCode(); }
  int beeps() const { return rt_.app.beepCount(); }
  struct Started {
    std::string program;
    std::vector<std::string> args;
  };
  const std::vector<Started>& started() const { return started_; }
  struct Printed {
    std::string form;
    int copies;
  };
  const std::vector<Printed>& printed() const { return printed_; }
  // Printing fails from now on with this error (none: printing works again).
  void failPrinting(std::optional<RuntimeError> error) { printError_ = std::move(error); }
  std::function<void(Form&)> whilePrinting;  // runs while a form is being printed

  void formLoaded(Form& f) override { journal_.push_back("load " + f.name()); }
  void formUnloaded(Form& f) override { journal_.push_back("unload " + f.name()); }
  void formShown(Form& f) override { journal_.push_back("show " + f.name()); }
  void formHidden(Form& f) override { journal_.push_back("hide " + f.name()); }
  void modalStarted(Form& f) override;
  void modalEnded(Form& f) override { journal_.push_back("modal end " + f.name()); }
  void loopStalled(const std::string& what) override;
  void beep() override { journal_.push_back("beep"); }
  void programEnded(int code) override { journal_.push_back("end " + std::to_string(code)); }
  void open(MessageBox& box) override;
  void printForm(Form& form, int copies) override;

 private:
  // Fails the test: the operator could not do `what`, for `why` (or else `otherwise`).
  bool refused(const std::string& what, const std::string& why,
               const char* otherwise = "it refused");
  bool did(bool done, const std::string& verb, const Control& c);  // or fails the test
  bool did(bool done, const std::string& verb, const Form& f);
  Runtime& rt_;
  std::vector<std::pair<MsgBoxResult, Millis>> answers_;
  std::optional<MsgBoxResult> everyBox_;
  std::vector<MessageBoxRequest> boxes_;
  MessageBoxRequest none_;
  std::map<Form*, std::vector<std::pair<std::function<void()>, bool>>> modal_;  // every time?
  std::vector<std::string> journal_;
  std::vector<Started> started_;
  std::vector<Printed> printed_;
  std::optional<RuntimeError> printError_;
};

}  // namespace plat::test
