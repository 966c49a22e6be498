#pragma once
// The window of one form: the menu bar (when the form has menus) above the client area,
// and one widget per control in declaration order, inside its frame or picture box.
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Item.H>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"

class Fl_Menu_Bar;
class Fl_Group;

namespace plat::display {

class Core;
class ControlView;

class FormWindow : public Fl_Double_Window {
 public:
  FormWindow(Core& core, Form& form);
  ~FormWindow() override;

  Core& core() const { return core_; }
  Form& form() const { return form_; }
  int menuHeight() const;

  // Creates the widgets of every control anew (at creation, at each load, and when a
  // property changes a control's kind of widget).
  void build();
  void syncForm(Prop p);
  void syncControl(Control& c, Prop p);
  void rebuildMenu();
  void focusControl(Control* c);
  // The control whose widget is `w` or holds it; nullptr if none.
  Control* controlOf(const Fl_Widget* w) const;
  // The window's own client area (below the menu bar) on the screen.
  void applyGeometry();

 private:
  struct MenuStore {
    std::vector<Fl_Menu_Item> items;
    std::deque<std::string> labels;
  };
  void addMenu(MenuStore& store, MenuItem& m);
  static void OnClose(Fl_Widget* w, void* data);
  static void OnMenu(Fl_Widget* w, void* data);
  Fl_Group* parentFor(const Control& c) const;

  Core& core_;
  Form& form_;
  Fl_Menu_Bar* menuBar_ = nullptr;
  std::unique_ptr<MenuStore> menu_, oldMenu_;
  std::map<const Control*, std::unique_ptr<ControlView>> views_;
  std::vector<std::unique_ptr<ControlView>> retired_;  // their widgets may still be in use
};

}  // namespace plat::display
