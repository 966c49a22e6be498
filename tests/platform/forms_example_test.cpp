// The example form of docs/forms.md and its test.
#include <gtest/gtest.h>

#include <string>

#include "platform/Runtime.h"
#include "platform/forms/Forms.h"
#include "support/FormDriver.h"

namespace {

// A small dialog: the operator picks a serial port with a spinner and confirms it.
class PortForm : public plat::Form {
 public:
  explicit PortForm(plat::Runtime& rt) : Form(rt.forms, "PortForm") {
    // Design: how the form looks before its load step runs, and after every unload.
    setCaption("Porta");
    setBorderStyle(plat::BorderStyle::FixedDialog);
    setSize(230, 110);
    Label1.setCaption("COM");
    Label1.Move(16, 20, 40, 20);
    Text5.setText("1");
    Text5.setAlignment(plat::Alignment::Center);
    Text5.Move(60, 16, 40, 24);
    VScroll1.Move(100, 16, 17, 24);
    VScroll1.setMin(1);
    VScroll1.setMax(16);
    VScroll1.setValue(1);
    CmdOk.setCaption("&OK");
    CmdOk.setDefault(true);  // Enter
    CmdOk.Move(16, 64, 90, 30);
    CmdEsc.setCaption("&ESC");
    CmdEsc.setCancel(true);  // Esc
    CmdEsc.Move(120, 64, 90, 30);
    // Handlers.
    VScroll1.onChange = [this] { VScroll1_Change(); };
    CmdOk.onClick = [this] { CmdOk_Click(); };
    CmdEsc.onClick = [this] { Unload(); };
  }

  // Controls, in drawing and tab order.
  plat::Label Label1{*this, "Label1"};
  plat::TextBox Text5{*this, "Text5"};
  plat::VScrollBar VScroll1{*this, "VScroll1"};
  plat::CommandButton CmdOk{*this, "CmdOk"};
  plat::CommandButton CmdEsc{*this, "CmdEsc"};

  // Form variables: they keep their values when the form unloads.
  int port = 0;  // the port confirmed last; 0: none yet

 protected:
  void Form_Load() override {
    // Setting the spinner from code runs VScroll1_Change when the value changes.
    VScroll1.setValue(port == 0 ? 1 : port);
  }

 private:
  void VScroll1_Change() { Text5.setText(std::to_string(VScroll1.Value())); }

  void CmdOk_Click() {
    if (plat::MsgBox(rt(), "Use COM" + Text5.Text() + "?", plat::MsgBoxButtons::OKCancel) !=
        plat::MsgBoxResult::OK)
      return;
    port = VScroll1.Value();
    Unload();
  }
};

TEST(PortFormTest, ConfirmedPortIsKeptAcrossUnloadWhileTheControlsReturnToDesign) {
  plat::Runtime rt(plat::EventLoop::ClockKind::Manual);
  rt.app.title = "Port set-up";
  PortForm form(rt);
  plat::test::FormDriver ui(rt);

  ui.answerBox(plat::MsgBoxResult::Cancel);
  ui.answerBox(plat::MsgBoxResult::OK);
  ui.onModal(form, [&] {
    ui.scroll(form.VScroll1, 5);
    EXPECT_EQ(form.Text5.Text(), "5");
    ui.enter(form);  // Enter presses OK; the box is answered Cancel: the form stays
    EXPECT_TRUE(form.Visible());
    ui.click(form.CmdOk);  // answered OK
  });
  form.Show(plat::ShowMode::Modal);

  EXPECT_FALSE(form.IsLoaded());
  EXPECT_EQ(form.port, 5);
  EXPECT_EQ(ui.lastBox().text, "Use COM5?");
  EXPECT_EQ(ui.lastBox().title, "Port set-up");
  EXPECT_EQ(form.Text5.Text(), "1");  // back to design

  ui.onModal(form, [&] {
    EXPECT_EQ(form.Text5.Text(), "5");  // the load step showed the kept port
    ui.esc(form);
  });
  form.Show(plat::ShowMode::Modal);
  EXPECT_EQ(ui.boxes().size(), 2u);
}

}  // namespace
