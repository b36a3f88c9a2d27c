#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "Amount.h"

namespace velmora {
namespace {

std::optional<int64_t> CentsOf(std::string_view text) {
  const auto amount = Amount::Parse(text);
  return amount ? std::optional<int64_t>(amount->Cents()) : std::nullopt;
}

TEST(AmountTest, ParsesCommaDecimals) {
  EXPECT_EQ(CentsOf("1234,56"), 123456);
  EXPECT_EQ(CentsOf("0012"), 1200);
  EXPECT_EQ(CentsOf("5,"), 500);
  EXPECT_EQ(CentsOf(",5"), 50);
  EXPECT_EQ(CentsOf(","), 0);
  EXPECT_EQ(CentsOf("-3,1"), -310);
  EXPECT_EQ(CentsOf("  10,00 "), 1000);
  EXPECT_EQ(CentsOf("-0"), 0);
}

TEST(AmountTest, RoundsHalfAwayFromZeroFromTheDigits) {
  EXPECT_EQ(CentsOf("0,125"), 13);
  EXPECT_EQ(CentsOf("1234,567"), 123457);
  EXPECT_EQ(CentsOf("12,345"), 1235);
  EXPECT_EQ(CentsOf("-0,005"), -1);
  EXPECT_EQ(CentsOf("0,12499999999999999999"), 12);
  EXPECT_EQ(CentsOf("0,995"), 100);
}

TEST(AmountTest, RefusesWhatIsNotAnAmount) {
  for (const char* text : {"", " ", "-", "+", "1.5", "1,2,3", ",,", "abc", "12a", "1 2", "- 1",
                           "--1", "1,-5", "0x10", "1e3"}) {
    EXPECT_EQ(Amount::Parse(text), std::nullopt) << '"' << text << '"';
  }
  EXPECT_EQ(CentsOf("92233720368547758,07"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(Amount::Parse("92233720368547758,08"), std::nullopt);
  EXPECT_EQ(Amount::Parse("92233720368547758,075"), std::nullopt);
  EXPECT_EQ(Amount::Parse("99999999999999999999"), std::nullopt);
}

TEST(AmountTest, FormatsShortAndFixed) {
  const struct {
    int64_t cents;
    const char* shortText;
    const char* fixedText;
  } cases[] = {
      {123457, "1234,57", "1234,57"}, {1000, "10", "10,00"}, {50, "0,5", "0,50"},
      {-310, "-3,1", "-3,10"},        {0, "0", "0,00"},      {1175, "11,75", "11,75"},
      {-5, "-0,05", "-0,05"},         {7, "0,07", "0,07"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Amount::FromCents(c.cents).FormatShort(), c.shortText);
    EXPECT_EQ(Amount::FromCents(c.cents).FormatFixed(), c.fixedText);
  }
  const auto lowest = Amount::FromCents(std::numeric_limits<int64_t>::min());
  EXPECT_EQ(lowest.FormatShort(), "-92233720368547758,08");
}

TEST(AmountTest, CentsFieldRoundTrip) {
  EXPECT_EQ(Amount::FromCents(123450).FormatCents16(), "0000000000123450");
  EXPECT_EQ(Amount::FromCents(0).FormatCents16(), "0000000000000000");
  EXPECT_EQ(Amount::FromCents(9999999999999999).FormatCents16(), "9999999999999999");
  EXPECT_EQ(Amount::FromCents(10000000000000000).FormatCents16(), std::nullopt);
  EXPECT_EQ(Amount::FromCents(-1).FormatCents16(), std::nullopt);

  EXPECT_EQ(Amount::ParseCents("0000000000123450"), Amount::FromCents(123450));
  EXPECT_EQ(Amount::ParseCents("7"), Amount::FromCents(7));
  for (const char* text : {"", " 12", "-12", "1,5", "12 ", "99999999999999999999"}) {
    EXPECT_EQ(Amount::ParseCents(text), std::nullopt) << '"' << text << '"';
  }
  const auto parsed = Amount::Parse("1234,567");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(Amount::ParseCents(*parsed->FormatCents16()), parsed);
}

TEST(AmountTest, AddsAndCompares) {
  const auto sum = Amount::FromCents(1050).Plus(Amount::FromCents(125));
  ASSERT_TRUE(sum);
  EXPECT_EQ(sum->FormatFixed(), "11,75");
  EXPECT_EQ(Amount::FromCents(-5).Plus(Amount::FromCents(5)), Amount::FromCents(0));
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  EXPECT_EQ(Amount::FromCents(kMax).Plus(Amount::FromCents(1)), std::nullopt);
  EXPECT_EQ(Amount::FromCents(kMin).Plus(Amount::FromCents(-1)), std::nullopt);
  EXPECT_EQ(Amount::FromCents(kMax).Plus(Amount::FromCents(kMin)), Amount::FromCents(-1));

  EXPECT_LT(Amount::FromCents(-1), Amount::FromCents(0));
  EXPECT_GT(Amount::FromCents(100), Amount::FromCents(99));
  EXPECT_EQ(Amount(), Amount::FromCents(0));
}

}  // namespace
}  // namespace velmora
