#pragma once
// The platform put together: what it offers the system as a whole. The event loop and its
// clock, the regional settings, the program's folder and the current directory, the serial
// devices, the program's version and the forms runtime with the program services. One per
// Program; tests make their own on the manual clock. Nothing in the platform includes this
// header: each part takes only the pieces it needs.
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
  SerialRegistry serial{loop, currentDirectory};
  Version version;
  FormsRuntime forms{loop};      // every form, the observers, modal stack, message boxes
  AppServices& app = forms.app;  // title, beep, end, starting programs
};

}  // namespace plat
