// The layers of the source tree, read from its #include lines: a file includes only its own
// layer and the ones below, and only form code and main include the Program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/SourceTree.h"

namespace {

// The layer of a path relative to src/, counted from the bottom; -1 outside the known folders.
int Layer(const std::string& path) {
  const std::string top = "/" + path.substr(0, path.find('/')) + "/";
  const std::string layers = "/platform/ /shell/ /link/ /gas/smoke/rpm/ /state/ /forms/ /app/";
  const std::size_t at = layers.find(top);
  if (at == std::string::npos) return -1;
  const std::string below = layers.substr(0, at);
  return static_cast<int>(std::count(below.begin(), below.end(), ' '));
}

TEST(LayersTest, NoFolderIncludesOneAboveIt) {
  const std::filesystem::path src = plat::test::SourceDir() / "src";
  const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<std::string> wrong;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    const std::string from = entry.path().lexically_relative(src).generic_string();
    std::ifstream in(entry.path());
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
      if (!std::regex_search(line, m, include)) continue;
      const std::string to = m[1];
      const bool program = to == "forms/Program.h" && Layer(from) < 5;
      if (Layer(from) < 0 || Layer(to) < 0 || Layer(to) > Layer(from) || program) {
        wrong.push_back(from + " -> " + to);
      }
    }
  }
  ASSERT_TRUE(std::filesystem::exists(src / "forms" / "Program.h"));  // the tree was found
  EXPECT_EQ(wrong, std::vector<std::string>{});
}

}  // namespace
