#include <gtest/gtest.h>

#include <limits>

#include "WholeNumber.h"

namespace velmora {
namespace {

TEST(WholeNumberTest, ParsesSignedDigits) {
  EXPECT_EQ(ParseWholeNumber("12"), 12);
  EXPECT_EQ(ParseWholeNumber("0000012"), 12);
  EXPECT_EQ(ParseWholeNumber(" -7 "), -7);
  EXPECT_EQ(ParseWholeNumber("+0"), 0);
  EXPECT_EQ(ParseWholeNumber("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ParseWholeNumber("-9223372036854775808"), std::numeric_limits<int64_t>::min());
}

TEST(WholeNumberTest, RefusesOtherText) {
  for (const char* text :
       {"", "   ", "-", "+", "1,5", "1.0", "12a", "1 2", "- 3", "--3", "0x1F",
        "9223372036854775808", "-9223372036854775809", "100000000000000000000"}) {
    EXPECT_EQ(ParseWholeNumber(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(WholeNumberTest, FormatsPlainDigits) {
  EXPECT_EQ(FormatGeneralNumber(0), "0");
  EXPECT_EQ(FormatGeneralNumber(1234567), "1234567");
  EXPECT_EQ(FormatGeneralNumber(-42), "-42");
}

}  // namespace
}  // namespace velmora
