#include <gtest/gtest.h>

#include <cerrno>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "ZipArchive.h"
#include "SystemReason.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::uint32_t Read32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint16_t Read16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bool HasTool(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Single quotes for the shell.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a shell command and returns what it printed, or nullopt when it failed.
std::optional<std::string> Output(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string text;
  char block[4096];
  while (const std::size_t got = std::fread(block, 1, sizeof block, pipe)) text.append(block, got);
  if (::pclose(pipe) != 0) return std::nullopt;
  return text;
}

// What Python's zipfile makes of an archive: the entry's name, sizes, CRC,
// flags and method, after testing every CRC; the entry's bytes go to extractTo.
constexpr char kZipReader[] = R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    assert z.testzip() is None
    assert z.comment == b''
    [info] = z.infolist()
    open(sys.argv[2], 'wb').write(z.read(info))
    sys.stdout.buffer.write(('%s|%d|%d|%08x|%d|%d|%d\n' % (info.filename, info.file_size,
        info.compress_size, info.CRC, info.flag_bits, info.compress_type,
        info.external_attr)).encode('utf-8'))
)";

class ZipArchiveTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "velmora-zip-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::ofstream(PathOf("read.py")) << kZipReader;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

  // Zips source, then has unzip and Python check the archive against it.
  void CheckWithReaders(const std::string& source, const std::string& expectedName) {
    const std::string archive = ZipArchivePath(source);
    ASSERT_EQ(WriteZipCopy(source, archive, kStamp), std::nullopt);
    const std::string bytes = Read(source);
    if (HasTool("unzip")) {
      EXPECT_EQ(std::system(("unzip -tqq " + Quoted(archive) + " >/dev/null").c_str()), 0)
          << archive;
      // Extracted under its own name, letters intact, readable and with the same bytes.
      const fs::path folder = dir_ / "unzipped";
      fs::remove_all(folder);
      EXPECT_EQ(std::system(("LC_ALL=C.UTF-8 unzip -qq " + Quoted(archive) + " -d " +
                             Quoted(folder.string()) + " >/dev/null")
                                .c_str()),
                0);
      EXPECT_EQ(Read((folder / expectedName).string()), bytes) << expectedName;
      EXPECT_NE(fs::status(folder / expectedName).permissions() & fs::perms::owner_read,
                fs::perms::none);
    }
    if (!HasTool("python3")) return;
    const auto listing = Output("python3 " + Quoted(PathOf("read.py")) + " " + Quoted(archive) +
                                " " + Quoted(PathOf("extracted")));
    ASSERT_TRUE(listing.has_value()) << archive;
    std::istringstream fields(*listing);
    std::string name, size, compressed, crc, flags, method, attributes;
    std::getline(fields, name, '|');
    std::getline(fields, size, '|');
    std::getline(fields, compressed, '|');
    std::getline(fields, crc, '|');
    std::getline(fields, flags, '|');
    std::getline(fields, method, '|');
    std::getline(fields, attributes);
    EXPECT_EQ(name, expectedName);
    EXPECT_EQ(size, std::to_string(bytes.size()));
    EXPECT_EQ(method, "8");
    const bool utf8Name = ZipNameFlags(expectedName) == kZipUtf8NameFlag;
    EXPECT_EQ(attributes, utf8Name ? std::to_string(0100644u << 16) : "0");
    EXPECT_EQ(flags, std::to_string(ZipNameFlags(expectedName)));
    EXPECT_EQ(Read(PathOf("extracted")), bytes);
    const std::string archiveBytes = Read(archive);
    char crcText[9];
    std::snprintf(crcText, sizeof crcText, "%08x", Read32(archiveBytes, 14));
    EXPECT_EQ(crc, crcText);
    EXPECT_EQ(compressed, std::to_string(Read32(archiveBytes, 18)));
  }

  static constexpr DosTimestamp kStamp{13 * 2048 + 45 * 32 + 30 / 2, 29 * 512 + 3 * 32 + 14};
  fs::path dir_;
};

