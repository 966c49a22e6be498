#pragma once
// Menus: a top menu is a MenuItem of the form, an item is a MenuItem of a top menu (or of
// another item, for a submenu). Captions may change at run time; "&" marks the access key.
// The shortcut (F1..F12, Ctrl+letter) is fixed at design and clicks the item when pressed
// on the form while the item and its menus are enabled and visible.
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Types.h"

namespace plat {

class Form;

class MenuItem {
 public:
  MenuItem(Form& form, std::string name, std::string caption);
  MenuItem(MenuItem& parent, std::string name, std::string caption, KeyPress shortcut = {});
  ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  Form& form() const { return form_; }
  MenuItem* parent() const { return parent_; }
  const std::vector<MenuItem*>& items() const { return items_; }
  const std::string& name() const { return name_; }
  const KeyPress& Shortcut() const { return shortcut_; }

  const std::string& Caption() const { return s_.caption; }
  void setCaption(const std::string& v);
  bool Enabled() const { return s_.enabled; }
  void setEnabled(bool v);
  bool Visible() const { return s_.visible; }
  void setVisible(bool v);
  bool Checked() const { return s_.checked; }
  void setChecked(bool v);

  // Enabled and visible with every parent menu.
  bool usable() const;

  std::function<void()> onClick;
  void raiseClick();

 private:
  friend class Form;
  struct State {
    std::string caption;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
  };
  void changed(Prop p);
  Form& form_;
  MenuItem* parent_;
  std::vector<MenuItem*> items_;
  std::string name_;
  KeyPress shortcut_;
  State s_, d_;
};

}  // namespace plat
