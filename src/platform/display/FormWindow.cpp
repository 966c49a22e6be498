#include "platform/display/FormWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>

#include <algorithm>

#include "platform/display/ControlViews.h"
#include "platform/display/Core.h"
#include "platform/display/Keys.h"
#include "platform/forms/UserInput.h"

namespace plat::display {

namespace {
constexpr int kMenuHeight = 25;
}

FormWindow::FormWindow(Core& core, Form& form)
    : Fl_Double_Window(std::max(1, form.Width()), std::max(1, form.Height())),
      core_(core),
      form_(form),
      menu_(std::make_unique<MenuStore>()) {
  end();
  box(FL_FLAT_BOX);
  callback(OnClose, this);
}

FormWindow::~FormWindow() {
  clear();  // the widgets go first: their views are still there for them
}

int FormWindow::menuHeight() const { return menuBar_ && menuBar_->visible() ? kMenuHeight : 0; }

Fl_Group* FormWindow::parentFor(const Control& c) const {
  if (const Control* k = c.container()) {
    const auto it = views_.find(k);
    if (it != views_.end() && it->second->group()) return it->second->group();
  }
  return const_cast<FormWindow*>(this);
}

void FormWindow::build() {
  // Old widgets leave the window now and are deleted once FLTK is done with them (one of
  // them may be running its callback); their views stay until the window goes.
  for (auto& [c, v] : views_) {
    Fl_Widget* w = v->widget();
    if (w->parent()) w->parent()->remove(w);
  }
  for (auto& [c, v] : views_) {
    core_.bury(v->widget());
    retired_.push_back(std::move(v));
  }
  views_.clear();
  Fl_Group::current(nullptr);
  for (Control* c : form_.controls())
    if (auto v = MakeView(*this, *c)) views_[c] = std::move(v);
  for (Control* c : form_.controls()) {
    const auto it = views_.find(c);
    if (it != views_.end()) parentFor(*c)->add(it->second->widget());
  }
  rebuildMenu();
  applyGeometry();
  for (Control* c : form_.controls()) {
    const auto it = views_.find(c);
    if (it != views_.end()) it->second->sync();
  }
  redraw();
}

void FormWindow::applyGeometry() {
  copy_label(form_.Caption().c_str());
  color(Core::color(form_.BackColor()));
  const int w = std::max(1, form_.Width()), h = std::max(1, form_.Height()) + menuHeight();
  if (form_.borderStyle() == BorderStyle::Sizable)
    size_range(1, 1);
  else
    size_range(w, h, w, h);
  if (!shown()) border(form_.borderStyle() == BorderStyle::None ? 0 : 1);
  if (this->w() != w || this->h() != h) size(w, h);
  if (menuBar_) menuBar_->resize(0, 0, w, kMenuHeight);
  redraw();
}

void FormWindow::syncForm(Prop p) {
  switch (p) {
    case Prop::WindowState:
      if (!shown()) break;
      if (form_.windowState() == WindowState::Minimized)
        iconize();
      else
        show();
      break;
    case Prop::Geometry:
      if (form_.startUpPosition() == StartUpPosition::Manual) position(form_.Left(), form_.Top());
      [[fallthrough]];
    default:
      applyGeometry();
      break;
  }
}

void FormWindow::syncControl(Control& c, Prop p) {
  if (ControlView::Structural(c, p)) {
    build();
    return;
  }
  const bool container = c.kind() == ControlKind::Frame || c.kind() == ControlKind::PictureBox;
  if (container && (p == Prop::Geometry || p == Prop::BorderStyle)) {
    // Its controls move with it.
    for (auto& [k, v] : views_) v->sync();
    return;
  }
  const auto it = views_.find(&c);
  if (it != views_.end()) it->second->sync();
}

void FormWindow::addMenu(MenuStore& store, MenuItem& m) {
  if (m.Caption() == "-") {
    // A separator: a line under the item before it.
    if (!store.items.empty() && store.items.back().text)
      store.items.back().flags |= FL_MENU_DIVIDER;
    return;
  }
  int flags = 0;
  if (!m.Visible()) flags |= FL_MENU_INVISIBLE;
  if (!m.Enabled()) flags |= FL_MENU_INACTIVE;
  if (m.Checked()) flags |= FL_MENU_TOGGLE | FL_MENU_VALUE;
  store.labels.push_back(FltkText(m.Caption()));
  const char* label = store.labels.back().c_str();
  if (m.items().empty()) {
    store.items.push_back({label, FltkShortcut(m.Shortcut()), OnMenu, &m, flags, FL_NORMAL_LABEL,
                           FL_HELVETICA, FL_NORMAL_SIZE, FL_FOREGROUND_COLOR});
    return;
  }
  store.items.push_back({label, 0, nullptr, nullptr, flags | FL_SUBMENU, FL_NORMAL_LABEL,
                         FL_HELVETICA, FL_NORMAL_SIZE, FL_FOREGROUND_COLOR});
  for (MenuItem* child : m.items()) addMenu(store, *child);
  store.items.push_back({nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0});
}

void FormWindow::rebuildMenu() {
  auto store = std::make_unique<MenuStore>();
  bool any = false;
  for (MenuItem* m : form_.menus()) {
    addMenu(*store, *m);
    any = any || m->Visible();
  }
  store->items.push_back({nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0});
  const int before = menuHeight();
  if (any && !menuBar_) {
    Fl_Group::current(nullptr);
    menuBar_ = new Fl_Menu_Bar(0, 0, w(), kMenuHeight);
    menuBar_->box(FL_FLAT_BOX);
    insert(*menuBar_, 0);
  }
  if (menuBar_) {
    menuBar_->menu(store->items.data());
    menuBar_->redraw();
    if (any)
      menuBar_->show();
    else
      menuBar_->hide();
  }
  // The menu bar may still point into the old items while a pick finishes.
  oldMenu_ = std::move(menu_);
  menu_ = std::move(store);
  if (menuHeight() != before) {
    applyGeometry();
    for (auto& [k, v] : views_) v->sync();
  }
}

void FormWindow::focusControl(Control* c) {
  if (!c || !shown()) return;
  const auto it = views_.find(c);
  if (it == views_.end()) return;
  Fl_Widget* w = it->second->widget();
  if (Fl::focus() != w && w->visible_r() && w->active_r()) w->take_focus();
}

Control* FormWindow::controlOf(const Fl_Widget* w) const {
  for (; w && w != this; w = w->parent())
    for (const auto& [c, v] : views_)
      if (v->widget() == w) return const_cast<Control*>(c);
  return nullptr;
}

void FormWindow::OnClose(Fl_Widget*, void* data) {
  auto* self = static_cast<FormWindow*>(data);
  // Esc belongs to the form's cancel button, never to the window.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  input::closeBox(self->form_);
}

void FormWindow::OnMenu(Fl_Widget* w, void* data) {
  Fl_Widget_Tracker alive(w);
  input::menuClick(*static_cast<MenuItem*>(data));
  // FLTK has flipped a check mark itself: the model's state is shown again.
  if (!alive.deleted())
    if (auto* win = dynamic_cast<FormWindow*>(w->window())) win->rebuildMenu();
}

}  // namespace plat::display
