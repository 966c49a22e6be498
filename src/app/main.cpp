// The program: builds the Program on the real clock and its windows, shows the start-up
// form and runs until the program ends.
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "app/Program.h"
#include "platform/display/Display.h"

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
  program.rt.forms.recordDesigns();

  std::optional<plat::Display> display;  // after the Program: it goes before the forms
  try {
    display.emplace(program.rt);
  } catch (const std::exception& e) {
    std::cerr << "vantoscope: " << e.what() << '\n';
    return 1;
  }
  program.shellForms.menu.Show();
  return display->run();
}
