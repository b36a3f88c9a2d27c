#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AtomicFile.h"
#include "TextFile.h"
#include "VelmoraError.h"
#include "SystemReason.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "velmora-atomic-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  int EntryCount() const {
    return static_cast<int>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST_F(AtomicFileTest, CreatesAndReplacesFilesKeepingTheirPermissions) {
  const std::string path = PathOf("out");
  WriteFileAtomically(path, std::string_view("a\0\xC1\r\n", 5), false);
  EXPECT_EQ(Read(path), std::string("a\0\xC1\r\n", 5));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  WriteFileAtomically(path, "new", true);
  EXPECT_EQ(Read(path), "new");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  WriteFileAtomically(path, "", false);
  EXPECT_EQ(fs::file_size(path), 0u);
  EXPECT_EQ(EntryCount(), 1);  // no temporary file left behind
}

TEST_F(AtomicFileTest, FailureKeepsTheTargetAndLeavesNoTemporaryFile) {
  try {
    WriteFileAtomically(PathOf("missing/out"), "x", false);
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const VelmoraError& e) {
    EXPECT_EQ(std::string(e.what()), SystemReason(ENOENT));
  }
  // A folder cannot be replaced by a file: the rename fails after the write.
  fs::create_directory(PathOf("folder"));
  std::ofstream(PathOf("folder/keep")) << "old";
  try {
    WriteFileAtomically(PathOf("folder"), "x", false);
    ADD_FAILURE() << "replaced a folder";
  } catch (const VelmoraError& e) {
    EXPECT_EQ(std::string(e.what()), SystemReason(EISDIR));
  }
  EXPECT_EQ(Read(PathOf("folder/keep")), "old");
  EXPECT_EQ(EntryCount(), 1);
}

TEST_F(AtomicFileTest, WritesLinesEachEndedByCrLf) {
  using Lines = std::vector<std::string>;
  const std::string path = PathOf("lines");
  WriteLinesAtomically(path, {"a", "", "\xC1 b"}, false);
  EXPECT_EQ(Read(path), "a\r\n\r\n\xC1 b\r\n");
  WriteLinesAtomically(path, {}, true);
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(fs::file_size(path), 0u);

  // Longer than the 256 KiB buffer on its own.
  const std::string huge(300000, 'h');
  WriteLinesAtomically(path, {huge}, false);
  EXPECT_EQ(Read(path), huge + "\r\n");
  // A line that fills the buffer exactly with its CR LF, after a short one.
  const std::string fill(262138, 'f');
  WriteLinesAtomically(path, {"ab", fill, "c"}, false);
  EXPECT_EQ(Read(path), "ab\r\n" + fill + "\r\nc\r\n");

  // Many lines crossing buffer boundaries, with lines just below, at and above
  // the buffer's size among them.
  Lines many;
  for (int i = 0; i < 20000; ++i) many.emplace_back(i % 113, static_cast<char>('a' + i % 26));
  many.insert(many.begin() + 5000, std::string(262142, 'L'));
  many.insert(many.begin() + 5001, std::string(262143, 'M'));
  many.insert(many.begin() + 5002, std::string(262141, 'N'));
  WriteLinesAtomically(path, many, false);
  EXPECT_EQ(Read(path), JoinCrLf(many));
  EXPECT_EQ(EntryCount(), 1);
}

TEST_F(AtomicFileTest, LinesWrittenWhileTheyAreMadeAppearOnlyWhenFinished) {
  using Lines = std::vector<std::string>;
  const std::string path = PathOf("made");
  std::ofstream(path) << "old";
  const Lines first = {"a", "b"};
  Lines then;
  then.reserve(30000);
  {
    LinesFileWriter abandoned(path, first, then, false);
    then.emplace_back("never");
    abandoned.Publish(1);
  }
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(EntryCount(), 1);

  then.clear();
  LinesFileWriter writer(path, first, then, false);
  for (int i = 0; i < 30000; ++i) {
    then.emplace_back(i % 50, static_cast<char>('a' + i % 26));
    if (i % 1000 == 0) writer.Publish(then.size());
  }
  EXPECT_EQ(Read(path), "old");
  // Only as many as Finish names: a line made after it is left out.
  writer.Finish(then.size() - 1);
  Lines all = first;
  all.insert(all.end(), then.begin(), then.end() - 1);
  EXPECT_EQ(Read(path), JoinCrLf(all));
  EXPECT_EQ(EntryCount(), 1);

  EXPECT_THROW(LinesFileWriter(PathOf("missing/out"), first, then, false).Finish(0), VelmoraError);
}

