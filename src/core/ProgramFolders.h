#pragma once

#include <string>

namespace velmora {

// Where the files that ship with the program are found, given the folder of the
// running executable. A build tree or a portable copy keeps them beside the
// executable; an installed program (<prefix>/bin) finds them under
// <prefix>/share.

// "<executableFolder>/Help" when that folder exists, else
// "<executableFolder>/../share/velmora/Help" (with the ".." resolved by name).
std::string HelpFolderFor(const std::string& executableFolder);

// The program's icon file: "<executableFolder>/velmora.png" when that file
// exists, else "<executableFolder>/../share/icons/hicolor/64x64/apps/velmora.png"
// when that one does; empty when neither exists.
std::string IconPathFor(const std::string& executableFolder);

// The helper that reads .xls workbooks: "<executableFolder>/velmora-xls-reader"
// when that file exists, else "<executableFolder>/../libexec/velmora/velmora-xls-reader".
std::string XlsReaderPathFor(const std::string& executableFolder);

// The folder of the running executable, from the system; empty when it cannot say.
std::string RunningExecutableFolder();

}  // namespace velmora
