#include "ProgramFolders.h"

#include <filesystem>
#include <system_error>

namespace velmora {

std::string HelpFolderFor(const std::string& executableFolder) {
  const std::filesystem::path folder(executableFolder);
  std::error_code error;
  const std::filesystem::path beside = folder / "Help";
  if (std::filesystem::is_directory(beside, error)) return beside.string();
  return (folder / ".." / "share" / "velmora" / "Help").lexically_normal().string();
}

std::string IconPathFor(const std::string& executableFolder) {
  const std::filesystem::path folder(executableFolder);
  std::error_code error;
  const std::filesystem::path beside = folder / "velmora.png";
  if (std::filesystem::is_regular_file(beside, error)) return beside.string();
  const std::filesystem::path installed =
      (folder / ".." / "share" / "icons" / "hicolor" / "64x64" / "apps" / "velmora.png")
          .lexically_normal();
  if (std::filesystem::is_regular_file(installed, error)) return installed.string();
  return {};
}

std::string XlsReaderPathFor(const std::string& executableFolder) {
  const std::filesystem::path folder(executableFolder);
  std::error_code error;
  const std::filesystem::path beside = folder / "velmora-xls-reader";
  if (std::filesystem::is_regular_file(beside, error)) return beside.string();
  return (folder / ".." / "libexec" / "velmora" / "velmora-xls-reader").lexically_normal().string();
}

std::string RunningExecutableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : executable.parent_path().string();
}

}  // namespace velmora
