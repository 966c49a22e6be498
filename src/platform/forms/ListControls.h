#pragma once
// List boxes and combo boxes.
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Control.h"

namespace plat {

enum class ComboStyle { DropDownCombo, DropDownList };

namespace detail {
struct ListState {
  std::vector<std::string> items;
  int listIndex = -1;
};

struct ComboState {
  ComboStyle style = ComboStyle::DropDownCombo;
  std::string text;
};
}  // namespace detail

// What list boxes and combo boxes share: the items and the selected index.
class ListControl : public WithState<Control, detail::ListState> {
 public:
  int ListCount() const { return static_cast<int>(s_.items.size()); }
  const std::vector<std::string>& items() const { return s_.items; }
  // Item i; "" for an index outside the list.
  std::string List(int i) const;
  void setList(int i, const std::string& text);  // replaces item i (error 381 outside)
  // Inserts at `index` (-1: at the end; error 5 outside 0..ListCount).
  void AddItem(const std::string& text, int index = -1);
  void RemoveItem(int index);
  void Clear();
  int ListIndex() const { return s_.listIndex; }
  // -1 clears the choice; 0..ListCount-1 chooses and runs Click; anything else: error 380.
  void setListIndex(int i);
  bool takesFocus() const override { return true; }

 protected:
  ListControl(Form& form, ControlKind kind, std::string name, int index);
  virtual void selectionChanged() {}
  // Sets the index without running Click.
  void setIndexQuietly(int i);
};

class ListBox : public ListControl {
 public:
  ListBox(Form& form, std::string name, int index = -1);
};

class ComboBox : public WithState<ListControl, detail::ComboState> {
 public:
  ComboBox(Form& form, std::string name, int index = -1);
  ComboStyle Style() const { return s_.style; }
  void setStyle(ComboStyle v);
  // The text in the box: the chosen item, or what was typed (drop-down combo). Setting it
  // runs no handler; the index follows an item of exactly that text, else becomes -1.
  const std::string& Text() const { return s_.text; }
  void setText(const std::string& v);

  // The operator typed into the box (drop-down combo).
  std::function<void()> onChange;

 protected:
  void selectionChanged() override;
};

}  // namespace plat
