#include "platform/forms/Form.h"

#include <exception>

#include "platform/core/Error.h"
#include "platform/forms/Controls.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/forms/MenuItem.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

Form::Form(FormsRuntime& rt, std::string name) : rt_(rt), name_(std::move(name)) { rt_.add(this); }

Form::~Form() { rt_.remove(this); }

void Form::changed(Prop p) {
  rt_.notify([&](FormsObserver& o) { o.formChanged(*this, p); });
}

void Form::setCaption(const std::string& v) {
  if (SetIfChanged(s_.caption, v)) changed(Prop::Caption);
}

void Form::setBackColor(Color c) {
  if (SetIfChanged(s_.backColor, c)) changed(Prop::BackColor);
}

void Form::setBorderStyle(BorderStyle v) {
  if (SetIfChanged(s_.border, v)) changed(Prop::BorderStyle);
}

void Form::setStartUpPosition(StartUpPosition v) {
  if (SetIfChanged(s_.startUp, v)) changed(Prop::StartUpPosition);
}

void Form::Move(int left, int top, int width, int height) {
  if (width < 0 || height < 0) ThrowInvalidValue();
  if (left == s_.left && top == s_.top && width == s_.width && height == s_.height) return;
  s_.left = left, s_.top = top, s_.width = width, s_.height = height;
  changed(Prop::Geometry);
}

void Form::setWindowState(WindowState v) {
  if (SetIfChanged(s_.windowState, v)) changed(Prop::WindowState);
}

void Form::allMenuItems(std::vector<MenuItem*>& out) const {
  std::vector<MenuItem*> stack(menus_.rbegin(), menus_.rend());
  while (!stack.empty()) {
    MenuItem* m = stack.back();
    stack.pop_back();
    out.push_back(m);
    for (auto it = m->items_.rbegin(); it != m->items_.rend(); ++it) stack.push_back(*it);
  }
}

void Form::ensureDesign() {
  if (designTaken_) return;
  designTaken_ = true;
  d_ = s_;
  for (Control* c : controls_) c->saveDesign();
  std::vector<MenuItem*> items;
  allMenuItems(items);
  for (MenuItem* m : items) m->d_ = m->s_;
}

void Form::restoreDesign() {
  s_ = d_;
  for (Control* c : controls_) c->restoreDesign();
  std::vector<MenuItem*> items;
  allMenuItems(items);
  for (MenuItem* m : items) m->s_ = m->d_;
}

void Form::Load() {
  if (loaded_ || rt_.app.endRequested()) return;
  ensureDesign();
  restoreDesign();
  loaded_ = true;
  ++loadCount_;
  focus_ = nullptr;
  for (Control* c : controls_) c->loadStateChanged();
  rt_.notify([&](FormsObserver& o) { o.formLoaded(*this); });
  Form_Load();
}

void Form::focusFirst() {
  if (focus_ && focus_->usable()) return;
  for (Control* c : controls_)
    if (c->takesFocus() && c->usable()) {
      setFocusTo(c);
      return;
    }
}

void Form::setFocusTo(Control* c) {
  if (focus_ == c) return;
  Control* old = focus_;
  focus_ = c;
  if (old && old->onLostFocus) old->onLostFocus();
  rt_.notify([&](FormsObserver& o) { o.focusChanged(*this, focus_); });
  if (c && focus_ == c && c->onGotFocus) c->onGotFocus();
}

void Form::Show(ShowMode mode, Form* owner) {
  if (rt_.app.endRequested()) return;
  Load();
  if (!loaded_) return;  // its load step unloaded it
  if (visible_) {
    // Already shown (modal or not): only brought to the front.
    ZOrder();
    return;
  }
  modal_ = mode == ShowMode::Modal;
  owner_ = owner ? owner : rt_.activeForm();
  visible_ = true;
  showSerial_ = rt_.nextSerial();
  rt_.toFront(this);
  rt_.notify([&](FormsObserver& o) { o.formShown(*this); });
  focusFirst();
  if (!modal_) return;

  const int myLoad = loadCount_;
  rt_.runModal(
      {this, nullptr, showSerial_},
      [&] { rt_.notify([&](FormsObserver& o) { o.modalStarted(*this); }); },
      [&] { return !visible_ || loadCount_ != myLoad; }, "modal form " + name_,
      [&] {
        if (loadCount_ == myLoad) modal_ = false;
        rt_.notify([&](FormsObserver& o) { o.modalEnded(*this); });
      });
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  rt_.removeFromZOrder(this);
  rt_.notify([&](FormsObserver& o) { o.formHidden(*this); });
}

void Form::setVisible(bool v) {
  if (v)
    Show();
  else
    Hide();
}

void Form::ZOrder() {
  if (!visible_) return;
  rt_.toFront(this);
  rt_.notify([&](FormsObserver& o) { o.formToFront(*this); });
}

bool Form::Unload() {
  if (!loaded_ || unloading_) return true;
  unloading_ = true;
  bool cancel = false;
  try {
    Form_Unload(cancel);
  } catch (...) {
    unloading_ = false;
    throw;
  }
  unloading_ = false;
  if (cancel || !loaded_) return !cancel;
  Hide();
  loaded_ = false;
  ++loadCount_;
  for (auto& action : discardActions_) {
    try {
      action();
    } catch (const RuntimeError&) {
      // A control that fails to close is discarded all the same.
    }
  }
  focus_ = nullptr;
  owner_ = nullptr;
  restoreDesign();
  for (Control* c : controls_) c->loadStateChanged();
  rt_.notify([&](FormsObserver& o) { o.formUnloaded(*this); });
  return true;
}

void Form::PrintForm(int copies) {
  Printer* p = rt_.printer();
  if (!p) throw RuntimeError(kErrPrintFailed, "Printer error");
  p->printForm(*this, copies);
}

void Form::addDiscardAction(std::function<void()> action) {
  discardActions_.push_back(std::move(action));
}

Control* Form::findControl(std::string_view name, int index) const {
  for (Control* c : controls_)
    if (c->name() == name && c->index() == index) return c;
  return nullptr;
}

CommandButton* Form::defaultButton() const {
  for (Control* c : controls_)
    if (c->kind() == ControlKind::CommandButton && static_cast<CommandButton*>(c)->Default())
      return static_cast<CommandButton*>(c);
  return nullptr;
}

CommandButton* Form::cancelButton() const {
  for (Control* c : controls_)
    if (c->kind() == ControlKind::CommandButton && static_cast<CommandButton*>(c)->Cancel())
      return static_cast<CommandButton*>(c);
  return nullptr;
}

}  // namespace plat
