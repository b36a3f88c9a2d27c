#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "SideBySide.h"

namespace velmora {
namespace {

TEST(SideBySideTest, RunsBothAndReturnsWhenBothAreDone) {
  int first = 0;
  int second = 0;
  std::thread::id secondThread;
  RunSideBySide([&] { first = 1; },
                [&] {
                  second = 2;
                  secondThread = std::this_thread::get_id();
                });
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_NE(secondThread, std::this_thread::get_id());
  EXPECT_NE(secondThread, std::thread::id());
}

TEST(SideBySideTest, PassesOnAFailureOfEither) {
  const auto fail = [](const char* what) { return [what] { throw std::runtime_error(what); }; };
  bool secondDone = false;
  const auto succeed = [&] { secondDone = true; };
  // The second one is still waited for when the first one fails.
  try {
    RunSideBySide(fail("first"), succeed);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "first");
  }
  EXPECT_TRUE(secondDone);

  try {
    RunSideBySide([] {}, fail("second"));
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "second");
  }
  try {
    RunSideBySide(fail("first"), fail("second"));
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "first");
  }
}

}  // namespace
}  // namespace velmora
