#pragma once
// A station on the manual clock: a temporary current directory with "Lingua.ini" from data/
// and a byte-exact "Conf.ini", a program folder, and a form driver answering for the operator.
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

class StationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p_.rt.currentDirectory = dir_.path();
    p_.rt.regional = plat::RegionalSettings::English();
    std::filesystem::create_directory(p_.rt.programFolder = bin_);
    std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
  }
  std::filesystem::path conf() const { return dir_ / "Conf.ini"; }
  void WriteConf(const std::string& bytes) const { plat::test::WriteBytes(conf(), bytes); }
  std::string ReadConf() const { return plat::test::ReadBytes(conf()); }
  // Where the settings procedures find "Conf.ini" and how they write numbers.
  SettingsPlace at() const { return ConfPlace(p_.rt); }
  // Loads and shows the start menu as the program does at start.
  Menu& Start() { return p_.menu.Show(), p_.menu; }
  auto Count(const std::string& entry) const { return std::ranges::count(ui_.journal(), entry); }

  plat::test::TempFolder dir_{"vs-conf"};
  std::filesystem::path bin_ = dir_ / "bin";
  Program p_{plat::EventLoop::ClockKind::Manual};
  plat::test::FormDriver ui_{p_.rt};
};

}  // namespace vs::test
