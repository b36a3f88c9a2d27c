#include <gtest/gtest.h>

#include <cerrno>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "DesktopLauncher.h"
#include "SystemReason.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DesktopLauncherTest, QuotesTheExecutablePathForTheExecKey) {
  EXPECT_EQ(DesktopLauncherText("/opt/velmora/bin/velmora", "/opt/velmora/velmora.png"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Velmora\n"
            "Exec=\"/opt/velmora/bin/velmora\" %f\n"
            "Path=/opt/velmora/bin\n"
            "Icon=/opt/velmora/velmora.png\n"
            "Terminal=false\n"
            "Categories=Office;Finance;\n");

  // Spaces stay inside the quotes; a quote, $, ` and \ are escaped inside them,
  // and every backslash once more for the key file; % is not a field code.
  const std::string text = DesktopLauncherText("/home/Μαρία/My \"Tax\" $Files/50%\\`x`/velmora",
                                               "/home/Μαρία/My \"Tax\" $Files/i.png");
  EXPECT_NE(text.find(R"(
Exec="/home/Μαρία/My \\"Tax\\" \\$Files/50%%\\\\\\`x\\`/velmora" %f
)"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(R"(
Path=/home/Μαρία/My "Tax" $Files/50%\\`x`
)"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find(R"(
Icon=/home/Μαρία/My "Tax" $Files/i.png
)"),
            std::string::npos)
      << text;

  // A program without an icon file gets no Icon key; one at the root keeps "/".
  const std::string plain = DesktopLauncherText("/velmora", "");
  EXPECT_EQ(plain.find("Icon="), std::string::npos);
  EXPECT_NE(plain.find("\nPath=/\n"), std::string::npos);
}

TEST(DesktopLauncherTest, WritesAnExecutableLauncherAndReplacesAnEarlierOne) {
  std::string pattern = (fs::temp_directory_path() / "velmora-launcher-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path desktop = pattern;
  const fs::path launcher = desktop / "Velmora.desktop";

  std::ofstream(launcher) << "an earlier launcher that is longer than the new one will be, "
                             "so that a file changed in place would keep its tail"
                          << std::string(400, '.');
  ASSERT_EQ(::chmod(launcher.c_str(), 0600), 0);
  EXPECT_EQ(WriteDesktopLauncher(desktop.string(), "/usr/bin/velmora", ""), std::nullopt);
  EXPECT_EQ(Read(launcher), DesktopLauncherText("/usr/bin/velmora", ""));
  struct stat info {};
  ASSERT_EQ(::stat(launcher.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0755u);

  // Twice: replaced without a question.
  EXPECT_EQ(WriteDesktopLauncher(desktop.string(), "/opt/v/velmora", "/opt/v/velmora.png"),
            std::nullopt);
  EXPECT_EQ(Read(launcher), DesktopLauncherText("/opt/v/velmora", "/opt/v/velmora.png"));

  // A desktop folder that is missing is made; one that cannot be is told.
  EXPECT_EQ(WriteDesktopLauncher((desktop / "new/Desktop").string(), "/usr/bin/velmora", ""),
            std::nullopt);
  EXPECT_TRUE(fs::is_regular_file(desktop / "new/Desktop/Velmora.desktop"));
  const auto failure =
      WriteDesktopLauncher((launcher / "Desktop").string(), "/usr/bin/velmora", "");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->message,
            "Υπήρξε κάποιο πρόβλημα κατά τη δημιουργία της συντόμευσης\n" + SystemReason(ENOTDIR));
  fs::remove_all(desktop);
}

}  // namespace
}  // namespace velmora
