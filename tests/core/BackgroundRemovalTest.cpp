#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "BackgroundRemoval.h"
#include "TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

TEST(BackgroundRemovalTest, FreesTheNameAtOnceAndDeletesTheFileLater) {
  const test::TempFolder folder;
  const fs::path& dir = folder.Root();
  const std::string path = (dir / "record21").string();
  const auto entries = [&] { return std::distance(fs::directory_iterator(dir), {}); };

  BackgroundRemoval removal;
  std::ofstream(path) << std::string(100000, 'x');
  ASSERT_TRUE(removal.Remove(path, ".old"));
  EXPECT_FALSE(fs::exists(path));
  // The name takes a new file while the old one may still be going.
  std::ofstream(path) << "new";
  removal.Wait();
  EXPECT_FALSE(fs::exists(path + ".old"));
  EXPECT_EQ(fs::file_size(path), 3u);
  EXPECT_EQ(entries(), 1);

  // Nothing to move: nothing done, and an earlier aside file stays.
  std::ofstream(path + "x.old") << "kept";
  EXPECT_FALSE(removal.Remove(path + "x", ".old"));
  removal.Wait();
  EXPECT_EQ(entries(), 2);
  fs::remove(path + "x.old");

  // One removal follows another; the destructor waits for the last one.
  {
    BackgroundRemoval scoped;
    std::ofstream((dir / "a").string()) << "a";
    EXPECT_TRUE(scoped.Remove(path, ".old"));
    EXPECT_TRUE(scoped.Remove((dir / "a").string(), ".old"));
  }
  EXPECT_EQ(entries(), 0);
}

}  // namespace
}  // namespace velmora
