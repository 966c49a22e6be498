#include "platform/display/ViewMakers.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/Core.h"
#include "platform/display/FormWindow.h"
#include "platform/forms/UserInput.h"

// FLTK after the model's headers: some of FLTK's pull in Xlib, whose macros (None,
// KeyPress, ...) would break them.
#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Input_Choice.H>
#include <FL/Fl_Menu_Button.H>

namespace plat::display {

namespace {

// Menu items of a list, kept alive for FLTK.
struct ItemStore {
  std::vector<Fl_Menu_Item> items;
  std::deque<std::string> labels;
  void set(const std::vector<std::string>& list, Fl_Font font, int size, Fl_Color color) {
    items.clear();
    labels.clear();
    for (const auto& s : list) {
      std::string label;
      for (char c : FltkText(s)) {
        label += c;
        if (c == '&') label += '&';
      }
      labels.push_back(label.empty() ? std::string(" ") : label);
      items.push_back({labels.back().c_str(), 0, nullptr, nullptr, 0, FL_NORMAL_LABEL, font,
                       static_cast<Fl_Fontsize>(size), color});
    }
    items.push_back({nullptr, 0, nullptr, nullptr, 0, 0, 0, 0, 0});
  }
};

class ComboView : public ControlView {
 public:
  ComboView(FormWindow& w, ComboBox& c) : ControlView(w, c), combo_(c) {
    if (c.Style() == ComboStyle::DropDownList) {
      choice_ = new Fl_Choice(0, 0, 1, 1);
      choice_->callback(OnChoice, this);
      choice_->when(FL_WHEN_CHANGED);
    } else {
      editable_ = new Fl_Input_Choice(0, 0, 1, 1);
      editable_->menubutton()->callback(OnMenu, this);
      editable_->input()->when(FL_WHEN_CHANGED);
      editable_->input()->callback(OnText, this);
    }
  }
  Fl_Widget* widget() const override {
    return choice_ ? static_cast<Fl_Widget*>(choice_) : editable_;
  }
  void sync() override {
    Core& core = window.core();
    const Fl_Font font = core.font(combo_.font());
    const int size = Core::fontSize(combo_.font());
    const Fl_Color fg = Core::color(combo_.ForeColor()), bg = Core::color(combo_.BackColor());
    if (combo_.items() != shown_ || font != font_ || size != size_ || fg != fg_) {
      shown_ = combo_.items(), font_ = font, size_ = size, fg_ = fg;
      // The old items stay alive until the menu has been given the new ones.
      auto fresh = std::make_unique<ItemStore>();
      fresh->set(shown_, font, size, fg);
      if (choice_) choice_->menu(fresh->items.data());
      if (editable_) editable_->menubutton()->menu(fresh->items.data());
      old_ = std::move(store_);
      store_ = std::move(fresh);
    }
    if (choice_) {
      choice_->textfont(font);
      choice_->textsize(size);
      choice_->textcolor(fg);
      choice_->color(bg);
      if (choice_->value() != combo_.ListIndex()) choice_->value(combo_.ListIndex());
    } else {
      editable_->textfont(font);
      editable_->textsize(size);
      editable_->textcolor(fg);
      editable_->input()->color(bg);
      if (combo_.Text() != editable_->value()) editable_->value(combo_.Text().c_str());
    }
    syncCommon();
  }

 private:
  static void OnChoice(Fl_Widget* w, void* v) {
    auto* view = static_cast<ComboView*>(v);
    Fl_Widget_Tracker alive(w);
    input::choose(view->combo_, view->choice_->value());
    if (!alive.deleted()) view->sync();
  }
  static void OnMenu(Fl_Widget* w, void* v) {
    auto* view = static_cast<ComboView*>(v);
    Fl_Widget_Tracker alive(w);
    input::choose(view->combo_, view->editable_->menubutton()->value());
    if (!alive.deleted()) view->sync();
  }
  static void OnText(Fl_Widget* w, void* v) {
    auto* view = static_cast<ComboView*>(v);
    Fl_Widget_Tracker alive(w);
    const bool taken = input::editText(view->combo_, view->editable_->input()->value());
    if (!alive.deleted() && !taken) view->sync();
  }
  ComboBox& combo_;
  Fl_Choice* choice_ = nullptr;
  Fl_Input_Choice* editable_ = nullptr;
  std::unique_ptr<ItemStore> store_, old_;
  std::vector<std::string> shown_;
  Fl_Font font_ = -1;
  int size_ = 0;
  Fl_Color fg_ = 0;
};

class ListView : public ControlView {
 public:
  ListView(FormWindow& w, ListBox& l) : ControlView(w, l), list_(l) {
    browser_ = new Fl_Hold_Browser(0, 0, 1, 1);
    browser_->format_char(0);
    browser_->when(FL_WHEN_CHANGED);
    browser_->callback(OnChoose, this);
  }
  Fl_Widget* widget() const override { return browser_; }
  void sync() override {
    Core& core = window.core();
    browser_->textfont(core.font(list_.font()));
    browser_->textsize(Core::fontSize(list_.font()));
    browser_->textcolor(Core::color(list_.ForeColor()));
    browser_->color(Core::color(list_.BackColor()));
    if (list_.items() != shown_) {
      shown_ = list_.items();
      browser_->clear();
      for (const auto& s : shown_) browser_->add(s.c_str());
    }
    if (browser_->value() != list_.ListIndex() + 1) browser_->value(list_.ListIndex() + 1);
    syncCommon();
  }

 private:
  static void OnChoose(Fl_Widget* w, void* v) {
    auto* view = static_cast<ListView*>(v);
    Fl_Widget_Tracker alive(w);
    if (view->browser_->value() > 0) input::choose(view->list_, view->browser_->value() - 1);
    if (!alive.deleted()) view->sync();
  }
  ListBox& list_;
  Fl_Hold_Browser* browser_;
  std::vector<std::string> shown_;
};

}  // namespace

std::unique_ptr<ControlView> MakeComboView(FormWindow& window, ComboBox& combo) {
  return std::make_unique<ComboView>(window, combo);
}

std::unique_ptr<ControlView> MakeListView(FormWindow& window, ListBox& list) {
  return std::make_unique<ListView>(window, list);
}

}  // namespace plat::display
