#pragma once
// The window of one message box: its icon, its text, OK (Enter) and, when asked, Cancel.
// Esc and the close box answer as closing the box does (Cancel, or OK when that is the
// only button).
#include <FL/Fl_Double_Window.H>

#include "platform/forms/MessageBox.h"

namespace plat::display {

class MessageWindow : public Fl_Double_Window {
 public:
  explicit MessageWindow(MessageBox& box);
  MessageBox& box() const { return box_; }

 private:
  static void OnOk(Fl_Widget*, void* self);
  static void OnCancel(Fl_Widget*, void* self);
  static void OnClose(Fl_Widget*, void* self);
  MessageBox& box_;
  std::string title_, text_;
};

}  // namespace plat::display
