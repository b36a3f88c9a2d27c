#pragma once

#include <atomic>
#include <string>

#include "SheetReadResult.h"

namespace velmora {

// The first worksheet of an .xlsx, .ods, .xls or .csv file. The kind is taken from
// the file's first bytes (a ZIP archive, an OLE2 compound file) and, for a file
// without either, from its extension: .csv and .txt are read as text separated by
// ';' or ','. A formula cell gives the result stored with it. Any broken or hostile
// file ends in a failure, never in a crash, an unbounded allocation or a hang.
// When stop is given and becomes true, an .xls helper still reading is killed and
// the result is to be thrown away.
SheetReadResult ReadFirstSheet(const std::string& path, const std::atomic<bool>* stop = nullptr);

}  // namespace velmora
