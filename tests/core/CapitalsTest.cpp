#include "Capitals.h"

#include <gtest/gtest.h>

#include "Cp1253.h"

namespace velmora {
namespace {

TEST(CapitalsTest, LettersTakeTheCapitalsOfCapsLockAndNothingLeavesTheCodePage) {
  const std::pair<char32_t, char32_t> typed[] = {
      {U'a', U'A'}, {U'z', U'Z'}, {U'α', U'Α'}, {U'ω', U'Ω'}, {U'σ', U'Σ'}, {U'ς', U'Σ'},
      {U'ά', U'Ά'}, {U'έ', U'Έ'}, {U'ή', U'Ή'}, {U'ί', U'Ί'}, {U'ό', U'Ό'}, {U'ύ', U'Ύ'},
      {U'ώ', U'Ώ'}, {U'ϊ', U'Ϊ'}, {U'ϋ', U'Ϋ'}, {U'ΐ', U'ΐ'}, {U'ΰ', U'ΰ'}, {U'A', U'A'},
      {U'Ω', U'Ω'}, {U'1', U'1'}, {U'@', U'@'}, {U'µ', U'µ'}, {U'΅', U'΅'}, {U' ', U' '}};
  for (const auto& [small, capital] : typed)
    EXPECT_EQ(CapitalLetter(small), capital) << static_cast<unsigned>(small);

  // Whatever the code page can hold, its capital can hold too.
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t c = Cp1253ToUnicode(static_cast<unsigned char>(byte));
    if (!UnicodeToCp1253(c)) continue;  // a byte the code page leaves undefined
    EXPECT_TRUE(UnicodeToCp1253(CapitalLetter(c)).has_value()) << byte;
  }
}

}  // namespace
}  // namespace velmora
