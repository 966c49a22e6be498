#pragma once
// A station for the start menu's tests: the current directory is a fresh temporary folder
// holding "Lingua.ini" from data/ (and whatever "Conf.ini" a test writes), the program's
// folder is another one, and a form driver answers for the operator.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "shell/settings_test_fixture.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"

namespace vs::test {

class StationTest : public ConfDirTest {
 protected:
  void SetUp() override {
    ConfDirTest::SetUp();
    bin_ = dir_ / "bin";
    std::filesystem::create_directory(bin_);
    p_.rt.programFolder = bin_;
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
  }
  // Loads and shows the start menu as the program does at start.
  Menu& Start() {
    p_.menu.Show();
    return p_.menu;
  }
  // How often `entry` stands in the driver's journal.
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(ui_.journal().begin(), ui_.journal().end(), entry));
  }

  std::filesystem::path bin_;
  plat::test::FormDriver ui_{p_.rt};
};

}  // namespace vs::test
