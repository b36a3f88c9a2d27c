#include "DesktopLauncher.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "AtomicFile.h"
#include "SystemReason.h"

namespace velmora {

namespace {

// The escapes of a string value of a key file: these characters cannot stand
// for themselves in a value.
std::string EscapeValue(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\t':
        escaped += "\\t";
        break;
      default:
        escaped += c;
    }
  }
  if (!escaped.empty() && escaped.front() == ' ') escaped.replace(0, 1, "\\s");
  return escaped;
}

// One argument of the Exec key: always quoted, with the characters that are
// special inside the quotes escaped, and % doubled so that no field code is
// read into the path. The value's own escapes come on top.
std::string QuotedExecArgument(std::string_view argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '%') {
      quoted += "%%";
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  return EscapeValue(quoted);
}

std::string_view FolderOf(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

const char kFailureMessage[] = "Υπήρξε κάποιο πρόβλημα κατά τη δημιουργία της συντόμευσης";

}  // namespace

std::string DesktopLauncherText(std::string_view executablePath, std::string_view iconPath) {
  std::string text = "[Desktop Entry]\nType=Application\nName=Velmora\n";
  // A file dropped on the launcher is opened.
  text += "Exec=" + QuotedExecArgument(executablePath) + " %f\n";
  text += "Path=" + EscapeValue(FolderOf(executablePath)) + "\n";
  if (!iconPath.empty()) text += "Icon=" + EscapeValue(iconPath) + "\n";
  text += "Terminal=false\nCategories=Office;Finance;\n";
  return text;
}

std::optional<Failure> WriteDesktopLauncher(const std::string& desktopFolder,
                                            std::string_view executablePath,
                                            std::string_view iconPath) {
  const std::string path = desktopFolder + "/" + std::string(kDesktopLauncherFileName);
  try {
    // An account that never had a desktop folder gets one, as the desktop would make it.
    std::error_code error;
    std::filesystem::create_directories(desktopFolder, error);
    if (error)
      return SystemFailure(std::string(kFailureMessage) + "\n" + SystemReason(error.value()));
    WriteFileAtomically(path, DesktopLauncherText(executablePath, iconPath), true);
  } catch (const std::exception& error) {
    return SystemFailure(std::string(kFailureMessage) + "\n" + error.what());
  }
  // Desktops start only launchers that are executable.
  if (::chmod(path.c_str(), 0755) != 0)
    return SystemFailure(std::string(kFailureMessage) + "\n" + SystemReason(errno));
  return std::nullopt;
}

}  // namespace velmora
