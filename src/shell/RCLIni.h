#pragma once
// The one accessor through which the system reads and writes its INI files: the four
// coordinates of one entry and one read and one write, each going to the file on disk.
// One object serves all the keys of a procedure, so `Value` carries over from one key to
// the next: a read that finds nothing leaves it as it was.
#include <string>

namespace vs {

class RCLIni {
 public:
  std::string File;     // full path of the INI file
  std::string Section;  // section name
  std::string key;      // key name
  std::string Value;    // the last value read, or the value the next write stores

  // Writes Value under key in Section of File, creating what is missing. True on success.
  bool SetValue();

  // Reads the value of key in Section of File into Value. False, with Value unchanged,
  // when File is not an existing regular file (nothing else is then looked at), or when
  // the section or key is missing or its value is empty.
  bool GetValue();
};

}  // namespace vs
