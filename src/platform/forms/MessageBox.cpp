#include "platform/forms/MessageBox.h"

#include <iostream>

#include "platform/forms/FormsRuntime.h"

namespace plat {

MsgBoxResult MsgBox(FormsRuntime& rt, const std::string& text, MsgBoxButtons buttons,
                    MsgBoxIcon icon, const std::string& title) {
  const MsgBoxResult closed =
      buttons == MsgBoxButtons::OKCancel ? MsgBoxResult::Cancel : MsgBoxResult::OK;
  if (rt.app.endRequested()) return closed;
  MessageBox box({text, title.empty() ? rt.app.title : title, buttons, icon});
  const std::string what = "message box \"" + text + "\"";
  MessageBoxPresenter* presenter = rt.messageBoxPresenter();
  if (!presenter) {
    if (rt.loop().clockKind() == EventLoop::ClockKind::Manual) {
      rt.notify([&](FormsObserver& o) { o.loopStalled(what + " with nobody to answer"); });
      throw LoopStalled(what + " with nobody to answer");
    }
    std::cerr << box.request().title << ": " << text << '\n';
    return MsgBoxResult::OK;
  }

  rt.runModal(
      {nullptr, &box, rt.nextSerial()},
      [&] {
        rt.notify([&](FormsObserver& o) { o.messageBoxOpened(box); });
        presenter->open(box);
      },
      [&] { return box.answered(); }, what,
      [&] {
        if (!box.answered()) box.answer(closed);
        presenter->close(box);
        rt.notify([&](FormsObserver& o) { o.messageBoxClosed(box); });
      });
  return box.result();
}

}  // namespace plat
