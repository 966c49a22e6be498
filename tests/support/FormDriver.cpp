#include "support/FormDriver.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/Runtime.h"
#include "platform/forms/UserInput.h"

namespace plat::test {

FormDriver::FormDriver(Runtime& rt) : rt_(rt) {
  if (rt_.loop.clockKind() != EventLoop::ClockKind::Manual)
    ADD_FAILURE() << "FormDriver needs the manual clock";
  rt_.forms.addObserver(this);
  rt_.forms.setMessageBoxPresenter(this);
  rt_.forms.setPrinter(this);
  rt_.forms.modalTimeLimit = 10 * 60 * 1000;
  rt_.app.setProgramStarter(
      [this](const std::string& program, const std::vector<std::string>& args) {
        started_.push_back({program, args});
        journal_.push_back("start " + program);
      });
}

FormDriver::~FormDriver() {
  rt_.forms.removeObserver(this);
  if (rt_.forms.messageBoxPresenter() == this) rt_.forms.setMessageBoxPresenter(nullptr);
  if (rt_.forms.printer() == this) rt_.forms.setPrinter(nullptr);
  rt_.app.setProgramStarter(nullptr);
}

// ---- Operator actions

std::string FormDriver::whyNot(const Form& f) const {
  if (rt_.app.endRequested()) return "the program has ended";
  if (!f.IsLoaded()) return "form " + f.name() + " is not loaded";
  if (!f.Visible()) return "form " + f.name() + " is not shown";
  if (!rt_.forms.acceptsInput(f)) {
    if (const MessageBox* box = rt_.forms.openMessageBox())
      return "message box \"" + box->request().text + "\" is open";
    if (Form* top = rt_.forms.topModalForm()) return "modal form " + top->name() + " is open";
    return "form " + f.name() + " is blocked";
  }
  return {};
}

std::string FormDriver::whyNot(const Control& c) const {
  if (std::string why = whyNot(c.form()); !why.empty()) return why;
  for (const Control* k = &c; k; k = k->container()) {
    if (!k->Visible()) return k->qualifiedName() + " is hidden";
    if (!k->Enabled()) return k->qualifiedName() + " is disabled";
  }
  return {};
}

bool FormDriver::refused(const std::string& action, const Control& c) {
  std::string why = whyNot(c);
  if (why.empty()) why = "it refused";
  ADD_FAILURE() << "cannot " << action << " " << c.qualifiedName() << ": " << why;
  return false;
}

bool FormDriver::refused(const std::string& action, const Form& f) {
  std::string why = whyNot(f);
  if (why.empty()) why = "nothing handles it";
  ADD_FAILURE() << "cannot " << action << " on " << f.name() << ": " << why;
  return false;
}

bool FormDriver::click(Control& c) { return input::click(c) || refused("click", c); }

bool FormDriver::type(TextBox& box, const std::string& text) {
  if (input::editText(box, text)) return true;
  if (box.Locked() && whyNot(box).empty()) return refused("type into locked", box);
  return refused("type into", box);
}

bool FormDriver::type(ComboBox& box, const std::string& text) {
  return input::editText(box, text) || refused("type into", box);
}

bool FormDriver::choose(ListControl& list, int index) {
  if (index < 0 || index >= list.ListCount()) {
    ADD_FAILURE() << list.qualifiedName() << " has no item " << index;
    return false;
  }
  return input::choose(list, index) || refused("choose in", list);
}

bool FormDriver::choose(ListControl& list, const std::string& item) {
  for (int i = 0; i < list.ListCount(); ++i)
    if (list.List(i) == item) return choose(list, i);
  ADD_FAILURE() << list.qualifiedName() << " has no item \"" << item << "\"";
  return false;
}

bool FormDriver::scroll(VScrollBar& bar, int value) {
  return input::scrollTo(bar, value) || refused("scroll", bar);
}

bool FormDriver::focus(Control& c) { return input::focus(c) || refused("focus", c); }

bool FormDriver::key(Form& f, const KeyPress& k) {
  return input::pressKey(f, k) || refused("press " + k.describe(), f);
}

bool FormDriver::menu(MenuItem& m) {
  if (input::menuClick(m)) return true;
  std::string why = whyNot(m.form());
  if (why.empty()) why = "the item or its menu is disabled or hidden";
  ADD_FAILURE() << "cannot click menu " << m.form().name() << "." << m.name() << ": " << why;
  return false;
}

bool FormDriver::close(Form& f) { return input::closeBox(f) || refused("close", f); }

// ---- Clock

void FormDriver::advance(Millis ms) { rt_.loop.advance(ms); }

void FormDriver::settle() { rt_.loop.processPending(); }

// ---- Message boxes

void FormDriver::answerBox(MsgBoxResult r, Millis after) { answers_.push_back({r, after}); }

const MessageBoxRequest& FormDriver::lastBox() const {
  if (boxes_.empty()) {
    ADD_FAILURE() << "no message box was shown";
    return none_;
  }
  return boxes_.back();
}

void FormDriver::open(MessageBox& box) {
  boxes_.push_back(box.request());
  journal_.push_back("box " + box.request().title + ": " + box.request().text);
  Answer answer{};
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.erase(answers_.begin());
  } else if (everyBox_) {
    answer = {*everyBox_, 0};
  } else {
    throw LoopStalled("message box \"" + box.request().text + "\" with no answer registered");
  }
  // The answer comes from the loop, as the operator's would: the box is open meanwhile.
  MessageBox* target = &box;
  const MsgBoxResult r = answer.result;
  if (answer.after <= 0) {
    rt_.loop.post([target, r] { target->answer(r); });
    return;
  }
  auto id = std::make_shared<EventLoop::TimerId>(0);
  *id = rt_.loop.startTimer(answer.after, [this, target, r, id] {
    rt_.loop.stopTimer(*id);
    target->answer(r);
  });
}

