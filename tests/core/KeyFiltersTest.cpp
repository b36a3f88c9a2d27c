#include <gtest/gtest.h>

#include "KeyFilters.h"

namespace velmora {
namespace {

constexpr char32_t kBackspace = 8;
constexpr char32_t kTab = 9;

TEST(KeyFiltersTest, DigitsAndZeroOne) {
  for (char32_t c = U'0'; c <= U'9'; ++c) EXPECT_TRUE(DigitsOnly(c));
  EXPECT_TRUE(DigitsOnly(kBackspace));
  EXPECT_TRUE(DigitsOnly(kTab));
  for (const char32_t c : {U'a', U'A', U',', U'.', U'-', U' ', U'\r', U'٣', U'Α', U'/', U':'}) {
    EXPECT_FALSE(DigitsOnly(c)) << static_cast<int>(c);
  }

  for (const char32_t c : {U'0', U'1', kBackspace, kTab}) EXPECT_TRUE(ZeroOneKeyFilter(c));
  for (const char32_t c : {U'2', U'9', U'O', U'l', U' ', U'-'}) {
    EXPECT_FALSE(ZeroOneKeyFilter(c)) << static_cast<int>(c);
  }
}

TEST(KeyFiltersTest, DecimalTakesOneComma) {
  EXPECT_TRUE(DecimalKeyFilter(U'5', "12,3"));
  EXPECT_TRUE(DecimalKeyFilter(kBackspace, "12,3"));
  EXPECT_TRUE(DecimalKeyFilter(U',', ""));
  EXPECT_TRUE(DecimalKeyFilter(U',', "1234"));
  EXPECT_FALSE(DecimalKeyFilter(U',', "12,"));
  EXPECT_FALSE(DecimalKeyFilter(U',', ",5"));
  for (const char32_t c : {U'.', U'-', U'+', kTab, U' ', U'e', U'٫'}) {
    EXPECT_FALSE(DecimalKeyFilter(c, "")) << static_cast<int>(c);
  }
}

TEST(KeyFiltersTest, InstallationTypeStoresOneLatinE) {
  // Capital or small, Greek or Latin: each is stored as the Latin capital.
  for (const char32_t e : {U'Ε', U'E', U'ε', U'e'}) {
    const KeyVerdict verdict = InstallationTypeFilter(e, "12");
    EXPECT_TRUE(verdict.accepted) << static_cast<int>(e);
    EXPECT_EQ(verdict.stored, U'E');
  }
  EXPECT_FALSE(InstallationTypeFilter(U'e', "E").accepted);

  EXPECT_FALSE(InstallationTypeFilter(U'E', "E").accepted);
  EXPECT_FALSE(InstallationTypeFilter(U'Ε', "1E").accepted);
  EXPECT_FALSE(InstallationTypeFilter(U'E', "Ε").accepted);  // Greek already there

  EXPECT_EQ(InstallationTypeFilter(U'0', "").stored, U'0');
  EXPECT_EQ(InstallationTypeFilter(U'1', "0").stored, U'1');
  EXPECT_TRUE(InstallationTypeFilter(U'7', "E").accepted);  // digits beside E are not refused
  EXPECT_TRUE(InstallationTypeFilter(kBackspace, "E").accepted);
  for (const char32_t c : {U'F', U'Ζ', U'ζ', kTab, U' ', U','}) {
    EXPECT_FALSE(InstallationTypeFilter(c, "").accepted) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace velmora
