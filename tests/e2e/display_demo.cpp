// A test form on the real display for tests/e2e/display_e2e.sh: a centred box, a multi-line
// box with CR LF line ends, a frame with a label between two boxes, and a menu shortcut (F4)
// that fills the frame's boxes at once. Every change the model receives is written to standard
// output, one line each.
#include <iostream>
#include <string>

#include "platform/Runtime.h"
#include "platform/display/Display.h"
#include "platform/forms/Forms.h"

namespace {

class DemoForm : public plat::Form {
 public:
  explicit DemoForm(plat::Runtime& rt) : Form(rt.forms, "Demo") {
    setCaption("Display demo");
    Move(0, 0, 440, 360);
    Text2.Move(110, 90, 170, 26);
    Text2.setAlignment(plat::Alignment::Center);
    Text2.setText("mid");
    Memo.Move(16, 126, 260, 100);
    Memo.setMultiLine(true);
    Memo.setText("line 1\r\nline 2");
    // The label lies inside the bounding box of the two text boxes but outside both.
    Frame1.Move(290, 130, 140, 100);
    FrameLabel.setContainer(Frame1);
    FrameLabel.Move(76, 20, 56, 22);
    FrameLabel.setBackColor(0xFF0000);
    FrameText1.setContainer(Frame1);
    FrameText1.Move(8, 20, 56, 24);
    FrameText2.setContainer(Frame1);
    FrameText2.Move(76, 60, 56, 24);

    Text2.onChange = [this] { std::cout << "change Text2=" << Text2.Text() << std::endl; };
    Memo.onChange = [this] {
      std::string text;  // CR and LF written as \r and \n: one output line
      for (char c : Memo.Text()) text += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
      std::cout << "change Memo=" << text << std::endl;
    };
    mnuFill.onClick = [this] {
      FrameText1.setText("one");
      FrameText2.setText("two");
      std::cout << "menu mnuFill" << std::endl;
    };
  }

  plat::TextBox Text2{*this, "Text2"};
  plat::TextBox Memo{*this, "Memo"};
  plat::Frame Frame1{*this, "Frame1"};
  plat::Label FrameLabel{*this, "FrameLabel"};
  plat::TextBox FrameText1{*this, "FrameText1"};
  plat::TextBox FrameText2{*this, "FrameText2"};
  plat::MenuItem mnuFile{*this, "mnuFile", "&File"};
  plat::MenuItem mnuFill{mnuFile, "mnuFill", "&Fill the frame", plat::KeyPress::F(4)};
};

}  // namespace

int main() {
  plat::Runtime rt(plat::EventLoop::ClockKind::Real);
  DemoForm form(rt);
  plat::Display display(rt.forms);
  form.Show();
  std::cout << "ready" << std::endl;
  return display.run();
}
