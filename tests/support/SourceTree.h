#pragma once
// Where the tests find the project's own files (data/, the shipped Conf.ini and Lingua.ini).
#include <filesystem>

namespace plat::test {

inline std::filesystem::path SourceDir() { return VS_TEST_SOURCE_DIR; }
inline std::filesystem::path DataFolder() { return SourceDir() / "data"; }

}  // namespace plat::test
