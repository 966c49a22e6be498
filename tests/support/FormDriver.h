#pragma once
// Drives the forms of one runtime headless, as an operator would, for tests on the manual
// clock. Every action goes the display's way (plat::input), so one on a hidden, disabled or
// modally blocked control is refused and fails the test saying why.
//
//   plat::test::FormDriver ui(p.rt);
//   ui.answerBox(plat::MsgBoxResult::OK);          // the next message box gets OK
//   ui.onModal(p.limits, [&] { ui.click(p.limits.CmdOk); });
//   ui.click(p.menu.CmdAnGas);
//   ui.advance(1000);
//   EXPECT_EQ(ui.lastBox().text, "...");
//
// A modal form or message box that waits with nothing registered and nothing scheduled
// fails the test with its name (LoopStalled), never hangs.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Error.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/MenuItem.h"
#include "platform/forms/MessageBox.h"

namespace plat {
class Runtime;
}

namespace plat::test {

class FormDriver : public FormsObserver, public MessageBoxPresenter, public Printer {
 public:
  // Installs itself as observer, message-box presenter, printer and program starter of
  // `rt`, and limits each modal wait to 10 minutes of manual time.
  explicit FormDriver(Runtime& rt);
  ~FormDriver() override;
  FormDriver(const FormDriver&) = delete;
  FormDriver& operator=(const FormDriver&) = delete;

  // ---- Operator actions (false, and a test failure, when the operator could not act).
  bool click(Control& c);
  bool type(TextBox& box, const std::string& text);  // the box then holds `text`
  bool type(ComboBox& box, const std::string& text);
  bool choose(ListControl& list, int index);
  bool choose(ListControl& list, const std::string& item);  // the first item with that text
  bool scroll(VScrollBar& bar, int value);
  bool focus(Control& c);
  bool key(Form& f, const KeyPress& k);
  bool enter(Form& f) { return key(f, KeyPress::Enter()); }
  bool esc(Form& f) { return key(f, KeyPress::Escape()); }
  bool fkey(Form& f, int n) { return key(f, KeyPress::F(n)); }
  bool alt(Form& f, char letter) { return key(f, KeyPress::Alt(letter)); }
  bool ctrl(Form& f, char letter) { return key(f, KeyPress::Ctrl(letter)); }
  bool menu(MenuItem& m);
  using MessageBoxPresenter::close;
  bool close(Form& f);  // the close box
  // Why the operator cannot reach it now ("" when they can).
  std::string whyNot(const Control& c) const;
  std::string whyNot(const Form& f) const;

  // ---- The clock.
  void advance(Millis ms);
  void settle();  // posted tasks and arrived serial bytes, without moving the clock

  // ---- Message boxes. Each box takes the next queued answer, given after `after` ms of
  // manual time (timers and serial events going on).
  void answerBox(MsgBoxResult r = MsgBoxResult::OK, Millis after = 0) {
    answers_.push_back({r, after});
  }
  // Every box with no queued answer gets this one (none: such a box fails the test).
  void answerEveryBox(std::optional<MsgBoxResult> r) { everyBox_ = r; }
  const std::vector<MessageBoxRequest>& boxes() const { return boxes_; }  // all shown so far
  const MessageBoxRequest& lastBox() const;  // fails the test when none was shown
  void clearBoxes() { boxes_.clear(); }

  // ---- Modal forms. The action runs inside the form's modal loop the next time (or every
  // time) it is shown modally; it typically clicks a button or closes the form.
  void onModal(Form& f, std::function<void()> action) { modal_[&f].push_back({action, false}); }
  void onEveryModal(Form& f, std::function<void()> action) { modal_[&f].push_back({action, true}); }

  // ---- What happened, in order: "load F", "show F", "modal F", "modal end F", "hide F",
  // "unload F", "box <title>: <text>", "beep", "end <code>", "print F x<copies>",
  // "start <program>".
  const std::vector<std::string>& journal() const { return journal_; }
  void clearJournal() { journal_.clear(); }

  // ---- Program services.
  bool ended() const;
  int exitCode() const;
  int beeps() const;
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
  // Runs while a form is being printed (e.g. to check what it hides meanwhile).
  std::function<void(Form&)> whilePrinting;

  // ---- Observer, presenter and printer (installed by the constructor).
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
  struct ModalAction {
    std::function<void()> action;
    bool every;
  };
  Runtime& rt_;
  std::vector<std::pair<MsgBoxResult, Millis>> answers_;
  std::optional<MsgBoxResult> everyBox_;
  std::vector<MessageBoxRequest> boxes_;
  MessageBoxRequest none_;
  std::map<Form*, std::vector<ModalAction>> modal_;
  std::vector<std::string> journal_;
  std::vector<Started> started_;
  std::vector<Printed> printed_;
  std::optional<RuntimeError> printError_;
};

}  // namespace plat::test