TEST_F(AtomicFileTest, FailedLineWriteKeepsTheTarget) {
  EXPECT_THROW(WriteLinesAtomically(PathOf("missing/out"), {"x"}, false), VelmoraError);
  fs::create_directory(PathOf("folder"));
  std::ofstream(PathOf("folder/keep")) << "old";
  EXPECT_THROW(WriteLinesAtomically(PathOf("folder"), {"x", "y"}, true), VelmoraError);
  EXPECT_EQ(Read(PathOf("folder/keep")), "old");
  EXPECT_EQ(EntryCount(), 1);
}

TEST_F(AtomicFileTest, SavingOverALinkReplacesItsTarget) {
  fs::create_directory(PathOf("real"));
  std::ofstream(PathOf("real/target")) << "old";
  ASSERT_EQ(::chmod(PathOf("real/target").c_str(), 0604), 0);
  fs::create_symlink("real/target", PathOf("relative"));
  fs::create_symlink(PathOf("relative"), PathOf("chain"));
  for (const char* link : {"relative", "chain"}) {
    WriteFileAtomically(PathOf(link), link, true);
    EXPECT_TRUE(fs::is_symlink(PathOf(link)));
    EXPECT_EQ(Read(PathOf("real/target")), link);
  }
  WriteLinesAtomically(PathOf("chain"), {"a", "b"}, false);
  EXPECT_EQ(Read(PathOf("real/target")), "a\r\nb\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(PathOf("real/target").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  // A link that points nowhere yet: its target is created, the link kept.
  fs::create_symlink("real/new", PathOf("dangling"));
  WriteFileAtomically(PathOf("dangling"), "made", false);
  EXPECT_TRUE(fs::is_symlink(PathOf("dangling")));
  EXPECT_EQ(Read(PathOf("real/new")), "made");
  // A loop of links is refused and changes nothing.
  fs::create_symlink("loop-b", PathOf("loop-a"));
  fs::create_symlink("loop-a", PathOf("loop-b"));
  EXPECT_THROW(WriteFileAtomically(PathOf("loop-a"), "x", false), VelmoraError);
  EXPECT_EQ(EntryCount(), 6);
  EXPECT_EQ(std::distance(fs::directory_iterator(PathOf("real")), fs::directory_iterator()), 2);
}

TEST_F(AtomicFileTest, TemporaryFilesOfKilledSavesAreRemovedAtTheNextSave) {
  // A process that has ended: its id is free (and will not be reused this soon).
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  const std::string dead = std::to_string(child);
  const std::string running = std::to_string(::getppid());
  const std::string self = std::to_string(::getpid());
  const std::vector<std::string> stale = {".out.velmora-tmp-" + dead + "-AbC123",
                                          ".other.velmora-tmp-" + dead + "-zzzzzz"};
  const std::vector<std::string> kept = {
      ".out.velmora-tmp-" + running + "-AbC123",  // a running copy is saving
      ".out.velmora-tmp-" + self + "-AbC123",     // so may this one, on another thread
      ".out.velmora-tmp-" + dead + "-AbC12",      // not our name
      "out.velmora-tmp-" + dead + "-AbC123",     ".out.velmora-tmp-" + dead + "-AbC12_",
      ".out.velmora-tmp-x" + dead + "-AbC123"};
  for (const auto& names : {stale, kept})
    for (const std::string& name : names) std::ofstream(PathOf(name)) << "half";
  // A day old: its process id may belong to someone else by now.
  const std::string old = ".out.velmora-tmp-" + running + "-OldOne";
  std::ofstream(PathOf(old)) << "half";
  const timespec dayAgo[2] = {{::time(nullptr) - 25 * 60 * 60, 0},
                              {::time(nullptr) - 25 * 60 * 60, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, PathOf(old).c_str(), dayAgo, 0), 0);
  WriteFileAtomically(PathOf("out"), "whole", false);
  EXPECT_EQ(Read(PathOf("out")), "whole");
  for (const std::string& name : stale) EXPECT_FALSE(fs::exists(PathOf(name))) << name;
  EXPECT_FALSE(fs::exists(PathOf(old)));
  for (const std::string& name : kept) EXPECT_TRUE(fs::exists(PathOf(name))) << name;
  EXPECT_EQ(EntryCount(), 1 + static_cast<int>(kept.size()));
}

}  // namespace
}  // namespace velmora
