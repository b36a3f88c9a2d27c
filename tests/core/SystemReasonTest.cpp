#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "SystemReason.h"

namespace velmora {
namespace {

TEST(SystemReasonTest, CommonReasonsAreNamedAndTheRestNumbered) {
  // Each common reason has a text of its own, none of them English.
  std::set<std::string> texts;
  for (int error : {ENOENT, EACCES, ENOSPC, EROFS, EFBIG, EIO}) {
    const std::string text = SystemReason(error);
    EXPECT_EQ(text.find("No such"), std::string::npos) << text;
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), 6u);
  EXPECT_EQ(SystemReason(ENOSPC), "Ο δίσκος είναι γεμάτος.");
  EXPECT_EQ(SystemReason(9999), "Σφάλμα συστήματος αριθμός 9999.");
}

}  // namespace
}  // namespace velmora
