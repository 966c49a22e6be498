#pragma once
// A form: one class per window, derived from plat::Form, with its controls as named
// members (set to their design look in the constructor), its handlers as member functions
// wired in the constructor, and its own variables as ordinary members.
//
//   Load    (explicit, or by Show): controls return to design, timers start, Form_Load runs.
//   Unload  (by code or the close box): Form_Unload runs and may cancel; otherwise the form
//           hides, its timers stop, its discard actions run (ports close) and its controls
//           return to design. The form's own member variables are kept.
//   Show    modeless, or modal: a nested event loop runs until the form is hidden or
//           unloaded (or the program ends); timers and serial events go on meanwhile.
//
// Touching a control of a form that is not loaded does not load it: check IsLoaded().
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/Types.h"

namespace plat {

class FormsRuntime;
class Control;
class CommandButton;
class MenuItem;

enum class BorderStyle { None, FixedSingle, Sizable, FixedDialog };
enum class StartUpPosition { Manual, CenterOwner, CenterScreen };
enum class WindowState { Normal, Minimized, Maximized };
enum class ShowMode { Modeless, Modal };

class Form {
 public:
  Form(FormsRuntime& rt, std::string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  FormsRuntime& rt() const { return rt_; }
  const std::string& name() const { return name_; }

  // Properties (design values set in the constructor).
  const std::string& Caption() const { return s_.caption; }
  void setCaption(const std::string& v);
  Color BackColor() const { return s_.backColor; }
  void setBackColor(Color c);
  BorderStyle borderStyle() const { return s_.border; }
  void setBorderStyle(BorderStyle v);
  StartUpPosition startUpPosition() const { return s_.startUp; }
  void setStartUpPosition(StartUpPosition v);
  // Position of the window on the screen, size of its client area (pixels, without menu
  // bar); the display places a centred form itself.
  int Left() const { return s_.left; }
  int Top() const { return s_.top; }
  int Width() const { return s_.width; }
  int Height() const { return s_.height; }
  void Move(int left, int top, int width, int height);
  void setSize(int width, int height) { Move(s_.left, s_.top, width, height); }
  WindowState windowState() const { return s_.windowState; }
  void setWindowState(WindowState v);

  // Lifecycle.
  bool IsLoaded() const { return loaded_; }
  void Load();  // does nothing when loaded
  // Loads if needed and shows. Modal: returns when the form is hidden or unloaded. A form
  // that is already shown is only brought to the front.
  void Show(ShowMode mode = ShowMode::Modeless, Form* owner = nullptr);
  void Hide();
  // Returns false when Form_Unload cancelled (or the form was not loaded: true).
  bool Unload();
  bool Visible() const { return visible_; }
  void setVisible(bool v);  // true: Show modeless; false: Hide
  void ZOrder();            // brings the form to the front
  bool modal() const { return modal_; }
  Form* owner() const { return owner_; }

  // Prints the form's window image on the default printer (through the Printer of the
  // runtime), waiting in the event loop until the printer has the job; failures are
  // RuntimeError.
  void PrintForm(int copies = 1);

  // Actions run at every unload after Form_Unload (and not when it cancels), in order of
  // registration: a form hands its serial ports here so that they close with it.
  void addDiscardAction(std::function<void()> action);

  // What the form holds, in declaration order (drawing and tab order).
  const std::vector<Control*>& controls() const { return controls_; }
  const std::vector<MenuItem*>& menus() const { return menus_; }  // top menus
  Control* findControl(std::string_view name, int index = -1) const;
  Control* ActiveControl() const { return focus_; }
  CommandButton* defaultButton() const;
  CommandButton* cancelButton() const;

 protected:
  virtual void Form_Load() {}
  virtual void Form_Unload(bool& cancel) { (void)cancel; }

 private:
  friend class Control;
  friend class MenuItem;
  friend class CommandButton;
  friend class OptionButton;
  friend class FormsRuntime;
  friend struct InputAccess;
  struct State {
    std::string caption;
    Color backColor = colors::kButtonFace;
    BorderStyle border = BorderStyle::FixedSingle;
    StartUpPosition startUp = StartUpPosition::CenterScreen;
    int left = 0, top = 0, width = 640, height = 480;
    WindowState windowState = WindowState::Normal;
  };
  void changed(Prop p);
  void ensureDesign();
  void restoreDesign();
  void setFocusTo(Control* c);
  void focusFirst();
  void allMenuItems(std::vector<MenuItem*>& out) const;

  FormsRuntime& rt_;
  std::string name_;
  State s_, d_;
  bool designTaken_ = false;
  bool loaded_ = false;
  bool visible_ = false;
  bool modal_ = false;
  bool unloading_ = false;
  Form* owner_ = nullptr;
  Control* focus_ = nullptr;
  long showSerial_ = 0;
  int loadCount_ = 0;  // bumped at every load and unload: a nested unload ends a Show
  std::vector<Control*> controls_;
  std::vector<MenuItem*> menus_;
  std::vector<std::function<void()>> discardActions_;
};

}  // namespace plat
