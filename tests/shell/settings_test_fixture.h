#pragma once
// A program on the manual clock whose current directory is a fresh temporary folder, with
// byte-exact access to the "Conf.ini" there. Used by the settings and system set-up tests.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/Program.h"

namespace vs::test {

class ConfDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vs-conf-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    p_.rt.currentDirectory = dir_;
    p_.rt.regional = plat::RegionalSettings::English();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path conf() const { return dir_ / "Conf.ini"; }
  void WriteConf(const std::string& bytes) const {
    std::ofstream(conf(), std::ios::binary) << bytes;
  }
  std::string ReadConf() const {
    std::ifstream in(conf(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path dir_;
  Program p_{plat::EventLoop::ClockKind::Manual};
};

}  // namespace vs::test
