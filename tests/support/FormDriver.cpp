#include "support/FormDriver.h"

#include <gtest/gtest.h>

#include <memory>

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

std::string FormDriver::whyNot(const Form& f) const {
  if (rt_.app.endRequested()) return "the program has ended";
  if (!f.IsLoaded()) return "form " + f.name() + " is not loaded";
  if (!f.Visible()) return "form " + f.name() + " is not shown";
  if (rt_.forms.acceptsInput(f)) return {};
  if (const MessageBox* box = rt_.forms.openMessageBox())
    return "message box \"" + box->request().text + "\" is open";
  if (Form* top = rt_.forms.topModalForm()) return "modal form " + top->name() + " is open";
  return "form " + f.name() + " is blocked";
}

std::string FormDriver::whyNot(const Control& c) const {
  if (std::string why = whyNot(c.form()); !why.empty()) return why;
  for (const Control* k = &c; k; k = k->container()) {
    if (!k->Visible()) return k->qualifiedName() + " is hidden";
    if (!k->Enabled()) return k->qualifiedName() + " is disabled";
  }
  return {};
}

bool FormDriver::refused(const std::string& what, const std::string& why, const char* otherwise) {
  ADD_FAILURE() << "cannot " << what << ": " << (why.empty() ? otherwise : why);
  return false;
}

bool FormDriver::did(bool done, const std::string& verb, const Control& c) {
  return done || refused(verb + " " + c.qualifiedName(), whyNot(c));
}

bool FormDriver::did(bool done, const std::string& verb, const Form& f) {
  return done || refused(verb + " on " + f.name(), whyNot(f), "disabled, hidden or not handled");
}

bool FormDriver::type(TextBox& box, const std::string& text) {
  const bool locked = box.Locked() && whyNot(box).empty();
  return did(input::editText(box, text), locked ? "type into locked" : "type into", box);
}

bool FormDriver::choose(ListControl& list, const std::string& item) {
  int i = 0;
  while (i < list.ListCount() && list.List(i) != item) ++i;
  return did(i < list.ListCount() && input::choose(list, i), "choose \"" + item + "\" in", list);
}

const MessageBoxRequest& FormDriver::lastBox() const {
  if (boxes_.empty()) ADD_FAILURE() << "no message box was shown";
  return boxes_.empty() ? none_ : boxes_.back();
}

void FormDriver::open(MessageBox& box) {
  boxes_.push_back(box.request());
  journal_.push_back("box " + box.request().title + ": " + box.request().text);
  if (answers_.empty() && !everyBox_)
    throw LoopStalled("message box \"" + box.request().text + "\" with no answer registered");
  const auto [result, after] =
      answers_.empty() ? std::pair(*everyBox_, Millis{0}) : answers_.front();
  if (!answers_.empty()) answers_.erase(answers_.begin());
  // The answer comes from the loop, as the operator's would: the box is open meanwhile.
  auto id = std::make_shared<EventLoop::TimerId>(0);  // ids start at 1
  const auto answer = [this, target = &box, r = result, id] {
    rt_.loop.stopTimer(*id);
    target->answer(r);
  };
  if (after <= 0)
    rt_.loop.post(answer);
  else
    *id = rt_.loop.startTimer(after, answer);
}

void FormDriver::modalStarted(Form& f) {
  journal_.push_back("modal " + f.name());
  auto& actions = modal_[&f];
  if (actions.empty()) return;
  rt_.loop.post(actions.front().first);
  if (!actions.front().second) actions.erase(actions.begin());
}

void FormDriver::loopStalled(const std::string& what) { ADD_FAILURE() << "stalled: " << what; }

void FormDriver::printForm(Form& form, int copies) {
  if (printError_) throw *printError_;
  if (whilePrinting) whilePrinting(form);
  printed_.push_back({form.name(), copies});
  journal_.push_back("print " + form.name() + " x" + std::to_string(copies));
}

}  // namespace plat::test
