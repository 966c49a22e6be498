#pragma once
// Program services of the forms runtime (one per FormsRuntime, as `forms.app`): the
// application's title, the beep, ending the program at once, starting another program.
#include <functional>
#include <string>
#include <vector>

namespace plat {

class FormsRuntime;

class AppServices {
 public:
  explicit AppServices(FormsRuntime& forms) : forms_(forms) {}
  AppServices(const AppServices&) = delete;
  AppServices& operator=(const AppServices&) = delete;

  // The title of message boxes that give none; the program sets it at start.
  std::string title;

  // One beep of the speaker (the display sounds it; counted for tests).
  void Beep();
  int beepCount() const { return beeps_; }

  // Ends the program at once: no unload step runs, every timer stops, every modal loop
  // and message box returns, operator input is refused. main() leaves its loop when
  // endRequested() is true and exits with exitCode(); the hook lets the display close.
  void End(int exitCode = 0);
  bool endRequested() const { return ended_; }
  int exitCode() const { return exitCode_; }
  std::function<void()> onEnd;

  // Starts `program` with `args`, detached (the program does not wait for it). Throws
  // RuntimeError 53 when it cannot be started. Tests replace the starter.
  using ProgramStarter =
      std::function<void(const std::string& program, const std::vector<std::string>& args)>;
  void Shell(const std::string& program, const std::vector<std::string>& args = {});
  void setProgramStarter(ProgramStarter starter) { starter_ = std::move(starter); }

 private:
  FormsRuntime& forms_;
  int beeps_ = 0;
  bool ended_ = false;
  int exitCode_ = 0;
  ProgramStarter starter_;
};

}  // namespace plat
