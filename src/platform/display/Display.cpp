#include "platform/display/Display.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/display/Core.h"

namespace plat {

namespace {
FormsRuntime& NeedsDisplay(FormsRuntime& rt) {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) throw std::runtime_error("no display: DISPLAY is not set");
  return rt;
}
}  // namespace

Display::Display(FormsRuntime& rt) : core_(std::make_unique<display::Core>(NeedsDisplay(rt))) {}

Display::~Display() = default;

int Display::run() {
  FormsRuntime& rt = core_->rt;
  rt.loop().runUntil([&] { return rt.app.endRequested() || !core_->anyFormLoaded(); }, "program");
  return rt.app.endRequested() ? rt.app.exitCode() : 0;
}

PdfPrinter& Display::printer() { return core_->printer; }

paint::PictureBook& Display::pictures() { return core_->pictures; }

}  // namespace plat
