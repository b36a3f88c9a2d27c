#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "CopyFolder.h"
#include "FormKeeping.h"
#include "PrivateFolder.h"
#include "Statement.h"
#include "TestSupport.h"
#include "VelmoraError.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// Folders that another user could have prepared are refused; a fresh private one
// is made instead of ever taking them.
TEST(PrivateFolderTest, OnlyARealFolderClosedToOthersIsTaken) {
  const test::TempFolder root;
  fs::create_directory(root.Path("open"));
  ::chmod(root.Path("open").c_str(), 0755);
  fs::create_directory(root.Path("private"));
  ::chmod(root.Path("private").c_str(), 0700);
  fs::create_directory_symlink(root.Path("private"), root.Path("link"));
  test::WriteBytes(root.Path("file"), "x");

  EXPECT_NO_THROW(CheckPrivateFolder(root.Path("private")));
  for (const char* refused : {"open", "link", "file", "missing"})
    EXPECT_THROW(CheckPrivateFolder(root.Path(refused)), VelmoraError) << refused;

  // A runtime folder whose "velmora" is a link: not used, a fresh folder instead.
  fs::create_directory(root.Path("run"));
  fs::create_directory_symlink(root.Path("open"), root.Path("run/velmora"));
  const std::string fallback = MakePrivateFallbackFolder(root.Path("run").c_str(), root.Path());
  EXPECT_NE(fallback, root.Path("run/velmora"));
  EXPECT_NO_THROW(CheckPrivateFolder(fallback));
  fs::remove(root.Path("run/velmora"));
  EXPECT_EQ(MakePrivateFallbackFolder(root.Path("run").c_str(), root.Path()),
            root.Path("run/velmora"));
  EXPECT_NO_THROW(CheckPrivateFolder(root.Path("run/velmora")));

  // A state folder that is a link is refused, and so is a copy folder open to others.
  EXPECT_THROW(CopyFolder::Create(root.Path("link")), VelmoraError);
  fs::create_directories(root.Path("private/copy-ABCDEF/temp"));
  ::chmod(root.Path("private/copy-ABCDEF").c_str(), 0755);
  test::WriteBytes(root.Path("private/copy-ABCDEF/owner"), "1\n");
  EXPECT_TRUE(CopyFolder::ClaimAbandoned(root.Path("private")).empty());

  // A folder whose marker is missing or a link is taken in, to be cleaned up or offered.
  ::chmod(root.Path("private/copy-ABCDEF").c_str(), 0700);
  fs::remove(root.Path("private/copy-ABCDEF/owner"));
  fs::create_directories(root.Path("private/copy-GHIJKL/temp"));
  ::chmod(root.Path("private/copy-GHIJKL").c_str(), 0700);
  fs::create_symlink(root.Path("file"), root.Path("private/copy-GHIJKL/owner"));
  std::vector<CopyFolder> claimed = CopyFolder::ClaimAbandoned(root.Path("private"));
  ASSERT_EQ(claimed.size(), 2u);
  for (CopyFolder& folder : claimed) folder.RemoveAll();
  EXPECT_EQ(test::ReadBytes(root.Path("file")), "x");  // the link's target untouched
  EXPECT_TRUE(fs::is_empty(root.Path("private")));
}

TEST(PrivateFolderTest, AFormThatCannotBeKeptIsToldOnceUntilItIsKeptAgain) {
  const test::TempFolder base;
  Statement statement(base.Path());
  statement.Reset();
  StatementForm form;
  FormKeeping keeping;
  EXPECT_FALSE(keeping.Keep(statement, form));
  // The form's place taken by a folder: every write there fails.
  const std::string formPath = statement.Files().Path(WorkingFiles::kForm);
  fs::remove(formPath);
  fs::create_directories(formPath + "/blocked");
  const auto told = keeping.Keep(statement, form);
  ASSERT_TRUE(told);
  EXPECT_EQ(told->rfind("Τα στοιχεία δεν μπορούν να διατηρηθούν για ανάκτηση: ", 0), 0u) << *told;
  EXPECT_FALSE(keeping.Keep(statement, form));
  fs::remove_all(formPath);
  EXPECT_FALSE(keeping.Keep(statement, form));
  fs::remove(formPath);
  fs::create_directories(formPath + "/blocked");
  EXPECT_TRUE(keeping.Keep(statement, form));
}

}  // namespace
}  // namespace velmora
