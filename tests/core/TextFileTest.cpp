#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "TextFile.h"
#include "VelmoraError.h"
#include "SystemReason.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

TEST(TextFileTest, SplitsAtEveryKindOfLineEnd) {
  EXPECT_EQ(SplitTextLines(""), Lines{});
  EXPECT_EQ(SplitTextLines("abc"), Lines{"abc"});
  EXPECT_EQ(SplitTextLines("abc\r\n"), Lines{"abc"});
  EXPECT_EQ(SplitTextLines("\r\n"), Lines{""});
  EXPECT_EQ(SplitTextLines("a\rb\nc\r\nd"), (Lines{"a", "b", "c", "d"}));
  // LF CR is two line ends; CR CR LF is a CR and a CR LF.
  EXPECT_EQ(SplitTextLines("a\n\rb\r\r\nc\n\n"), (Lines{"a", "", "b", "", "c", ""}));
  // The text ends at the first NUL, wherever it stands.
  EXPECT_EQ(SplitTextLines(std::string_view("ab\r\ncd\0ef\r\ngh", 14)), (Lines{"ab", "cd"}));
  EXPECT_EQ(SplitTextLines(std::string_view("\0ab", 3)), Lines{});
  // Greek bytes pass through untouched.
  EXPECT_EQ(SplitTextLines("\xC1\xE1\xFE\r\n"), Lines{"\xC1\xE1\xFE"});
}

TEST(TextFileTest, JoinsWithCrLfAfterEveryLine) {
  EXPECT_EQ(JoinCrLf({}), "");
  EXPECT_EQ(JoinCrLf({""}), "\r\n");
  EXPECT_EQ(JoinCrLf({"a", "", "bc"}), "a\r\n\r\nbc\r\n");
  const Lines lines{"x", "", "\xC1yz"};
  EXPECT_EQ(SplitTextLines(JoinCrLf(lines)), lines);
}

TEST(TextFileTest, ReadsWholeFilesAndReportsTheSystemReason) {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-text-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path dir = pattern;
  // Larger than one read, with a CR LF cut between the first two reads.
  std::string big = std::string(65535, 'a') + "\r\n";
  for (int i = 0; i < 3000; ++i) big += std::string(40, static_cast<char>('a' + i % 26)) + "\n";
  std::ofstream((dir / "big").string(), std::ios::binary) << big << "tail";
  const Lines lines = ReadTextLines((dir / "big").string());
  ASSERT_EQ(lines.size(), 3002u);
  EXPECT_EQ(lines[0], std::string(65535, 'a'));
  EXPECT_EQ(lines[3000], std::string(40, 'a' + 2999 % 26));
  EXPECT_EQ(lines[3001], "tail");

  try {
    ReadTextLines((dir / "missing").string());
    ADD_FAILURE() << "a missing file was read";
  } catch (const VelmoraError& e) {
    EXPECT_EQ(std::string(e.what()), SystemReason(ENOENT));
  }
  // A folder, a device and a pipe without a writer are refused at once, unread.
  const std::string fifo = (dir / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {dir.string(), std::string("/dev/zero"), fifo}) {
    for (int way = 0; way < 2; ++way) {
      try {
        if (way == 0) ReadTextLines(path);
        if (way == 1) ReadFileBytes(path, 1 << 20);
        ADD_FAILURE() << path << " was read";
      } catch (const VelmoraError& e) {
        EXPECT_STREQ(e.what(), path == dir.string()
                                   ? "Είναι φάκελος, όχι αρχείο"
                                   : "Δεν είναι κανονικό αρχείο (συσκευή, σωλήνωση ή υποδοχή)");
      }
    }
  }
  std::filesystem::remove_all(dir);
}

TEST(TextFileTest, ReadsFileBytesAsTheyStandUpToALimit) {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmora-bytes-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path dir = pattern;
  const std::string path = (dir / "file").string();
  // NUL and CR bytes are kept, unlike when the file is read as lines.
  const std::string bytes("a\0b\r\nc\rd\n\xC1\r\r\n", 13);
  std::ofstream(path, std::ios::binary) << bytes;
  EXPECT_EQ(ReadFileBytes(path, 13), bytes);
  EXPECT_EQ(ReadFileBytes(path, 1000), bytes);
  try {
    ReadFileBytes(path, 12);
    ADD_FAILURE() << "a file one byte too large was read";
  } catch (const FileTooLargeError& e) {
    EXPECT_STREQ(e.what(), "Το αρχείο είναι πολύ μεγάλο");
  }

  std::ofstream(path, std::ios::binary | std::ios::trunc).close();
  EXPECT_EQ(ReadFileBytes(path, 0), "");

  try {
    ReadFileBytes((dir / "missing").string(), 100);
    ADD_FAILURE() << "a missing file was read";
  } catch (const VelmoraError& e) {
    EXPECT_EQ(std::string(e.what()), SystemReason(ENOENT));
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmora
