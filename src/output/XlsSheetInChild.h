#pragma once

#include <string>
#include <string_view>

#include "SpreadsheetReader.h"

namespace velmora {

// The first worksheet of an .xls workbook, read by FreeXL in a child process.
// FreeXL has been seen to read past its own buffers on damaged files; in a child,
// such a file costs a refusal as damaged and nothing else. A child that does not
// answer within two minutes is stopped.
SheetReadResult ReadXlsSheetInChild(const std::string& path);

// What the child sends back: the failure, or every cell that holds a value.
std::string EncodeSheetResult(const SheetReadResult& result);
// Any bytes: what is not such a report, whole, is a damaged file. The sheet is
// held to the same limits as one read in this process.
SheetReadResult DecodeSheetResult(std::string_view report);

}  // namespace velmora
