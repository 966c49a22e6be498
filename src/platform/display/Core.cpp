#include "platform/display/Core.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>

#include <cmath>
#include <stdexcept>

#include "platform/display/CairoDraw.h"
#include "platform/display/FormWindow.h"
#include "platform/display/Keys.h"
#include "platform/display/MessageWindow.h"
#include "platform/forms/UserInput.h"
#include "platform/paint/Fonts.h"

namespace plat::display {

namespace {

// FLTK's dispatch hook: events of form windows go through the display first.
int DispatchEvent(int event, Fl_Window* w) {
  if (auto* fw = dynamic_cast<FormWindow*>(w)) return fw->core().dispatch(event, *fw);
  return Fl::handle_(event, w);
}

bool IsInput(int event) {
  switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
    case FL_DRAG:
    case FL_KEYBOARD:
    case FL_KEYUP:
    case FL_SHORTCUT:
    case FL_MOUSEWHEEL:
    case FL_PASTE:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
      return true;
    default:
      return false;
  }
}

// Centres a w x h window over the box (x, y, bw, bh), kept on the screen.
void CentreOver(Fl_Window& win, int x, int y, int bw, int bh) {
  int sx = 0, sy = 0, sw = 0, sh = 0;
  Fl::screen_work_area(sx, sy, sw, sh);
  const int nx = std::max(sx, std::min(x + (bw - win.w()) / 2, sx + sw - win.w()));
  const int ny = std::max(sy, std::min(y + (bh - win.h()) / 2, sy + sh - win.h()));
  win.position(nx, ny);
}

}  // namespace

Core::Core(FormsRuntime& runtime) : rt(runtime), nextFont_(FL_FREE_FONT) {
  if (rt.loop().clockKind() != EventLoop::ClockKind::Real)
    throw std::logic_error("the display runs on the real clock");
  Fl::background(0xF0, 0xF0, 0xF0);
  Fl::visible_focus(1);
  OpenDisplay();
  Fl::event_dispatch(DispatchEvent);
  rt.addObserver(this);
  rt.setMessageBoxPresenter(this);
  printer.options.pictures = &pictures;
  rt.setPrinter(&printer);
  waiter_.beforeWait = [this] { collect(); };
  rt.loop().setWaiter(&waiter_);
}

void Core::bury(Fl_Widget* w) {
  if (!w) return;
  w->hide();
  if (w->parent()) w->parent()->remove(w);
  graveyard_.push_back(w);
}

void Core::collect() {
  while (!graveyard_.empty()) {
    auto dead = std::move(graveyard_);
    graveyard_.clear();
    for (Fl_Widget* w : dead) delete w;
  }
}

Core::~Core() {
  rt.loop().setWaiter(nullptr);
  if (rt.printer() == &printer) rt.setPrinter(nullptr);
  if (rt.messageBoxPresenter() == this) rt.setMessageBoxPresenter(nullptr);
  rt.removeObserver(this);
  Fl::event_dispatch(nullptr);
  for (auto& [f, w] : windows_) delete w;
  for (auto& [b, w] : boxes_) delete w;
  windows_.clear();
  boxes_.clear();
  collect();
}

Fl_Font Core::font(const Font& f) {
  const std::string family = paint::FontFamily(f.name);
  const auto key = std::make_tuple(family, f.bold, f.italic);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  // FLTK's X11 names: a leading ' ', 'B', 'I' or 'P' picks regular, bold, italic or both.
  const char style = f.bold && f.italic ? 'P' : f.bold ? 'B' : f.italic ? 'I' : ' ';
  fontNames_.push_back(style + family);
  const Fl_Font id = nextFont_++;
  Fl::set_font(id, fontNames_.back().c_str());
  fonts_[key] = id;
  return id;
}

int Core::fontSize(const Font& f) {
  return std::max(1, static_cast<int>(std::lround(paint::FontPixels(f.size))));
}

Fl_Color Core::color(Color c) {
  const Color r = ResolveColor(c);
  return fl_rgb_color(static_cast<uchar>(RedOf(r)), static_cast<uchar>(GreenOf(r)),
                      static_cast<uchar>(BlueOf(r)));
}

FormWindow* Core::windowOf(const Form& f) const {
  const auto it = windows_.find(&f);
  return it == windows_.end() ? nullptr : it->second;
}

bool Core::anyFormLoaded() const {
  for (const Form* f : rt.all())
    if (f->IsLoaded()) return true;
  return false;
}

void Core::raiseModal() {
  if (const MessageBox* box = rt.openMessageBox()) {
    if (auto it = boxes_.find(box); it != boxes_.end()) it->second->show();
    return;
  }
  if (Form* f = rt.topModalForm())
    if (FormWindow* w = windowOf(*f)) w->show();
}

