#pragma once
// A station for the start menu's tests: the current directory is a fresh temporary folder
// holding "Lingua.ini" from data/ (and whatever "Conf.ini" a test writes), the program's
// folder is another one, and a form driver answers for the operator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/settings_test_fixture.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"

namespace vs::test {

using plat::test::DataFolder;

// A form that stands in for a form of another part: it records its unload step and, like
// the test forms, switches the start menu's blink back on when it closes.
class StandInForm : public plat::Form {
 public:
  StandInForm(Program& p, const char* name) : plat::Form(p.rt.forms, name), p_(p) {
    Timer1.setInterval(25);
    Timer1.onTimer = [this] { ++ticks; };
  }
  plat::Timer Timer1{*this, "Timer1"};
  int unloads = 0, ticks = 0;
  bool restartsBlink = true;

 protected:
  void Form_Unload(bool&) override {
    ++unloads;
    if (restartsBlink) p_.menu.Timer1.setEnabled(true);
  }

 private:
  Program& p_;
};

class StationTest : public ConfDirTest {
 protected:
  void SetUp() override {
    ConfDirTest::SetUp();
    bin_ = dir_ / "bin";
    std::filesystem::create_directory(bin_);
    p_.rt.programFolder = bin_;
    std::filesystem::copy_file(DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
  }
  // Loads and shows the start menu as the program does at start.
  Menu& Start() {
    p_.menu.Show();
    return p_.menu;
  }
  static void Touch(const std::filesystem::path& f) { std::ofstream(f) << "x\n"; }
  // How often `entry` stands in the driver's journal.
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(ui_.journal().begin(), ui_.journal().end(), entry));
  }

  std::filesystem::path bin_;
  plat::test::FormDriver ui_{p_.rt};
};

}  // namespace vs::test
