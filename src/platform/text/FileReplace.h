#pragma once
// Writing a file whole so that a reader, a crash or a full disk finds the old file or the
// new one, never a mix or an empty file: the content goes to a temporary file
// ".<name>.tmp<pid>-<n>" in the same folder, which is written, synced and renamed over the
// file. Temporary files of that pattern whose writer no longer runs (it was killed during
// a write) are removed at the next write of the same file.
#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace plat {

// How bytes reach an open file: the system's write(2) when empty. A stand-in lets a test
// write part of the bytes or fail part-way.
using WriteCall = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

// Writes all of `data` to `fd`: again after a short write or an interrupted one. A write
// that takes nothing counts as a full disk. `written`, when given, is how many bytes went
// in, also on failure.
std::error_code WriteAll(int fd, std::string_view data, const WriteCall& write = {},
                         std::size_t* written = nullptr);

// The file a whole-file write replaces, and what is there now.
struct ReplaceTarget {
  enum class Old { None, Regular, Directory, Other };
  std::filesystem::path path;  // a link is followed: the file it points to is replaced
  Old old = Old::None;
  unsigned mode = 0;  // permission bits of the old file, which the new one keeps
};

// Where a whole-file write of `file` goes; the error when that cannot be told (a path
// through a file, a folder that cannot be searched).
std::error_code FindReplaceTarget(const std::filesystem::path& file, ReplaceTarget& target);

// Replaces `target.path` by `content` as above. On failure the old file is as it was and
// the temporary file is gone.
std::error_code ReplaceFile(const ReplaceTarget& target, std::string_view content,
                            const WriteCall& write = {});

}  // namespace plat
