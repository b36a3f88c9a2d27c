#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Failure.h"

namespace velmora {

// The launcher that puts the program on the user's desktop: a Desktop Entry
// file "Velmora.desktop".

inline constexpr std::string_view kDesktopLauncherFileName = "Velmora.desktop";

// The launcher's text: an application named Velmora that starts the executable
// (its full path, quoted for the Exec key, with a file dropped on the launcher)
// in the executable's folder, with the icon at iconPath (no Icon key when
// iconPath is empty), not in a terminal.
std::string DesktopLauncherText(std::string_view executablePath, std::string_view iconPath);

// Writes the launcher into desktopFolder, made first when missing, replacing one
// already there without asking, and makes it executable (0755). nullopt on success.
std::optional<Failure> WriteDesktopLauncher(const std::string& desktopFolder,
                                            std::string_view executablePath,
                                            std::string_view iconPath);

}  // namespace velmora
