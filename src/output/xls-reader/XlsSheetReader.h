#pragma once

#include <optional>
#include <string>

#include "SheetReadResult.h"

namespace velmora {

// Reads the first worksheet of a BIFF (.xls) workbook into sink; nullopt when every
// cell was read. Dates come as their serial numbers, as the spreadsheet holds them.
// The workbook is left to the end of the process to free: this runs in a process
// of its own that ends right after, and freeing FreeXL's cells one by one takes a
// third as long as reading them.
std::optional<SheetReadFailure> ReadXlsCellsThenLeaveToExit(const std::string& path,
                                                            SheetCellSink& sink);

}  // namespace velmora
