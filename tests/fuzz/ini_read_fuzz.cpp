// Reads arbitrary bytes as an INI file, then writes one key into them and checks that the
// write reads back and leaves another section's value alone.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini/PrivateProfile.h"
#include "platform/text/Cp1252.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// What a read gives back of a value as written: no line breaks, no blanks at the ends, one
// pair of enclosing quotes gone, at most 254 characters; empty reads as missing.
bool ReadsBackUnchanged(std::string_view v) {
  if (v.empty() || v.size() > plat::kProfileValueMax) return false;
  if (v.find_first_of("\r\n") != std::string_view::npos) return false;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(v.front()) || blank(v.back())) return false;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The bytes up to the first NUL (at most 40) are a value to write; the rest is the file.
  const std::size_t cut = input.substr(0, 40).find('\0');
  const std::string_view value1252 =
      cut == std::string_view::npos ? std::string_view() : input.substr(0, cut);
  const std::string_view file = cut == std::string_view::npos ? input : input.substr(cut + 1);

  const auto names = plat::SectionNamesIn(file);
  if (!names.empty()) (void)plat::ProfileValueIn(file, names.back(), "Kquad");
  const auto before = plat::ProfileValueIn(file, "IMPOSTAZIONI", "AbiM");
  if (before) Check(before->size() <= 4 * plat::kProfileValueMax);

  const std::string value = plat::Cp1252ToUtf8(value1252);
  const std::string written = plat::WithProfileValue(file, "S", "k", value);
  // Windows-1252 bytes that happen to make the whole file valid UTF-8 read differently.
  if (plat::IsUtf8Profile(written) == plat::IsUtf8Profile(file)) {
    if (ReadsBackUnchanged(value1252)) Check(plat::ProfileValueIn(written, "s", "K") == value);
    Check(plat::ProfileValueIn(written, "IMPOSTAZIONI", "AbiM") == before);
  }
  Check(plat::Utf8ToCp1252(plat::Cp1252ToUtf8(file)) == file);
  return 0;
}
