#pragma once

#include <string>

#include "SheetReadResult.h"

namespace velmora {

// The first worksheet of an .xlsx, .ods, .xls or .csv file. The kind is taken from
// the file's first bytes (a ZIP archive, an OLE2 compound file) and, for a file
// without either, from its extension: .csv and .txt are read as text separated by
// ';' or ','. A formula cell gives the result stored with it. Any broken or hostile
// file ends in a failure, never in a crash, an unbounded allocation or a hang.
SheetReadResult ReadFirstSheet(const std::string& path);

}  // namespace velmora