TEST_F(ZipArchiveTest, LaysOutOneEntryWithItsHeadersAndEndRecord) {
  const std::string data = "0123456789ABCDEF\r\n" + std::string(1000, 'x');
  const std::string zip = ComposeZipArchive("X.PIS", data, kStamp);

  ASSERT_GE(zip.size(), 30u + 5 + 46 + 5 + 22);
  EXPECT_EQ(Read32(zip, 0), 0x04034B50u);
  EXPECT_EQ(Read16(zip, 4), 20);
  EXPECT_EQ(Read16(zip, 6), 0);  // an ASCII name needs no flag
  EXPECT_EQ(Read16(zip, 8), 8);
  EXPECT_EQ(Read16(zip, 10), kStamp.time);
  EXPECT_EQ(Read16(zip, 12), kStamp.date);
  EXPECT_EQ(Read32(ComposeZipArchive("c", "123456789", kStamp), 14), 0xCBF43926u);  // CRC-32 check
  const std::uint32_t compressed = Read32(zip, 18);
  EXPECT_LT(compressed, data.size());
  EXPECT_EQ(Read32(zip, 22), data.size());
  EXPECT_EQ(Read16(zip, 26), 5);
  EXPECT_EQ(Read16(zip, 28), 0);
  EXPECT_EQ(zip.substr(30, 5), "X.PIS");

  const std::size_t central = 30 + 5 + compressed;
  EXPECT_EQ(Read32(zip, central), 0x02014B50u);
  EXPECT_EQ(Read16(zip, central + 4), 20);
  EXPECT_EQ(zip.substr(central + 6, 26), zip.substr(4, 26));
  EXPECT_EQ(zip.substr(central + 32, 14), std::string(14, '\0'));
  EXPECT_EQ(zip.substr(central + 46, 5), "X.PIS");

  const std::size_t end = central + 46 + 5;
  ASSERT_EQ(zip.size(), end + 22);  // exactly one entry and an empty comment
  EXPECT_EQ(Read32(zip, end), 0x06054B50u);
  EXPECT_EQ(Read32(zip, end + 4), 0u);
  EXPECT_EQ(Read16(zip, end + 8), 1);
  EXPECT_EQ(Read16(zip, end + 10), 1);
  EXPECT_EQ(Read32(zip, end + 12), 46u + 5);
  EXPECT_EQ(Read32(zip, end + 16), central);
  EXPECT_EQ(Read16(zip, end + 20), 0);

  // The empty file: size 0, CRC 0 and the two bytes of an empty raw deflate stream.
  const std::string empty = ComposeZipArchive("E", "", kStamp);
  EXPECT_EQ(Read32(empty, 14), 0u);
  EXPECT_EQ(Read32(empty, 18), 2u);
  EXPECT_EQ(Read32(empty, 22), 0u);
  EXPECT_EQ(empty.substr(31, 2), std::string("\x03\x00", 2));
}

TEST_F(ZipArchiveTest, DosTimeAndNameRules) {
  std::tm moment{};
  moment.tm_year = 2009 - 1900;
  moment.tm_mon = 2;  // March
  moment.tm_mday = 14;
  moment.tm_hour = 13;
  moment.tm_min = 45;
  moment.tm_sec = 31;  // odd seconds are rounded down
  EXPECT_EQ(DosTimestampOf(moment), kStamp);
  moment.tm_year = 1975 - 1900;
  EXPECT_EQ(DosTimestampOf(moment), (DosTimestamp{0, 33}));  // 1 January 1980

  EXPECT_EQ(ZipEntryName("/home/user/docs/X.PIS"), "X.PIS");
  EXPECT_EQ(ZipEntryName("X.PIS"), "X.PIS");
  EXPECT_EQ(ZipArchivePath("/tmp/X.PIS"), "/tmp/X.PIS.zip");
  EXPECT_EQ(ZipArchivePath("/tmp/A.zip"), "/tmp/A.zip.zip");
  EXPECT_EQ(ZipReplaceQuestion("/tmp/A.zip"),
            "Είστε σίγουρος ότι θέλετε να αντικαταστήσετε το αρχείο A.zip.zip;");

  EXPECT_EQ(ZipNameFlags("X.PIS"), 0);
  EXPECT_EQ(ZipNameFlags("Δήλωση.PIS"), kZipUtf8NameFlag);
  EXPECT_EQ(ZipNameFlags("\xC4\xDE\xEB\xF9\xF3\xE7"), 0);  // Windows-1253 bytes, not UTF-8
  EXPECT_EQ(ZipNameFlags("\xC0\xAF"), 0);                  // an overlong form is not UTF-8
}

