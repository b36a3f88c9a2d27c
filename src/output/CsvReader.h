#pragma once

#include <string>

#include "SpreadsheetReader.h"

namespace velmora {

// A sheet from the bytes of a text file of fields. The separator is ';' when the
// first line that is not blank holds one outside quotes, ',' otherwise. The text is UTF-8 when it
// starts with a byte order mark or is valid UTF-8 throughout, Windows-1253
// otherwise. A field in double quotes may hold separators, line breaks and doubled
// quotes; lines end in CR LF, LF or CR. Every field is a text cell, as it stands;
// an empty field is an empty cell. The sheet keeps the bytes, so that its text
// cells need no copies of their own.
SheetReadResult ReadCsvSheet(std::string bytes);

}  // namespace velmora
