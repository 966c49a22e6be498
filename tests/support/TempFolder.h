#pragma once
// A fresh folder "<temp>/<prefix>-XXXXXX" for one test, removed with all it holds when the
// test ends; and byte-exact reading and writing of the files put there.
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace plat::test {

class TempFolder {
 public:
  explicit TempFolder(std::string_view prefix = "vs-test")
      : path_(std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")) {
    std::string tmpl = path_.string();
    if (!::mkdtemp(tmpl.data())) throw std::system_error(errno, std::generic_category(), tmpl);
    path_ = tmpl;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The file's bytes (empty when it cannot be read); the file replaced by exactly these bytes.
inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace plat::test
