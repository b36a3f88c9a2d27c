#include <gtest/gtest.h>

#include <string>

#include "TaxNumber.h"

namespace velmora {
namespace {

TEST(TaxNumberTest, WorkedExamples) {
  EXPECT_TRUE(CheckAFM("123456783"));   // S = 1004, remainder 3
  EXPECT_FALSE(CheckAFM("123456789"));  // same first eight digits
  EXPECT_TRUE(CheckAFM("012345670"));   // S = 494, remainder 10 -> 0
  EXPECT_TRUE(CheckAFM("000000050"));   // S = 10, remainder 10 -> 0
  EXPECT_FALSE(CheckAFM("000000051"));  // remainder 10 never asks for 1
  EXPECT_TRUE(CheckAFM("999999993"));   // largest sum, 4590, remainder 3
}

TEST(TaxNumberTest, ReasonsInCheckOrder) {
  EXPECT_EQ(CheckAFMReason(""), AfmCheck::WrongLength);
  EXPECT_EQ(CheckAFMReason("12345678"), AfmCheck::WrongLength);
  EXPECT_EQ(CheckAFMReason("1234567830"), AfmCheck::WrongLength);  // first nine are valid
  EXPECT_EQ(CheckAFMReason("12345678A"), AfmCheck::NotDigits);
  EXPECT_EQ(CheckAFMReason(" 12345678"), AfmCheck::NotDigits);
  EXPECT_EQ(CheckAFMReason("+12345678"), AfmCheck::NotDigits);
  EXPECT_EQ(CheckAFMReason("-12345678"), AfmCheck::NotDigits);
  EXPECT_EQ(CheckAFMReason("1234,5678"), AfmCheck::NotDigits);
  EXPECT_EQ(CheckAFMReason(std::string("12345678\0", 9)), AfmCheck::NotDigits);
  EXPECT_EQ(CheckAFMReason("000000000"), AfmCheck::AllZeros);  // its check digit would match
  EXPECT_EQ(CheckAFMReason("123456789"), AfmCheck::WrongCheckDigit);
  EXPECT_EQ(CheckAFMReason("123456783"), AfmCheck::Valid);
}

TEST(TaxNumberTest, ExactlyOneCheckDigitPerStem) {
  // Exactly one of the ten endings is valid for any non-zero stem.
  for (const char* stem : {"12345678", "01234567", "00000005", "99999999", "80000000"}) {
    int valid = 0;
    for (char d = '0'; d <= '9'; ++d) valid += CheckAFM(std::string(stem) + d) ? 1 : 0;
    EXPECT_EQ(valid, 1) << stem;
  }
}

TEST(TaxNumberTest, ReasonTexts) {
  EXPECT_STREQ(AfmCheckText(AfmCheck::Valid), "");
  EXPECT_STREQ(AfmCheckText(AfmCheck::WrongLength),
               "Έχετε δώσει λανθασμένο ΑΦΜ: Ο ΑΦΜ πρέπει να έχει 9 ψηφία.");
  EXPECT_STREQ(AfmCheckText(AfmCheck::AllZeros),
               "Έχετε δώσει λανθασμένο ΑΦΜ: Ο ΑΦΜ δεν μπορεί να αποτελείται μόνο από 0");
  EXPECT_STREQ(AfmCheckText(AfmCheck::NotDigits), "Έχετε δώσει λανθασμένο ΑΦΜ");
  EXPECT_STREQ(AfmCheckText(AfmCheck::WrongCheckDigit), "Έχετε δώσει λανθασμένο ΑΦΜ");
}

}  // namespace
}  // namespace velmora
