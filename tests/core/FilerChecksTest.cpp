#include <gtest/gtest.h>

#include <string_view>

#include "FilerChecks.h"

namespace velmora {
namespace {

TEST(FilerChecksTest, YearFrom2005ToTheCurrentOne) {
  EXPECT_TRUE(IsYearAcceptable("2005", 2009));
  EXPECT_TRUE(IsYearAcceptable("2009", 2009));
  EXPECT_FALSE(IsYearAcceptable("2010", 2009));
  EXPECT_FALSE(IsYearAcceptable("2004", 2009));
  EXPECT_TRUE(IsYearAcceptable("2026", 2026));
  EXPECT_FALSE(IsYearAcceptable("", 2009));
  EXPECT_FALSE(IsYearAcceptable("20a8", 2009));
  EXPECT_FALSE(IsYearAcceptable("99999999999999999999", 2009));
  EXPECT_FALSE(IsYearAcceptable("2008", 2004));
}

TEST(FilerChecksTest, YearMessageIsTheOneForLeavingTheField) {
  // The save check has a similar text with brackets and a full stop; this is the other one.
  const std::string_view year = kWrongYearMessage;
  EXPECT_TRUE(
      year.starts_with("Γράψτε το έτος που αφορούν τα στοιχεία, με τέσσερα ψηφία, από 2005"));
  EXPECT_TRUE(year.ends_with("του προγράμματος"));
  EXPECT_STREQ(kWrongFilerTaxNumberMessage, "Λάθος ΑΦΜ Υπόχρεου");
}

}  // namespace
}  // namespace velmora
