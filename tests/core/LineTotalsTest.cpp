#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LineTotals.h"

namespace velmora {
namespace {

TotalsResult Sum(const std::vector<std::string>& invoices, const std::vector<std::string>& values,
                 size_t* valuesRead = nullptr) {
  return SumLines(
      invoices.size(), [&](size_t i) { return invoices.at(i); },
      [&](size_t i) {
        if (valuesRead) ++*valuesRead;
        return values.at(i);
      });
}

TEST(LineTotalsTest, ExactSumsAndTheirFormats) {
  const TotalsResult three = Sum({"2", "3", "5"}, {"10,5", "0", "1,25"});
  ASSERT_TRUE(three.totals);
  EXPECT_EQ(FormatInvoiceTotal(three.totals->invoices), "10");
  EXPECT_EQ(FormatValueTotal(three.totals->value), "11,75");

  const TotalsResult none = Sum({}, {});
  EXPECT_EQ(FormatInvoiceTotal(none.totals->invoices), "0");
  EXPECT_EQ(FormatValueTotal(none.totals->value), "0,00");

  const TotalsResult tenths =
      Sum(std::vector<std::string>(10, "0007"), std::vector<std::string>(10, "0,1"));
  EXPECT_EQ(tenths.totals->invoices, 70);
  EXPECT_EQ(FormatValueTotal(tenths.totals->value), "1,00");
}

TEST(LineTotalsTest, FirstFailureEndsTheWalk) {
  size_t valuesRead = 0;
  TotalsResult result = Sum({"2", "x", "5"}, {"1", "2", "3"}, &valuesRead);
  EXPECT_FALSE(result.totals);
  EXPECT_EQ(result.message, "Ο αριθμός τιμολογίων 'x' δεν είναι έγκυρος ακέραιος αριθμός");
  EXPECT_EQ(valuesRead, 1u);

  result = Sum({"2", "3"}, {"1", "1.5"});
  EXPECT_EQ(result.message,
            "Η τιμή '1.5' δεν είναι έγκυρος αριθμός (η υποδιαστολή είναι το κόμμα)");
  EXPECT_FALSE(Sum({"2"}, {""}).totals);  // an empty text is not a number

  // Sums that do not fit.
  result = Sum({"9223372036854775807", "1"}, {"0", "0"});
  EXPECT_FALSE(result.totals);
  EXPECT_FALSE(result.message.empty());
  result = Sum({"1", "1"}, {"92233720368547758,07", "0,01"});
  EXPECT_FALSE(result.totals);
  EXPECT_FALSE(result.message.empty());
}

}  // namespace
}  // namespace velmora
