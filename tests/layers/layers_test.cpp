// The layers of the source tree, read from its #include lines. From the bottom: the
// platform; the shell; the link; gas, smoke and engine speed; the records floor (state/);
// the forms of every part (forms/<part>/) with the Program that holds them (forms/Program.*);
// main and the station's artwork (app/). A file includes only its own layer and the ones below, so
// only form code and main include the Program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/SourceTree.h"

namespace {

namespace fs = std::filesystem;

// The layer of a path relative to src/; -1 for a path outside the known folders.
int Layer(const std::string& path) {
  const std::string top = path.substr(0, path.find('/'));
  if (top == "platform") return 0;
  if (top == "forms") return 5;
  if (top == "shell") return 1;
  if (top == "link") return 2;
  if (top == "gas" || top == "smoke" || top == "rpm") return 3;
  if (top == "state") return 4;
  if (top == "app") return 6;
  return -1;
}

TEST(LayersTest, NoFolderIncludesOneAboveIt) {
  const fs::path src = plat::test::SourceDir() / "src";
  const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<std::string> wrong;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    const std::string from = entry.path().lexically_relative(src).generic_string();
    ++files;
    std::ifstream in(entry.path());
    std::string line;
    while (std::getline(in, line)) {
      std::smatch m;
      if (!std::regex_search(line, m, include)) continue;
      const std::string to = m[1];
      const bool above = Layer(to) > Layer(from);
      const bool program = to == "forms/Program.h" && Layer(from) < 5;
      if (Layer(from) < 0 || Layer(to) < 0 || above || program) wrong.push_back(from + " -> " + to);
    }
  }
  std::sort(wrong.begin(), wrong.end());
  EXPECT_GT(files, 50);  // the tree was found
  EXPECT_EQ(wrong, std::vector<std::string>{});
}

}  // namespace
