#pragma once
// Programs on the manual clock for the shell's tests. ConfDirTest: the current directory is a
// fresh temporary folder, with byte-exact access to the "Conf.ini" there. StationTest adds
// "Lingua.ini" from data/ there, a program folder of its own and a form driver that answers
// for the operator.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "forms/Program.h"
#include "shell/SettingsAccess.h"
#include "support/FormDriver.h"
#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace vs::test {

class ConfDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p_.rt.currentDirectory = dir_.path();
    p_.rt.regional = plat::RegionalSettings::English();
  }
  std::filesystem::path conf() const { return dir_ / "Conf.ini"; }
  void WriteConf(const std::string& bytes) const { plat::test::WriteBytes(conf(), bytes); }
  std::string ReadConf() const { return plat::test::ReadBytes(conf()); }
  // Where the settings procedures find "Conf.ini" and how they write numbers.
  SettingsPlace at() const { return ConfPlace(p_.rt); }

  plat::test::TempFolder dir_{"vs-conf"};
  Program p_{plat::EventLoop::ClockKind::Manual};
};

class StationTest : public ConfDirTest {
 protected:
  void SetUp() override {
    ConfDirTest::SetUp();
    std::filesystem::create_directory(p_.rt.programFolder = bin_);
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
  }
  // Loads and shows the start menu as the program does at start.
  Menu& Start() { return p_.menu.Show(), p_.menu; }
  // How often `entry` stands in the driver's journal.
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(ui_.journal().begin(), ui_.journal().end(), entry));
  }

  std::filesystem::path bin_ = dir_ / "bin";
  plat::test::FormDriver ui_{p_.rt};
};

}  // namespace vs::test
