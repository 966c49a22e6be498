#pragma once
// What the platform offers the system as a whole: the event loop and its clock, the
// regional settings, the program's folder and the current directory, the serial devices,
// the program's version, the forms runtime and the program services. One per Program;
// tests make their own on the manual clock.
#include <filesystem>

#include "platform/core/EventLoop.h"
#include "platform/forms/AppServices.h"
#include "platform/forms/FormsRuntime.h"
#include "platform/serial/SerialRegistry.h"
#include "platform/text/RegionalSettings.h"

namespace plat {

struct Version {
  int major = VS_VERSION_MAJOR;
  int minor = VS_VERSION_MINOR;
  int revision = VS_VERSION_REVISION;
};

class Runtime {
 public:
  explicit Runtime(EventLoop::ClockKind clock) : loop(clock) {}
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  EventLoop loop;
  RegionalSettings regional;
  std::filesystem::path programFolder;     // the executable's folder
  std::filesystem::path currentDirectory;  // the process's working directory at start
  SerialRegistry serial{*this};
  Version version;
  FormsRuntime forms{*this};  // every form, the observers, modal stack, message boxes
  AppServices app{*this};     // title, beep, end, starting programs
};

}  // namespace plat
