#pragma once
// Text files as the system writes its logs and reports: lines of UTF-8 text go to disk as
// Windows-1252 bytes, each ended by CR LF. A value that holds a line break (CR LF, a lone
// CR or a lone LF) is written with one blank in place of each break, so one value never
// spans two lines. Nothing here throws: a file that cannot be opened or written comes back
// as a failed result with the system's reason ("No such file or directory", "No space
// left on device", ...), for the caller to report or ignore.
#include <string>
#include <string_view>
#include <vector>

namespace plat {

struct FileResult {
  bool ok = true;
  std::string reason;  // the system's text of the failure; empty when ok
  explicit operator bool() const { return ok; }
};

// Creates the file, or empties one that exists, and writes the lines.
FileResult WriteTextFile(const std::string& path, const std::vector<std::string>& lines);

// Adds the lines at the end of the file, creating it when it is missing.
FileResult AppendTextLines(const std::string& path, const std::vector<std::string>& lines);

// The text with each line break replaced by one blank.
std::string OneLine(std::string_view text);

}  // namespace plat
