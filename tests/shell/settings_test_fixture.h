#pragma once
// A program on the manual clock whose current directory is a fresh temporary folder, with
// byte-exact access to the "Conf.ini" there. Used by the settings and system set-up tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "forms/Program.h"
#include "shell/SettingsAccess.h"
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

}  // namespace vs::test
