#include <gtest/gtest.h>

#include "AmountBox.h"

namespace velmora {
namespace {

TEST(AmountBoxTest, NormalisedOnLeaving) {
  // Only an empty box and a lone comma read 0; a lone digit keeps its value.
  for (const char* text : {"", ","}) EXPECT_EQ(NormaliseAmountBox(text), "0") << text;
  EXPECT_EQ(NormaliseAmountBox("7"), "7");
  EXPECT_EQ(NormaliseAmountBox("17"), "17");
  EXPECT_EQ(NormaliseAmountBox("3,456"), "3,46");
  EXPECT_EQ(NormaliseAmountBox(",5"), "0,5");
  EXPECT_EQ(NormaliseAmountBox("0012,50"), "12,5");
  EXPECT_EQ(NormaliseAmountBox("1.5"), "1.5");  // not an amount: left for the caller
}

}  // namespace
}  // namespace velmora
