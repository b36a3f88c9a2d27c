#include <gtest/gtest.h>

#include <string>

#include "SubmissionFileName.h"

namespace velmora {
namespace {

TEST(SubmissionFileNameTest, YearNumberInstallationAndKind) {
  EXPECT_EQ(ProposeSubmissionFileName("2008", "123456783", "0", false), "2008-123456783-0");
  EXPECT_EQ(ProposeSubmissionFileName("2008", "123456783", "0", true), "2008-123456783-0.PIS");
  EXPECT_EQ(ProposeSubmissionFileName("2010", "094019245", "12", false), "2010-094019245-12");
  // A lone Greek or Latin capital E is written Latin; other texts as they are.
  EXPECT_EQ(ProposeSubmissionFileName("2008", "123456783", "\xC5", false), "2008-123456783-E");
  EXPECT_EQ(ProposeSubmissionFileName("2008", "123456783", "E", true), "2008-123456783-E.PIS");
  const std::string epsilonOne = std::string(1, '\xC5') + "1";
  EXPECT_EQ(ProposeSubmissionFileName("2008", "123456783", epsilonOne, false),
            "2008-123456783-" + epsilonOne);
}

}  // namespace
}  // namespace velmora
