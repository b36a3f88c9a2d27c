#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestSupport.h"
#include "VelmoraError.h"
#include "WorkingFiles.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

class WorkingFilesTest : public testing::Test {
 protected:
  static void Write(const std::string& path, const std::string& bytes) {
    test::WriteBytes(path, bytes);
  }

  test::TempFolder folder_;
  const std::string base_ = folder_.Path();
};

constexpr const char* kStatementFiles[] = {"generalData", "record2", "record3", "record4",
                                           "record5"};

TEST_F(WorkingFilesTest, ResetLeavesFiveEmptyFilesAndKeepsSnapshots) {
  const WorkingFiles files(base_);
  EXPECT_EQ(files.Folder(), base_ + "/temp");
  EXPECT_EQ(files.Path(WorkingFiles::kCustomerSnapshot), base_ + "/temp/record21");
  EXPECT_THROW(files.ResetStatementFiles(), VelmoraError);  // no folder yet
  files.CreateFolder();
  files.CreateFolder();  // already there: not an error
  Write(files.Path(WorkingFiles::kCustomerLines), "old line\r\n");
  Write(files.Path(WorkingFiles::kSupplierSnapshot), "snapshot\r\n");

  files.ResetStatementFiles();
  for (const char* name : kStatementFiles) {
    ASSERT_TRUE(fs::is_regular_file(files.Path(name))) << name;
    EXPECT_EQ(fs::file_size(files.Path(name)), 0u) << name;
  }
  EXPECT_EQ(fs::file_size(files.Path(WorkingFiles::kSupplierSnapshot)), 10u);
  EXPECT_FALSE(fs::exists(files.Path(WorkingFiles::kCustomerSnapshot)));
  EXPECT_EQ(files.ReadHeaderLine(), "");
}

TEST_F(WorkingFilesTest, ReadsTheFirstLineOfTheHeaderFile) {
  const WorkingFiles files(base_);
  EXPECT_EQ(files.ReadHeaderLine(), "");  // no folder, no file
  files.CreateFolder();
  const std::string path = files.Path(WorkingFiles::kGeneralData);
  const struct {
    std::string content;
    std::string line;
  } cases[] = {
      {"12008\xC1 \r\n2nd\r\n", "12008\xC1 "},
      {"lf only\nnext", "lf only"},
      {"cr only\rnext", "cr only"},
      {"no line end", "no line end"},
      {std::string("cut\0here\r\n", 10), "cut"},
      {"\r\nsecond", ""},
  };
  for (const auto& c : cases) {
    Write(path, c.content);
    EXPECT_EQ(files.ReadHeaderLine(), c.line);
  }
  fs::remove(path);
  fs::create_directory(path);
  EXPECT_THROW(files.ReadHeaderLine(), VelmoraError);
}

TEST_F(WorkingFilesTest, RemoveAllLeavesTheFolderOnlyForForeignFiles) {
  const WorkingFiles files(base_);
  files.CreateFolder();
  files.ResetStatementFiles();
  Write(files.Folder() + "/notes.txt", "mine");
  files.RemoveAll();  // record21 and record22 are missing: ignored
  EXPECT_TRUE(fs::exists(files.Folder() + "/notes.txt"));
  for (const char* name : kStatementFiles) EXPECT_FALSE(fs::exists(files.Path(name))) << name;

  fs::remove(files.Folder() + "/notes.txt");
  Write(files.Path(WorkingFiles::kSupplierSnapshot), "x");
  files.RemoveAll();
  EXPECT_FALSE(fs::exists(files.Folder()));
  EXPECT_TRUE(fs::exists(base_));
}

}  // namespace
}  // namespace velmora
