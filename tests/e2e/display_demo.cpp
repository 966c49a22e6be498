// A test form on the real display, for the end-to-end check of the display: a label, text
// boxes (one centred; a multi-line one with a scroll bar and CR LF line ends; a locked
// multi-line one), a button, a cancel button and a menu with shortcuts (one opens a message
// box; one fills both text boxes of a frame at once, which redraws the frame around a label
// between them), plus a 25 ms timer as a measuring form has. Every event the model receives is
// written to standard output, one line each, so that a script driving the window (xdotool) can
// check what arrived.
//
//   display_demo [--quit-after MS]
#include <cstdlib>
#include <cstring>
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
    setBackColor(plat::colors::kYellow);
    Move(0, 0, 440, 360);
    Label1.Move(16, 12, 408, 34);
    Label1.setCaption("Vantoscope display demo");
    Label1.setAlignment(plat::Alignment::Center);
    Label1.setBackColor(0x0A8D10);
    Label1.setForeColor(plat::colors::kWhite);
    Label1.setFont({"Arial", 15.75, true, false});
    Label2.Move(16, 56, 90, 24);
    Label2.setCaption("&Text:");
    Label2.setTransparent(true);
    Text1.Move(110, 54, 170, 26);
    Command1.Move(296, 52, 128, 30);
    Command1.setCaption("&Press me");
    Text2.Move(110, 90, 170, 26);
    Text2.setAlignment(plat::Alignment::Center);
    Text2.setText("mid");
    Memo.Move(16, 126, 260, 100);
    Memo.setMultiLine(true);
    Memo.setVerticalScrollBar(true);
    std::string lines;
    for (int i = 1; i <= 12; ++i) lines += (i > 1 ? "\r\n" : "") + ("line " + std::to_string(i));
    Memo.setText(lines);
    Log.Move(16, 236, 260, 70);
    Log.setMultiLine(true);
    Log.setVerticalScrollBar(true);
    Log.setLocked(true);
    Log.setFont({"Courier New", 9.75, false, false});
    Log.setText("Com1 no connect\r\nCom2   GAS\r\n");
    CmdOut.Move(296, 300, 128, 40);
    CmdOut.setCaption("ESC");
    CmdOut.setStyle(plat::ButtonStyle::Graphical);
    CmdOut.setBackColor(0x0A8D10);
    CmdOut.setFont({"Arial", 12, true, false});
    CmdOut.setCancel(true);
    Ticks.Move(16, 316, 260, 24);
    Ticks.setTransparent(true);
    Timer1.setInterval(25);
    // The label lies inside the bounding box of the two text boxes but outside both.
    Frame1.Move(290, 130, 140, 100);
    Frame1.setCaption("Frame");
    FrameLabel.setContainer(Frame1);
    FrameLabel.Move(76, 20, 56, 22);
    FrameLabel.setCaption("Right");
    FrameLabel.setBackColor(0xFF0000);
    FrameLabel.setForeColor(plat::colors::kWhite);
    FrameText1.setContainer(Frame1);
    FrameText1.Move(8, 20, 56, 24);
    FrameText2.setContainer(Frame1);
    FrameText2.Move(76, 60, 56, 24);

    Command1.onClick = [this] { Say("click Command1"); };
    Text1.onChange = [this] { Say("change Text1=" + Text1.Text()); };
    Text2.onChange = [this] { Say("change Text2=" + Text2.Text()); };
    Memo.onChange = [this] { Say("change Memo=" + Escaped(Memo.Text())); };
    Log.onChange = [this] { Say("change Log=" + Escaped(Log.Text())); };
    CmdOut.onClick = [this] {
      Say("click CmdOut");
      this->rt().app.End(0);
    };
    mnuHello.onClick = [this] { Say("menu mnuHello"); };
    mnuFill.onClick = [this] {
      FrameText1.setText("one");
      FrameText2.setText("two");
      Say("menu mnuFill");
    };
    mnuExit.onClick = [this] {
      Say("menu mnuExit");
      this->rt().app.End(0);
    };
    mnuBox.onClick = [this] {
      Say("menu mnuBox");
      const auto answer =
          plat::MsgBox(this->rt(), "Go on with the test?", plat::MsgBoxButtons::OKCancel,
                       plat::MsgBoxIcon::Exclamation, "Demo box");
      Say(answer == plat::MsgBoxResult::OK ? "box OK" : "box Cancel");
    };
    Timer1.onTimer = [this] {
      if (++ticks_ % 40 == 0) Ticks.setCaption("Seconds: " + std::to_string(ticks_ / 40));
    };
  }

  plat::Label Label1{*this, "Label1"};
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text1{*this, "Text1"};
  plat::CommandButton Command1{*this, "Command1"};
  plat::TextBox Text2{*this, "Text2"};
  plat::TextBox Memo{*this, "Memo"};
  plat::TextBox Log{*this, "Log"};
  plat::Label Ticks{*this, "Ticks"};
  plat::CommandButton CmdOut{*this, "CmdOut"};
  plat::Timer Timer1{*this, "Timer1"};
  plat::Frame Frame1{*this, "Frame1"};
  plat::Label FrameLabel{*this, "FrameLabel"};
  plat::TextBox FrameText1{*this, "FrameText1"};
  plat::TextBox FrameText2{*this, "FrameText2"};
  plat::MenuItem mnuFile{*this, "mnuFile", "&File"};
  plat::MenuItem mnuHello{mnuFile, "mnuHello", "&Hello", plat::KeyPress::F(2)};
  plat::MenuItem mnuBox{mnuFile, "mnuBox", "&Message", plat::KeyPress::F(3)};
  plat::MenuItem mnuFill{mnuFile, "mnuFill", "&Fill the frame", plat::KeyPress::F(4)};
  plat::MenuItem mnuExit{mnuFile, "mnuExit", "E&xit", plat::KeyPress::Ctrl('Q')};

 private:
  static void Say(const std::string& line) { std::cout << line << std::endl; }
  // CR and LF written as \r and \n, so that a text stays on one output line.
  static std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
      out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
  }
  long ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  long quitAfter = -1;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--quit-after") == 0) quitAfter = std::atol(argv[i + 1]);
  plat::Runtime rt(plat::EventLoop::ClockKind::Real);
  DemoForm form(rt);
  try {
    plat::Display display(rt.forms);
    if (quitAfter >= 0) rt.loop.startTimer(quitAfter, [&] { rt.app.End(0); });
    form.Show();
    std::cout << "ready" << std::endl;
    const int code = display.run();
    std::cout << "end " << code << std::endl;
    return code;
  } catch (const std::exception& e) {
    std::cerr << "display_demo: " << e.what() << '\n';
    return 2;
  }
}
