#pragma once
// The platform's message box: modal, with a text (may hold line breaks), OK or OK and
// Cancel, an icon and a title (the application's title unless the caller gives one).
// While it is open the event loop runs on (timers, serial events). Who shows it and who
// answers is a MessageBoxPresenter: the display on screen, the test driver headless.
#include <string>

#include "platform/forms/Types.h"

namespace plat {

class FormsRuntime;

enum class MsgBoxButtons { OK, OKCancel };
enum class MsgBoxIcon { None, Critical, Exclamation, Information };
enum class MsgBoxResult { OK, Cancel };

struct MessageBoxRequest {
  std::string text;
  std::string title;
  MsgBoxButtons buttons = MsgBoxButtons::OK;
  MsgBoxIcon icon = MsgBoxIcon::None;
};

// One open box. The presenter answers it (now or later, from the event loop).
class MessageBox {
 public:
  explicit MessageBox(MessageBoxRequest request) : request_(std::move(request)) {}
  const MessageBoxRequest& request() const { return request_; }
  void answer(MsgBoxResult r) {
    if (!answered_) result_ = r, answered_ = true;
  }
  bool answered() const { return answered_; }
  MsgBoxResult result() const { return result_; }

 private:
  MessageBoxRequest request_;
  bool answered_ = false;
  MsgBoxResult result_ = MsgBoxResult::OK;
};

class MessageBoxPresenter {
 public:
  virtual ~MessageBoxPresenter() = default;
  // Shows the box; returns at once. The box is answered later by box.answer().
  virtual void open(MessageBox& box) = 0;
  // The box is done (answered, or the program ended): take it off the screen.
  virtual void close(MessageBox& box) { (void)box; }
};

// Shows a box and waits for the answer in a nested loop. Without a presenter, under the
// manual clock this throws LoopStalled (nobody can answer); under the real clock the text
// goes to standard error and the answer is OK. Ending the program closes an open box with
// Cancel (OK for a box that has only OK).
MsgBoxResult MsgBox(FormsRuntime& rt, const std::string& text,
                    MsgBoxButtons buttons = MsgBoxButtons::OK, MsgBoxIcon icon = MsgBoxIcon::None,
                    const std::string& title = {});

}  // namespace plat
