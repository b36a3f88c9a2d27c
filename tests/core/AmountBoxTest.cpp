#include <gtest/gtest.h>

#include "AmountBox.h"

namespace velmora {
namespace {

TEST(AmountBoxTest, NormalisedOnLeaving) {
  // Fewer than two characters read 0, a lone digit included.
  for (const char* text : {"", "7", ","}) EXPECT_EQ(NormaliseAmountBox(text), "0") << text;
  EXPECT_EQ(NormaliseAmountBox("17"), "17");
  EXPECT_EQ(NormaliseAmountBox("3,456"), "3,46");
  EXPECT_EQ(NormaliseAmountBox(",5"), "0,5");
  EXPECT_EQ(NormaliseAmountBox("0012,50"), "12,5");
  EXPECT_EQ(NormaliseAmountBox("1.5"), "1.5");  // not an amount: left for the caller

  EXPECT_FALSE(AmountBoxValue(""));
  EXPECT_FALSE(AmountBoxValue("1.5"));
  EXPECT_EQ(AmountBoxValue(","), Amount::FromCents(0));
  EXPECT_EQ(AmountBoxValue("12,5"), Amount::FromCents(1250));
}

}  // namespace
}  // namespace velmora
