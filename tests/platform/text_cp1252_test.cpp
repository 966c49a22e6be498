#include "platform/text/Cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace plat {
namespace {

TEST(Cp1252Test, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  // Each byte is one character: no two bytes share a UTF-8 form.
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
  }
}

TEST(Cp1252Test, KnownCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("Umidit\xE0Relativa"), "UmiditàRelativa");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "€");
  EXPECT_EQ(Cp1252ToUtf8("\x9F\x8A"), "ŸŠ");
  EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
  EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Utf8ToCp1252("°C €"),
            "\xB0"
            "C \x80");
  EXPECT_EQ(Utf8ToCp1252("“quoted”"), "\x93quoted\x94");
}

TEST(Cp1252Test, WhatWindows1252CannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToCp1252("日本"), "??");
  EXPECT_EQ(Utf8ToCp1252("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp1252("\u0080"), "?");  // a C1 control that 1252 gives to "€"
  // Broken UTF-8: each stray byte is one "?", and what follows is read again.
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");
  EXPECT_EQ(Utf8ToCp1252("\xC3x"), "?x");
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");            // overlong "/"
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");       // surrogate
  EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80"), "????");  // beyond U+10FFFF
  EXPECT_EQ(Utf8ToCp1252("\x80\xBF"), "??");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82"), "??");  // cut short
}

}  // namespace
}  // namespace plat
