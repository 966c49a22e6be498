// The layers of the source tree, read from its #include lines: a file includes only its own
// layer and the ones below (so only form code and main include the Program).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "support/SourceTree.h"
#include "support/TempFolder.h"

namespace {

// The layer of a path relative to src/, counted from the bottom; -1 outside the known folders.
int Layer(const std::string& path) {
  const std::string layers = " platform | shell | link | gas smoke rpm | state | forms | app ";
  const std::size_t at = layers.find(" " + path.substr(0, path.find('/')) + " ");
  return at == layers.npos ? -1 : static_cast<int>(std::ranges::count(layers.substr(0, at), '|'));
}

TEST(LayersTest, NoFolderIncludesOneAboveIt) {
  const std::filesystem::path src = plat::test::SourceDir() / "src";
  ASSERT_TRUE(std::filesystem::exists(src / "forms" / "Program.h"));  // the tree was found
  const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")", std::regex::multiline);
  std::string wrong;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;  // C++ or CMake
    const std::string from = entry.path().lexically_relative(src).generic_string();
    const std::string text = plat::test::ReadBytes(entry.path());
    for (std::sregex_iterator i(text.begin(), text.end(), include), end; i != end; ++i) {
      const std::string to = (*i)[1];
      if (Layer(to) < 0 || Layer(to) > Layer(from)) wrong += from + " -> " + to + "\n";
    }
  }
  EXPECT_EQ(wrong, "");
}

}  // namespace
