#pragma once
// Text files as the system writes its logs and reports: lines of UTF-8 text go to disk as
// Windows-1252 bytes, each ended by CR LF. A value that holds a line break (CR LF, a lone
// CR or a lone LF) is written with one blank in place of each break, so one value never
// spans two lines. Nothing here throws: a file that cannot be opened or written comes back
// as a failed result with the system's reason ("No such file or directory", "No space
// left on device", ...), for the caller to report or ignore.
//
// A file written whole is replaced as FileReplace.h says: after a failure or a crash it is
// the old file or the new one. Appended lines are whole or absent: a write that fails
// part-way cuts the file back to its length before the call.
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/FileReplace.h"

namespace plat {

struct FileResult {
  bool ok = true;
  std::string reason;  // the system's text of the failure; empty when ok
  explicit operator bool() const { return ok; }
};

// Creates the file, or replaces one that exists, with the lines. A device or other special
// file, which cannot be replaced, is written in place.
FileResult WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                         const WriteCall& write = {});

// Adds the lines at the end of the file, creating it when it is missing. The file is not
// synced: only a failed write is undone, not a crash of the machine.
FileResult AppendTextLines(const std::string& path, const std::vector<std::string>& lines,
                           const WriteCall& write = {});

// The text with each line break replaced by one blank.
std::string OneLine(std::string_view text);

}  // namespace plat
