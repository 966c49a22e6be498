// The program: builds the Program on the real clock and its windows, shows the start-up
// form and runs until the program ends.
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "app/Artwork.h"
#include "forms/Program.h"
#include "platform/core/Error.h"
#include "platform/display/Display.h"
#include "platform/forms/MessageBox.h"
#include "shell/ProgramMessages.h"

namespace {

// The folder of the running executable.
std::filesystem::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", ec);
  return exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  vs::Program program(plat::EventLoop::ClockKind::Real);
  std::error_code ec;
  program.rt.currentDirectory = std::filesystem::current_path(ec);
  if (ec) {
    std::cerr << "vantoscope: the current folder cannot be read: " << ec.message() << '\n';
    return 1;
  }
  program.rt.programFolder = ExecutableFolder(argc > 0 ? argv[0] : nullptr);
  program.rt.regional = plat::RegionalSettings::FromEnvironment();

  std::optional<plat::Display> display;  // after the Program: it goes before the forms
  try {
    display.emplace(program.rt.forms);
    vs::AddArtwork(display->pictures());
  } catch (const std::exception& e) {
    std::cerr << "vantoscope: " << e.what() << '\n';
    return 1;
  }
  // A run-time error that escapes a handler is reported and the program goes on: a station
  // keeps running rather than closing on one bad event. While one report is on screen, a
  // repeating error (a timer's) goes to standard error instead of piling up boxes.
  bool reporting = false;
  program.rt.loop.setErrorHook([&program, &reporting](const plat::RuntimeError& e) {
    const std::string text = vs::MessageText(program.shell, vs::Msg::RuntimeError,
                                             {std::to_string(e.number()), e.what()});
    if (reporting) {
      std::cerr << "vantoscope: " << text << '\n';
      return;
    }
    reporting = true;
    plat::MsgBox(program.rt.forms, text, plat::MsgBoxButtons::OK, plat::MsgBoxIcon::Critical);
    reporting = false;
  });
  program.menu.Show();
  // Anything else that escapes a handler is a fault of the program: it ends with the message.
  try {
    return display->run();
  } catch (const std::exception& e) {
    std::cerr << "vantoscope: " << e.what() << '\n';
    return 1;
  }
}
