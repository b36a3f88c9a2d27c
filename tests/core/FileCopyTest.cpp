#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TestSupport.h"
#include "AtomicFile.h"
#include "FileCopy.h"
#include "VelmoraError.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class FileCopyTest : public testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return folder_.Path(name); }

  static void Write(const std::string& path, const std::string& bytes) {
    test::WriteBytes(path, bytes);
  }
  static std::string Read(const std::string& path) { return test::ReadBytes(path); }
  static std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31 % 251);
    return bytes;
  }

  test::TempFolder folder_;
  const fs::path dir_ = folder_.Root();
};

TEST_F(FileCopyTest, CopiesEveryByteAcrossChunkBoundaries) {
  // Largest first, so that every copy also replaces a longer file.
  for (const std::size_t size : {20000, 16384, 8193, 8192, 8191, 1, 0}) {
    const std::string bytes = Pattern(size);
    Write(PathOf("source"), bytes);
    CopyFile(PathOf("source"), PathOf("copy"));
    EXPECT_EQ(Read(PathOf("copy")), bytes) << size << " bytes";
  }
}

TEST_F(FileCopyTest, DirectoryDestinationTakesTheSourceName) {
  fs::create_directory(dir_ / "into");
  Write(PathOf("record2"), "line\r\n");
  for (const std::string suffix : {"", "/", "\\"}) {
    fs::remove(dir_ / "into" / "record2");
    CopyFile(PathOf("record2"), PathOf("into") + suffix);
    EXPECT_EQ(Read(PathOf("into/record2")), "line\r\n") << "suffix '" << suffix << "'";
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "into"), fs::directory_iterator()), 1);
}

TEST_F(FileCopyTest, ReportsTheFailingPath) {
  const std::string missing = PathOf("missing");
  try {
    CopyFile(missing, PathOf("copy"));
    FAIL() << "no error";
  } catch (const VelmoraError& e) {
    EXPECT_STREQ(e.what(), ("Cannot open file " + missing).c_str());
  }
  EXPECT_FALSE(fs::exists(PathOf("copy")));

  fs::create_directory(dir_ / "folder");
  EXPECT_THROW(CopyFile(PathOf("folder"), PathOf("copy")), VelmoraError);

  Write(PathOf("source"), "abc");
  const std::string uncreatable = PathOf("no-such-folder/copy");
  try {
    CopyFile(PathOf("source"), uncreatable);
    FAIL() << "no error";
  } catch (const VelmoraError& e) {
    EXPECT_STREQ(e.what(), ("Cannot create file " + uncreatable).c_str());
  }

  // Copying a file onto itself must not truncate it first.
  EXPECT_THROW(CopyFile(PathOf("source"), PathOf("source")), VelmoraError);
  EXPECT_THROW(CopyFile(PathOf("source"), dir_.string()), VelmoraError);
  EXPECT_EQ(Read(PathOf("source")), "abc");
}

TEST_F(FileCopyTest, SnapshotKeepsTheBytesOfItsMoment) {
  const std::string source = PathOf("record2");
  const std::string snapshot = PathOf("record21");
  Write(source, "one\r\n");
  Write(snapshot, "an older and longer snapshot\r\n");
  SnapshotFile(source, snapshot);
  EXPECT_EQ(Read(snapshot), "one\r\n");

  // The source is replaced, not changed in place: the snapshot stays as it was.
  WriteFileAtomically(source, "two\r\n", false);
  EXPECT_EQ(Read(source), "two\r\n");
  EXPECT_EQ(Read(snapshot), "one\r\n");
  SnapshotFile(source, snapshot);
  EXPECT_EQ(Read(snapshot), "two\r\n");
  // Again while the snapshot is still the source's file: nothing is left over.
  SnapshotFile(source, snapshot);
  EXPECT_EQ(Read(snapshot), "two\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);

  // A missing source fails and leaves the snapshot alone.
  EXPECT_THROW(SnapshotFile(PathOf("missing"), snapshot), VelmoraError);
  EXPECT_EQ(Read(snapshot), "two\r\n");
}

}  // namespace
}  // namespace velmora
