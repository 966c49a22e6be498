#include "platform/forms/FormsRuntime.h"

#include <algorithm>

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace plat {

Form* FormsRuntime::find(std::string_view name) const {
  for (Form* f : forms_)
    if (f->name() == name) return f;
  return nullptr;
}

std::vector<Form*> FormsRuntime::loaded() const {
  std::vector<Form*> out;
  for (Form* f : forms_)
    if (f->IsLoaded()) out.push_back(f);
  return out;
}

Form* FormsRuntime::topModalForm() const {
  for (auto it = modal_.rbegin(); it != modal_.rend(); ++it)
    if (it->form) return it->form;
  return nullptr;
}

const MessageBox* FormsRuntime::openMessageBox() const {
  for (auto it = modal_.rbegin(); it != modal_.rend(); ++it)
    if (it->box) return it->box;
  return nullptr;
}

bool FormsRuntime::acceptsInput(const Form& f) const {
  if (app.endRequested() || !f.IsLoaded() || !f.Visible()) return false;
  if (modal_.empty()) return true;
  const ModalEntry& top = modal_.back();
  return top.form == &f || f.showSerial_ > top.serial;
}

void FormsRuntime::addObserver(FormsObserver* o) {
  if (o && !isObserver(o)) observers_.push_back(o);
}

void FormsRuntime::removeObserver(FormsObserver* o) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

bool FormsRuntime::isObserver(FormsObserver* o) const {
  return std::find(observers_.begin(), observers_.end(), o) != observers_.end();
}

void FormsRuntime::recordDesigns() {
  for (Form* f : forms_) f->ensureDesign();
}

void FormsRuntime::stopAllTimers() {
  for (Form* f : forms_)
    for (Control* c : f->controls())
      if (c->kind() == ControlKind::Timer) c->loadStateChanged();
}

void FormsRuntime::add(Form* f) { forms_.push_back(f); }

void FormsRuntime::remove(Form* f) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
  removeFromZOrder(f);
  popModal(f);
}

void FormsRuntime::toFront(Form* f) {
  removeFromZOrder(f);
  zOrder_.push_back(f);
}

void FormsRuntime::removeFromZOrder(Form* f) {
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), f), zOrder_.end());
}

void FormsRuntime::runModal(ModalEntry e, const std::function<void()>& start,
                            const std::function<bool()>& done, const std::string& what,
                            const std::function<void()>& finish) {
  modal_.push_back(e);
  const void* which = e.form ? static_cast<const void*>(e.form) : e.box;
  auto end = [&] {
    popModal(which);
    finish();
  };
  try {
    start();
    loop_.runUntil([&] { return done() || app.endRequested(); }, what, modalTimeLimit);
  } catch (const LoopStalled& stall) {
    notify([&](FormsObserver& o) { o.loopStalled(stall.what()); });
    end();
    throw;
  } catch (...) {
    end();
    throw;
  }
  end();
}

void FormsRuntime::popModal(const void* which) {
  for (auto it = modal_.rbegin(); it != modal_.rend(); ++it)
    if (it->form == which || it->box == which) {
      modal_.erase(std::next(it).base());
      return;
    }
}

}  // namespace plat