// ---- Modal forms

void FormDriver::onModal(Form& f, std::function<void()> action) {
  modal_[&f].push_back({std::move(action), false});
}

void FormDriver::onEveryModal(Form& f, std::function<void()> action) {
  modal_[&f].push_back({std::move(action), true});
}

void FormDriver::modalStarted(Form& f) {
  journal_.push_back("modal " + f.name());
  auto it = modal_.find(&f);
  if (it == modal_.end() || it->second.empty()) return;
  ModalAction next = it->second.front();
  if (!next.every) it->second.erase(it->second.begin());
  rt_.loop.post(next.action);
}

void FormDriver::modalEnded(Form& f) { journal_.push_back("modal end " + f.name()); }

void FormDriver::loopStalled(const std::string& what) { ADD_FAILURE() << "stalled: " << what; }

// ---- Journal and services

void FormDriver::formLoaded(Form& f) { journal_.push_back("load " + f.name()); }
void FormDriver::formUnloaded(Form& f) { journal_.push_back("unload " + f.name()); }
void FormDriver::formShown(Form& f) { journal_.push_back("show " + f.name()); }
void FormDriver::formHidden(Form& f) { journal_.push_back("hide " + f.name()); }
void FormDriver::beep() { journal_.push_back("beep"); }
void FormDriver::programEnded(int code) { journal_.push_back("end " + std::to_string(code)); }

bool FormDriver::ended() const { return rt_.app.endRequested(); }
int FormDriver::exitCode() const { return rt_.app.exitCode(); }
int FormDriver::beeps() const { return rt_.app.beepCount(); }

void FormDriver::printForm(Form& form, int copies) {
  if (printError_) throw *printError_;
  if (whilePrinting) whilePrinting(form);
  printed_.push_back({form.name(), copies});
  journal_.push_back("print " + form.name() + " x" + std::to_string(copies));
}

}  // namespace plat::test
