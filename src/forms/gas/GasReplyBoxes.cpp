#include "forms/gas/GasReplyBoxes.h"

#include <algorithm>
#include <utility>

#include "forms/Program.h"
#include "shell/LanguageKeys.h"

namespace vs {

namespace {

void ShowBoxes(Program& p, ANGAS& f, const std::vector<std::size_t>& boxes) {
  std::vector<std::size_t>& open = p.gas.McnBoxesOpen;
  for (const std::size_t text : boxes) {
    if (std::find(open.begin(), open.end(), text) != open.end()) continue;
    open.push_back(text);
    if (text == lang::ANGASETmsgbox) f.EtWarningShown = 1;
    plat::MsgBox(p.rt.forms, p.shell.LangText[text], plat::MsgBoxButtons::OK,
                 plat::MsgBoxIcon::Exclamation);
    if (text == lang::ANGASETmsgbox) f.EtWarningShown = 0;
    open.erase(std::find(open.begin(), open.end(), text));
  }
}

}  // namespace

void PostGasReplyBoxes(ANGAS& f, std::vector<std::size_t> texts) {
  if (texts.empty()) return;
  Program& p = f.program();
  p.rt.loop.post([&p, &f, boxes = std::move(texts)] { ShowBoxes(p, f, boxes); });
}

}  // namespace vs
