#pragma once
// Windows-1252 <-> UTF-8. Files on disk (INI files, logs) and reply fields that become
// texts are Windows-1252; texts inside the program are UTF-8. Every one of the 256 bytes
// has a character: the five bytes that Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for U+0081, U+008D, U+008F, U+0090 and U+009D, so any byte string
// survives Cp1252ToUtf8 followed by Utf8ToCp1252.
#include <string>
#include <string_view>

namespace plat {

std::string Cp1252ToUtf8(std::string_view bytes);

// A character that Windows-1252 cannot hold, and every byte that is not part of a well
// formed UTF-8 sequence, becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

// True when every byte of `s` belongs to a well formed UTF-8 sequence.
bool IsUtf8(std::string_view s);

}  // namespace plat
