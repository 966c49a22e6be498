#pragma once
// Shared harness of the link's fuzz targets: one set of records for the whole run, and the
// input split into a few control bytes (header lengths, switches) and the reply bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "link/LinkState.h"
#include "shell/ShellState.h"

namespace vs::fuzz {

// The records the parsers read and write.
struct Records {
  ShellState shell;
  LinkState link;
};

inline Records& TheRecords() {
  static Records* records = new Records();
  return *records;
}

struct Input {
  int commandLen = 2;  // 0 to 3
  int unitLen = 1;     // 0 to 3
  std::string_view reply;
};

// Control byte: header lengths; switches: ExternRpm, ExternOilTemp, ShowParseWarning,
// LanguageCode 0 to 3. The rest is the reply.
inline Input Take(const std::uint8_t* data, std::size_t size) {
  Records& p = TheRecords();
  Input in;
  if (size < 2) return in;
  in.commandLen = data[0] & 3;
  in.unitLen = (data[0] >> 2) & 3;
  p.shell.ExternRpm = (data[1] & 1) ? 1 : 0;
  p.shell.ExternOilTemp = (data[1] & 2) ? 1 : 0;
  p.link.ShowParseWarning = (data[1] & 4) ? -1 : 0;
  p.shell.LanguageCode = static_cast<std::int16_t>((data[1] >> 3) & 3);
  p.link.McnCommandLen = static_cast<std::int16_t>(in.commandLen);
  p.link.McnDevNumberLen = in.unitLen;
  in.reply = std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2);
  return in;
}

// The parsers' texts never hold a bare half of a UTF-8 sequence; a crash here is a
// finding.
inline void CheckText(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (c >= 0x80 && c < 0xC2) std::abort();
    if (i + n > text.size()) std::abort();
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) std::abort();
    }
    i += n;
  }
}

}  // namespace vs::fuzz
