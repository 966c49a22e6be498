#include "forms/shell/ReadingLogBox.h"

#include "forms/Program.h"
#include "platform/forms/MessageBox.h"
#include "shell/ProgramMessages.h"

namespace vs {

void TellLogNotWritten(Program& p, bool& told, const std::filesystem::path& file,
                       const std::string& reason) {
  if (told) return;
  told = true;
  p.rt.loop.post([&p, text = MessageText(p.shell, Msg::LogNotWritten, {file.string(), reason})] {
    plat::MsgBox(p.rt.forms, text, plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Exclamation);
  });
}

}  // namespace vs
