#include "platform/text/Cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace plat {
namespace {

TEST(Cp1252Test, EveryByteRoundTripsAndKnownCharactersMap) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("Umidit\xE0Relativa \x80\x9F\x8A"), "UmiditàRelativa €ŸŠ");
  // The five unassigned bytes keep their own code points.
  EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(Utf8ToCp1252("€ ° “q”"), "\x80 \xB0 \x93q\x94");
}

TEST(Cp1252Test, WhatWindows1252CannotHoldBecomesAQuestionMark) {
  const struct {
    const char* utf8;
    const char* cp1252;
  } cases[] = {
      {"日本", "??"},
      {"a😀b", "a?b"},
      {"\u0080", "?"},  // a C1 control that 1252 gives to "€"
      // Broken UTF-8: each stray byte is one "?", and what follows is read again.
      {"\xC3x", "?x"},
      {"\xC0\xAF", "??"},            // overlong "/"
      {"\xED\xA0\x80", "???"},       // surrogate
      {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
      {"\xE2\x82", "??"},            // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

}  // namespace
}  // namespace plat