TEST_F(ZipArchiveTest, ReadersOpenOrdinaryEmptyGreekAndLargeFiles) {
  if (!HasTool("unzip") && !HasTool("python3")) GTEST_SKIP() << "neither unzip nor python3";
  std::string submission;
  for (int i = 0; i < 500; ++i) submission += "2" + std::to_string(100000000 + i) + "\r\n";
  Write(PathOf("X.PIS"), submission);
  CheckWithReaders(PathOf("X.PIS"), "X.PIS");

  Write(PathOf("empty"), "");
  CheckWithReaders(PathOf("empty"), "empty");

  const std::string greek = "Δήλωση πελατών 2009.PIS";
  Write(PathOf(greek), "\xC4\xDE\xEB\xF9\xF3\xE7\r\n");
  CheckWithReaders(PathOf(greek), greek);

  // A submission file's size and more, with text that compresses and bytes that do not.
  std::string large;
  large.reserve(32u << 20);
  std::uint32_t state = 12345;
  while (large.size() < (32u << 20)) {
    large += "4123456789\xCA\xC1\xD4\xC1\xD3\xD4\xC7\xCC\xC1 " + std::to_string(large.size());
    for (int i = 0; i < 16; ++i) {
      state = state * 1103515245u + 12345u;
      large += static_cast<char>(state >> 24);
    }
  }
  Write(PathOf("large.PIS"), large);
  CheckWithReaders(PathOf("large.PIS"), "large.PIS");
}

TEST_F(ZipArchiveTest, AFailedCopyLeavesTheEarlierArchive) {
  const std::string source = PathOf("X.PIS");
  const std::string archive = ZipArchivePath(source);
  Write(source, std::string(1 << 20, 'a') + "end");
  Write(archive, "earlier archive");

  // A source that cannot be read: nothing is written.
  auto failure = WriteZipCopy(PathOf("missing.PIS"), archive, kStamp);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->message, "Δεν ήταν δυνατή η ανάγνωση του αρχείου " + PathOf("missing.PIS") +
                                  "\n" + SystemReason(ENOENT));
  EXPECT_EQ(Read(archive), "earlier archive");
  // Larger than any submission file: refused before it is read.
  Write(PathOf("huge.PIS"), "");
  fs::resize_file(PathOf("huge.PIS"), kMaxZipSourceBytes + 1);
  EXPECT_TRUE(WriteZipCopy(PathOf("huge.PIS"), archive, kStamp).has_value());
  EXPECT_EQ(Read(archive), "earlier archive");
  fs::remove(PathOf("huge.PIS"));

  // A missing folder: the reason is the system's.
  failure = WriteZipCopy(source, PathOf("no-folder/X.PIS.zip"), kStamp);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->message, "Δεν ήταν δυνατή η δημιουργία του συμπιεσμένου αρχείου " +
                                  PathOf("no-folder/X.PIS.zip") + "\n" + SystemReason(ENOENT));

  // The disk refuses the archive half-way (a file size limit holds even for root).
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  failure = WriteZipCopy(source, archive, kStamp);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->message, "Δεν ήταν δυνατή η δημιουργία του συμπιεσμένου αρχείου " + archive +
                                  "\n" + SystemReason(EFBIG));
  EXPECT_EQ(Read(archive), "earlier archive");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir_)) left.push_back(entry.path().filename());
  EXPECT_EQ(left.size(), 3u);  // the source, the archive and read.py: no temporary file

  // Where it can be written, the archive replaces the earlier one.
  ASSERT_EQ(WriteZipCopy(source, archive, kStamp), std::nullopt);
  EXPECT_EQ(Read32(Read(archive), 0), 0x04034B50u);
}

}  // namespace
}  // namespace velmora