int Core::dispatch(int event, FormWindow& w) {
  Form& form = w.form();
  if (IsInput(event) && !rt.acceptsInput(form)) {
    // A modal form or message box holds the input: this window takes none.
    if (event == FL_PUSH || event == FL_KEYBOARD) {
      fl_beep();
      raiseModal();
    }
    return 1;
  }
  Fl_Widget_Tracker alive(&w);
  // While a menu is pulled down it holds the keyboard (Enter picks its item).
  if (event == FL_KEYBOARD && Fl::grab() == nullptr) {
    const KeyPress k = ModelKey(Fl::event_key(), Fl::event_state());
    bool model = !k.none();
    if (k.key == Key::Enter) {
      // Enter in a multi-line box with no default button makes a new line where the
      // cursor is (the box's change reaches the model as an edit).
      const Control* focused = form.ActiveControl();
      const CommandButton* def = form.defaultButton();
      if (focused && focused->kind() == ControlKind::TextBox &&
          static_cast<const TextBox*>(focused)->MultiLine() && !(def && def->usable()))
        model = false;
    }
    if (model) {
      const bool handled = input::pressKey(form, k);
      if (alive.deleted()) return 1;
      if (handled || k.key == Key::Escape || k.key == Key::Tab) {
        syncFocusFromFltk();
        return 1;
      }
    }
  }
  const int used = Fl::handle_(event, &w);
  if (!alive.deleted() &&
      (event == FL_PUSH || event == FL_RELEASE || event == FL_KEYBOARD || event == FL_FOCUS))
    syncFocusFromFltk();
  return used;
}

void Core::syncFocusFromFltk() {
  Fl_Widget* now = Fl::focus();
  if (now == lastFocus_) return;
  lastFocus_ = now;
  if (!now) return;
  auto* fw = dynamic_cast<FormWindow*>(now->top_window());
  if (!fw) return;
  if (Control* c = fw->controlOf(now)) input::focus(*c);
}

void Core::place(FormWindow& w) {
  const Form& f = w.form();
  switch (f.startUpPosition()) {
    case StartUpPosition::Manual:
      w.position(f.Left(), f.Top());
      break;
    case StartUpPosition::CenterOwner:
      if (Form* owner = f.owner())
        if (FormWindow* ow = windowOf(*owner); ow && ow->shown()) {
          CentreOver(w, ow->x(), ow->y(), ow->w(), ow->h());
          break;
        }
      [[fallthrough]];
    case StartUpPosition::CenterScreen: {
      int sx = 0, sy = 0, sw = 0, sh = 0;
      Fl::screen_work_area(sx, sy, sw, sh);
      CentreOver(w, sx, sy, sw, sh);
      break;
    }
  }
}

// ---- Observer.

void Core::formLoaded(Form& f) {
  if (FormWindow* w = windowOf(f)) w->build();
}

void Core::formUnloaded(Form& f) {
  const auto it = windows_.find(&f);
  if (it == windows_.end()) return;
  FormWindow* w = it->second;
  windows_.erase(it);
  lastFocus_ = nullptr;
  bury(w);
}

void Core::formShown(Form& f) {
  FormWindow*& w = windows_[&f];
  const bool fresh = !w;
  if (fresh) {
    w = new FormWindow(*this, f);
    w->build();
    place(*w);
  }
  if (f.modal() && !w->non_modal()) {
    if (w->shown()) w->hide();
    w->set_non_modal();
  }
  w->show();
  if (f.windowState() == WindowState::Minimized) w->iconize();
  w->focusControl(f.ActiveControl());
}

void Core::formHidden(Form& f) {
  if (FormWindow* w = windowOf(f)) w->hide();
}

void Core::formToFront(Form& f) {
  if (FormWindow* w = windowOf(f); w && w->shown()) w->show();
}

void Core::formChanged(Form& f, Prop p) {
  if (FormWindow* w = windowOf(f)) w->syncForm(p);
}

void Core::controlChanged(Control& c, Prop p) {
  if (FormWindow* w = windowOf(c.form())) w->syncControl(c, p);
}

void Core::menuChanged(MenuItem& m, Prop) {
  if (FormWindow* w = windowOf(m.form())) w->rebuildMenu();
}

void Core::focusChanged(Form& f, Control* now) {
  if (FormWindow* w = windowOf(f)) {
    w->focusControl(now);
    lastFocus_ = Fl::focus();
  }
}

void Core::beep() { fl_beep(); }

void Core::programEnded(int) {
  for (auto& [f, w] : windows_) w->hide();
  for (auto& [b, w] : boxes_) w->hide();
}

// ---- Message boxes.

void Core::open(MessageBox& box) {
  auto* w = new MessageWindow(box);
  boxes_[&box] = w;
  FormWindow* over = nullptr;
  if (Form* f = rt.activeForm()) over = windowOf(*f);
  if (over && over->shown()) {
    CentreOver(*w, over->x(), over->y(), over->w(), over->h());
  } else {
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_work_area(sx, sy, sw, sh);
    CentreOver(*w, sx, sy, sw, sh);
  }
  w->show();
}

void Core::close(MessageBox& box) {
  const auto it = boxes_.find(&box);
  if (it == boxes_.end()) return;
  MessageWindow* w = it->second;
  boxes_.erase(it);
  bury(w);
}

}  // namespace plat::display
