#pragma once

#include <string>

#include "SpreadsheetReader.h"

namespace velmora {

// The first worksheet of a BIFF (.xls) workbook. Dates come as their serial
// numbers, as the spreadsheet holds them.
SheetReadResult ReadXlsSheet(const std::string& path);

}  // namespace velmora
