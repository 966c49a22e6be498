#include "shell/RCLIni.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace vs {
namespace {

class RCLIniTest : public ::testing::Test {
 protected:
  plat::test::TempFolder dir_{"vs-rclini"};
  std::string path_ = (dir_ / "Conf.ini").string();
};

TEST_F(RCLIniTest, ValueCarriesOverEveryFailedRead) {
  plat::test::WriteBytes(
      path_, "[IA]\r\nRN=800\r\nGV=\r\nLI=\"0,97\"\r\nAS=" + std::string(300, '9') + "\r\n");
  const std::string nines(254, '9'), missing = (dir_ / "nothing.ini").string();
  const struct {
    std::string file;
    const char *section, *key;
    bool found;
    std::string value;
  } reads[] = {
      {path_, "IA", "CGLPP", false, ""},  // first key missing: stays empty
      {path_, "IA", "RN", true, "800"},
      {path_, "IA", "CGLPP", false, "800"},
      {path_, "IA", "GV", false, "800"},  // an empty value reads as missing
      {path_, "LO", "RN", false, "800"},  // a missing section
      {path_, "ia", "li", true, "0,97"},
      {path_, "IA", "AS", true, nines},
      {missing, "IA", "RN", false, nines},
      {dir_.path().string(), "IA", "RN", false, nines},  // a folder is no file
      {"", "IA", "RN", false, nines},
  };
  RCLIni ini;
  for (const auto& r : reads) {
    SCOPED_TRACE(r.file + " [" + r.section + "] " + r.key);
    ini.File = r.file;
    ini.Section = r.section;
    ini.key = r.key;
    EXPECT_EQ(ini.GetValue(), r.found);
    EXPECT_EQ(ini.Value, r.value);
  }
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(RCLIniTest, SetValueCreatesWhatIsMissingAndLeavesThePropertiesAlone) {
  RCLIni ini;
  ini.File = path_;
  ini.Section = "AMBIENTE";
  ini.key = "UmiditàRelativa";
  ini.Value = "45";
  EXPECT_TRUE(ini.SetValue());
  EXPECT_EQ((std::vector<std::string>{ini.File, ini.Section, ini.key, ini.Value}),
            (std::vector<std::string>{path_, "AMBIENTE", "UmiditàRelativa", "45"}));
  ini.Value = "";
  EXPECT_TRUE(ini.GetValue());
  EXPECT_EQ(ini.Value, "45");
  ini.File = (dir_ / "no-such-folder" / "Conf.ini").string();
  EXPECT_FALSE(ini.SetValue());
}

}  // namespace
}  // namespace vs
