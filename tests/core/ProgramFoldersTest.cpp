#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ProgramFolders.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFoldersTest, FindsShippedFilesBesideTheExecutableOrUnderShare) {
  std::string pattern = (fs::temp_directory_path() / "velmora-folders-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path prefix = pattern;
  const fs::path bin = prefix / "bin";
  fs::create_directories(bin);

  // An installed program: nothing beside it, so share/ is the answer.
  EXPECT_EQ(HelpFolderFor(bin.string()), (prefix / "share/velmora/Help").string());
  EXPECT_EQ(IconPathFor(bin.string()), "");
  const fs::path icon = prefix / "share/icons/hicolor/64x64/apps/velmora.png";
  fs::create_directories(icon.parent_path());
  std::ofstream(icon) << "png";
  EXPECT_EQ(IconPathFor(bin.string()), icon.string());

  EXPECT_EQ(XlsReaderPathFor(bin.string()),
            (prefix / "libexec/velmora/velmora-xls-reader").string());

  // A build tree: Help/, the icon and the helper beside the executable win.
  fs::create_directories(bin / "Help");
  std::ofstream(bin / "velmora.png") << "png";
  std::ofstream(bin / "velmora-xls-reader") << "elf";
  EXPECT_EQ(HelpFolderFor(bin.string()), (bin / "Help").string());
  EXPECT_EQ(IconPathFor(bin.string()), (bin / "velmora.png").string());
  EXPECT_EQ(XlsReaderPathFor(bin.string()), (bin / "velmora-xls-reader").string());

  // A file named Help is not the help folder.
  const fs::path other = prefix / "other";
  fs::create_directories(other);
  std::ofstream(other / "Help") << "";
  EXPECT_EQ(HelpFolderFor(other.string()), (prefix / "share/velmora/Help").string());
  fs::remove_all(prefix);
}

}  // namespace
}  // namespace velmora
