#include "platform/text/RegionalSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

namespace plat {
namespace {

// The locale name that governs a category: LC_ALL, then the category's own variable,
// then LANG; "C" when none is set.
std::string LocaleName(const char* categoryVariable) {
  for (const char* var : {"LC_ALL", categoryVariable, "LANG"}) {
    const char* value = std::getenv(var);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

bool IsPlainC(const std::string& name) {
  return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// Asks the system's locale data for one item of a named locale without touching the
// process locale. Empty when the locale is not installed.
std::string LocaleItem(const std::string& name, int mask, nl_item item) {
  locale_t loc = newlocale(mask, name.c_str(), static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return {};
  std::string value = nl_langinfo_l(item, loc);
  freelocale(loc);
  return value;
}

// Languages that write a decimal comma, for locales whose data is not installed.
bool LanguageUsesComma(std::string_view lang) {
  for (std::string_view l : {"af", "az", "be", "bg", "bs", "ca", "cs", "da", "de", "el", "es", "et",
                             "eu", "fi", "fr", "gl", "hr", "hu", "hy", "id", "is", "it", "ka", "kk",
                             "ky", "lt", "lv", "mk", "mn", "nb", "nl", "nn", "no", "pl", "pt", "ro",
                             "ru", "sk", "sl", "sq", "sr", "sv", "tr", "uk", "uz", "vi"}) {
    if (lang == l) return true;
  }
  return false;
}

// strftime conversions we show, and their patterns.
constexpr std::pair<char, const char*> kConversions[] = {
    {'d', "dd"},       {'e', "d"},          {'m', "MM"}, {'Y', "yyyy"}, {'y', "yy"},
    {'D', "MM/dd/yy"}, {'F', "yyyy-MM-dd"}, {'H', "HH"}, {'M', "mm"},   {'S', "ss"},
    {'T', "HH:mm:ss"}, {'R', "HH:mm"},      {'%', "%"},
};

// Translates a strftime date or time format into our pattern letters. Nothing when it
// uses a conversion we do not show, or a literal letter that would read as a pattern.
std::optional<std::string> FromStrftime(std::string_view f) {
  std::string out;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const char c = f[i];
    if (c != '%') {
      if (std::string_view("dMyHms").find(c) != std::string_view::npos) return std::nullopt;
      out += c;
      continue;
    }
    if (++i >= f.size()) return std::nullopt;
    const char* piece = nullptr;
    for (const auto& [conversion, pattern] : kConversions) {
      if (conversion == f[i]) piece = pattern;
    }
    if (piece == nullptr) return std::nullopt;
    out += piece;
  }
  if (out.empty()) return std::nullopt;
  return out;
}

}  // namespace

RegionalSettings RegionalSettings::FromEnvironment() {
  RegionalSettings r;

  const std::string numeric = LocaleName("LC_NUMERIC");
  if (!IsPlainC(numeric)) {
    const std::string radix = LocaleItem(numeric, LC_NUMERIC_MASK, RADIXCHAR);
    if (radix == "," || radix == ".") {
      r.decimalSeparator = radix;
    } else {
      const std::string lang = numeric.substr(0, numeric.find_first_of("_.@"));
      r.decimalSeparator = LanguageUsesComma(lang) ? "," : ".";
    }
  }

  const std::string time = LocaleName("LC_TIME");
  if (!IsPlainC(time)) {
    if (auto date = FromStrftime(LocaleItem(time, LC_TIME_MASK, D_FMT))) r.shortDateFormat = *date;
    if (auto clock = FromStrftime(LocaleItem(time, LC_TIME_MASK, T_FMT))) r.timeFormat = *clock;
  }
  return r;
}

RegionalSettings RegionalSettings::Italian() {
  RegionalSettings r;
  r.decimalSeparator = ",";
  return r;
}

// The defaults: a decimal point, dd/MM/yyyy and HH:mm:ss.
RegionalSettings RegionalSettings::English() { return RegionalSettings{}; }

}  // namespace plat
