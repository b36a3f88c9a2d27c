#include <gtest/gtest.h>
#include <iconv.h>

#include <array>
#include <random>
#include <string>
#include <string_view>

#include "Cp1253.h"
#include "Utf8.h"

namespace velmora {
namespace {

// glibc's iconv decodes every byte on its own; undefined bytes fail there.
std::u32string IconvDecodeEachByte() {
  const iconv_t converter = iconv_open("UTF-32LE", "CP1253");
  if (converter == reinterpret_cast<iconv_t>(-1)) return {};
  std::u32string result;
  for (int b = 0; b < 256; ++b) {
    char in = static_cast<char>(b);
    std::array<unsigned char, 8> out{};
    char* inPointer = &in;
    char* outPointer = reinterpret_cast<char*>(out.data());
    std::size_t inLeft = 1;
    std::size_t outLeft = out.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    const bool converted = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) !=
                           static_cast<std::size_t>(-1);
    result += converted && outLeft == 4
                  ? static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24)
                  : U'\uFFFD';
  }
  iconv_close(converter);
  return result;
}

TEST(Cp1253Test, AgreesWithIconvOnEveryByte) {
  const std::u32string expected = IconvDecodeEachByte();
  ASSERT_EQ(expected.size(), 256u);
  int undefined = 0;
  for (int b = 0; b < 256; ++b) {
    const char32_t c = Cp1253ToUnicode(static_cast<unsigned char>(b));
    EXPECT_EQ(c, expected[b]) << "byte " << b;
    if (c == U'\uFFFD') {
      ++undefined;
      continue;
    }
    EXPECT_EQ(UnicodeToCp1253(c), static_cast<unsigned char>(b)) << "byte " << b;
  }
  EXPECT_EQ(undefined, 17);
  EXPECT_EQ(UnicodeToCp1253(U'\uFFFD'), std::nullopt);
}

TEST(Cp1253Test, KnownCodePoints) {
  EXPECT_EQ(Cp1253ToUnicode(0xC1), U'Α');
  EXPECT_EQ(Cp1253ToUnicode(0xA2), U'Ά');
  EXPECT_EQ(Cp1253ToUnicode(0x80), U'€');
  EXPECT_EQ(Cp1253ToUnicode(0xB8), U'\u0388');
  EXPECT_EQ(Cp1253ToUnicode(0xF2), U'ς');
  EXPECT_EQ(Cp1253ToUnicode(0xD2), U'\uFFFD');
  EXPECT_EQ(UnicodeToCp1253(U'£'), 0xA3);
  EXPECT_EQ(UnicodeToCp1253(U'Ε'), 0xC5);
  EXPECT_EQ(UnicodeToCp1253(U'E'), 'E');
  // Latin-1 letters and C1 controls have no place in the Greek code page.
  EXPECT_EQ(UnicodeToCp1253(U'ä'), std::nullopt);
  EXPECT_EQ(UnicodeToCp1253(U'\u0081'), std::nullopt);
  EXPECT_EQ(UnicodeToCp1253(U'\u0100'), std::nullopt);
  EXPECT_EQ(UnicodeToCp1253(U'中'), std::nullopt);
}

TEST(Cp1253Test, ConvertsTexts) {
  EXPECT_EQ(Cp1253ToUtf8("\xC1\xC8\xC7\xCD\xD9\xCD A'"), "ΑΘΗΝΩΝ A'");
  EXPECT_EQ(Cp1253ToUtf8(std::string("a\0\xD2", 3)), std::string("a\0\xEF\xBF\xBD", 5));
  EXPECT_EQ(Utf8ToCp1253("Πελάτες 10,5 €"), "\xD0\xE5\xEB\xDC\xF4\xE5\xF2 10,5 \x80");
  EXPECT_EQ(Utf8ToCp1253(""), "");

  std::string everyDefinedByte;
  for (int b = 0; b < 256; ++b) {
    if (Cp1253ToUnicode(static_cast<unsigned char>(b)) != U'\uFFFD') {
      everyDefinedByte += static_cast<char>(b);
    }
  }
  EXPECT_EQ(Utf8ToCp1253(Cp1253ToUtf8(everyDefinedByte)), everyDefinedByte);

  EXPECT_EQ(Utf8ToCp1253("Müller"), std::nullopt);
  EXPECT_EQ(Utf8ToCp1253("\xCE"), std::nullopt);          // cut sequence
  EXPECT_EQ(Utf8ToCp1253("\xC0\xB1"), std::nullopt);      // overlong '1'
  EXPECT_EQ(Utf8ToCp1253("\xED\xA0\x80"), std::nullopt);  // surrogate
  EXPECT_EQ(Utf8ToCp1253("\x80"), std::nullopt);          // stray continuation
  EXPECT_EQ(Utf8ToCp1253("\xEF\xBF\xBD"), std::nullopt);  // U+FFFD itself
}

TEST(Utf8Test, ValidityAsCheckedLetterByLetter) {
  // The whole-text check takes eight bytes at a time over ASCII and two-byte
  // letters; it must agree with decoding each letter, wherever a fault or a longer
  // letter falls among the eight.
  const auto byLetters = [](std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
      if (!NextUtf8(text, pos)) return false;
    }
    return true;
  };
  const std::array<std::string_view, 12> pieces = {
      "abcdefgh", "x",    "\xCE\x91", "\xCF\x89",     "\xC2\x80",     "\xDF\xBF",
      "\xC0\xB1", "\xC1", "\x80",     "\xE2\x82\xAC", "\xED\xA0\x80", "\xF0\x9F\x98\x80"};
  std::mt19937 random(65001);
  for (int round = 0; round < 20'000; ++round) {
    std::string text;
    const std::size_t count = random() % 24;
    for (std::size_t i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    if (!text.empty() && random() % 4 == 0) text.resize(random() % text.size());
    ASSERT_EQ(IsValidUtf8(text), byLetters(text)) << round;
  }
}

}  // namespace
}  // namespace velmora
