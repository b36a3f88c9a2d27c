#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Cp1253.h"
#include "TaxOffices.h"

namespace velmora {
namespace {

TEST(TaxOfficesTest, ListInOrderWithUniqueCodes) {
  const auto& offices = TaxOffices();
  ASSERT_EQ(offices.size(), 288u);
  EXPECT_STREQ(offices.front().code, "4231");
  EXPECT_STREQ(offices.front().name, "ΑΓ. ΑΘΑΝΑΣΙΟΥ");
  EXPECT_STREQ(offices.back().code, "1175");
  EXPECT_STREQ(offices.back().name, "ΨΥΧΙΚΟΥ");
  EXPECT_STREQ(offices[9].name, "ΑΘΗΝΩΝ Α'");
  EXPECT_STREQ(offices[9].code, "1101");

  std::set<std::string> codes;
  for (const auto& office : offices) {
    const std::string code = office.code;
    EXPECT_EQ(code.size(), 4u) << code;
    EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos) << code;
    EXPECT_TRUE(codes.insert(code).second) << "duplicate " << code;
    EXPECT_NE(std::string(office.name), "") << code;
    EXPECT_TRUE(Utf8ToCp1253(office.name)) << code;
  }
}

TEST(TaxOfficesTest, FindsByExactCode) {
  EXPECT_EQ(FindTaxOfficeByCode("1101"), 9);
  EXPECT_EQ(FindTaxOfficeByCode("4231"), 0);
  EXPECT_EQ(FindTaxOfficeByCode("1175"), 287);
  EXPECT_STREQ(TaxOffices()[FindTaxOfficeByCode("4224")].name, "ΘΕΣΣΑΛΟΝΙΚΗΣ ΦΑΕ");
  for (const char* code : {"", "0000", "110", "11011", "1101 ", " 110", "    "}) {
    EXPECT_EQ(FindTaxOfficeByCode(code), -1) << '"' << code << '"';
  }
}

}  // namespace
}  // namespace velmora
