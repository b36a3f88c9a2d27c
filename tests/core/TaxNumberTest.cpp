#include <gtest/gtest.h>

#include <string>

#include "TaxNumber.h"

namespace velmora {
namespace {

TEST(TaxNumberTest, WorkedExamples) {
  EXPECT_TRUE(IsValidTaxNumber("123456783"));   // S = 1004, remainder 3
  EXPECT_FALSE(IsValidTaxNumber("123456789"));  // same first eight digits
  EXPECT_TRUE(IsValidTaxNumber("012345670"));   // S = 494, remainder 10 -> 0
  EXPECT_TRUE(IsValidTaxNumber("000000050"));   // S = 10, remainder 10 -> 0
  EXPECT_FALSE(IsValidTaxNumber("000000051"));  // remainder 10 never asks for 1
  EXPECT_TRUE(IsValidTaxNumber("999999993"));   // largest sum, 4590, remainder 3
}

TEST(TaxNumberTest, RefusesWhatIsNotNineDigits) {
  for (const std::string& text :
       {std::string(), std::string("12345678"), std::string("1234567830"), std::string("12345678A"),
        std::string(" 12345678"), std::string("+12345678"), std::string("-12345678"),
        std::string("1234,5678"), std::string("12345678\0", 9),
        std::string("000000000")}) {  // all zeros: its check digit would match
    EXPECT_FALSE(IsValidTaxNumber(text)) << text;
  }
}

TEST(TaxNumberTest, ExactlyOneCheckDigitPerStem) {
  // Exactly one of the ten endings is valid for any non-zero stem.
  for (const char* stem : {"12345678", "01234567", "00000005", "99999999", "80000000"}) {
    int valid = 0;
    for (char d = '0'; d <= '9'; ++d) valid += IsValidTaxNumber(std::string(stem) + d) ? 1 : 0;
    EXPECT_EQ(valid, 1) << stem;
  }
}

}  // namespace
}  // namespace velmora
