#include <filesystem>
#include <iostream>

#include "app/Program.h"

int main(int argc, char** argv) {
  (void)argc;
  vs::Program program(plat::EventLoop::ClockKind::Real);
  program.rt.currentDirectory = std::filesystem::current_path();
  program.rt.programFolder = std::filesystem::absolute(argv[0]).parent_path();
  std::cout << "Vantoscope " << program.rt.version.major << '.' << program.rt.version.minor << '.'
            << program.rt.version.revision << ": the start-up form is not built yet.\n";
  return 0;
}
