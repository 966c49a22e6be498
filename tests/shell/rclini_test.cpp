#include "shell/RCLIni.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TempFolder.h"

namespace vs {
namespace {

class RCLIniTest : public ::testing::Test {
 protected:
  void Put(const std::string& bytes) { plat::test::WriteBytes(path_, bytes); }

  plat::test::TempFolder dir_{"vs-rclini"};
  std::string path_ = (dir_ / "Conf.ini").string();
};

TEST_F(RCLIniTest, ValueCarriesOverEveryFailedRead) {
  Put("[IA]\r\nRN=800\r\nGV=\r\nLI=\"0,97\"\r\nAS=" + std::string(300, '9') + "\r\n");
  RCLIni ini;
  EXPECT_EQ(ini.Value, "");
  ini.File = path_;
  ini.Section = "IA";
  ini.key = "CGLPP";
  EXPECT_FALSE(ini.GetValue());  // first key missing: stays empty
  EXPECT_EQ(ini.Value, "");

  ini.key = "RN";
  EXPECT_TRUE(ini.GetValue());
  EXPECT_EQ(ini.Value, "800");
  ini.key = "CGLPP";  // missing key
  EXPECT_FALSE(ini.GetValue());
  EXPECT_EQ(ini.Value, "800");
  ini.key = "GV";  // empty value reads as missing
  EXPECT_FALSE(ini.GetValue());
  EXPECT_EQ(ini.Value, "800");
  ini.Section = "LO";  // missing section, across a section change
  ini.key = "RN";
  EXPECT_FALSE(ini.GetValue());
  EXPECT_EQ(ini.Value, "800");

  ini.Section = "ia";
  ini.key = "li";
  EXPECT_TRUE(ini.GetValue());
  EXPECT_EQ(ini.Value, "0,97");
  ini.key = "AS";
  EXPECT_TRUE(ini.GetValue());
  EXPECT_EQ(ini.Value, std::string(254, '9'));

  ini.File = (dir_ / "nothing.ini").string();  // missing file
  EXPECT_FALSE(ini.GetValue());
  EXPECT_EQ(ini.Value, std::string(254, '9'));
  EXPECT_FALSE(std::filesystem::exists(ini.File));
  ini.File = dir_.path().string();  // a folder is no file
  EXPECT_FALSE(ini.GetValue());
  ini.File = "";
  EXPECT_FALSE(ini.GetValue());
  EXPECT_EQ(ini.Value, std::string(254, '9'));
}

TEST_F(RCLIniTest, SetValueCreatesWhatIsMissingAndLeavesThePropertiesAlone) {
  RCLIni ini;
  ini.File = path_;
  ini.Section = "AMBIENTE";
  ini.key = "UmiditàRelativa";
  ini.Value = "45";
  EXPECT_TRUE(ini.SetValue());
  EXPECT_EQ(ini.File, path_);
  EXPECT_EQ(ini.Section, "AMBIENTE");
  EXPECT_EQ(ini.key, "UmiditàRelativa");
  EXPECT_EQ(ini.Value, "45");

  RCLIni reader;
  reader.File = path_;
  reader.Section = "AMBIENTE";
  reader.key = "UmiditàRelativa";
  EXPECT_TRUE(reader.GetValue());
  EXPECT_EQ(reader.Value, "45");

  ini.File = (dir_ / "no-such-folder" / "Conf.ini").string();
  EXPECT_FALSE(ini.SetValue());
}

}  // namespace
}  // namespace vs
